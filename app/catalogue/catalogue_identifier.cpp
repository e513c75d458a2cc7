// A product's identifier as a profile names its files with it: GTINs padded to 14 digits
// with their check digit verified, ISBNs as the GTIN-13 they are, ASINs of ten characters.
#include "app/catalogue/catalogue.h"

#include <cctype>

namespace {

constexpr size_t gtin14_length = 14;
constexpr size_t asin_length = 10;
constexpr const char* unsafe_in_names = "\\/:*?\"<>|";

bool all_digits(const std::string& text) {
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return !text.empty();
}

// The GS1 check digit over all but the last digit: weights 3 and 1 from the right.
char gs1_check_digit(const std::string& digits) {
    int sum = 0;
    for (size_t i = 0; i < digits.size(); ++i) sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
    return char('0' + (10 - sum % 10) % 10);
}

catalogue_identifier refused(const std::string& complaint) { return {{}, complaint}; }

// Spaces and hyphens as ISBNs and printed GTINs are often written.
std::string without_spacing(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '-' && c != ' ') out += c;
    return out;
}

catalogue_identifier isbn_as_gtin(const std::string& typed) {
    const std::string isbn = without_spacing(typed);
    if (isbn.size() == 13 && (isbn.compare(0, 3, "978") == 0 || isbn.compare(0, 3, "979") == 0))
        return catalogue_gtin14(isbn);
    return refused("Die ISBN " + typed + " ist keine ISBN-13 (978 oder 979 und 13 Ziffern).");
}

catalogue_identifier asin(const std::string& typed) {
    std::string text;
    for (char c : typed) text += char(std::toupper(static_cast<unsigned char>(c)));
    bool alphanumeric = text.size() == asin_length;
    for (char c : text) alphanumeric = alphanumeric && std::isalnum(static_cast<unsigned char>(c));
    if (alphanumeric) return {text, {}};
    return refused("Die ASIN " + typed + " hat nicht genau 10 Buchstaben und Ziffern.");
}

catalogue_identifier sku(const std::string& typed) {
    if (typed.find_first_of(unsafe_in_names) == std::string::npos && typed != "." && typed != "..") return {typed, {}};
    return refused("Die SKU " + typed + " enth\xE4lt Zeichen, die kein Dateiname haben darf.");
}

catalogue_identifier identify(const std::string& column, const std::string& value) {
    if (column == "asin") return asin(value);
    if (column == "gtin") return catalogue_gtin14(without_spacing(value));
    if (column == "isbn") return isbn_as_gtin(value);
    return sku(value);
}

}  // namespace

catalogue_identifier catalogue_gtin14(const std::string& digits) {
    const size_t length = digits.size();
    if (!all_digits(digits) || (length != 8 && length != 12 && length != 13 && length != 14))
        return refused("Die GTIN " + digits + " hat nicht 8, 12, 13 oder 14 Ziffern.");
    const std::string padded = std::string(gtin14_length - length, '0') + digits;
    const char expected = gs1_check_digit(padded.substr(0, gtin14_length - 1));
    if (padded.back() != expected)
        return refused("Die Pr\xFC" "fziffer der GTIN " + digits + " stimmt nicht: erwartet " + expected + ".");
    return {padded, {}};
}

catalogue_identifier catalogue_identify(const catalogue_table& table, size_t row, catalogue_profile profile) {
    static const char* const any_column[] = {"asin", "gtin", "isbn", "sku", nullptr};
    static const char* const gtin_column[] = {"gtin", "isbn", nullptr};
    for (const char* const* column = profile == catalogue_profile::gs1 ? gtin_column : any_column; *column; ++column) {
        const std::string value = catalogue_field(table, row, *column);
        if (!value.empty()) return identify(*column, value);
    }
    return refused(profile == catalogue_profile::gs1 ? "Das Profil gs1 braucht eine GTIN oder ISBN."
                                                     : "Die Zeile hat keine Kennung (sku, asin, gtin oder isbn).");
}

bool catalogue_profile_named(const std::string& name, catalogue_profile& profile) {
    std::string lowered;
    for (char c : name) lowered += char(std::tolower(static_cast<unsigned char>(c)));
    if (lowered == "amazon") profile = catalogue_profile::amazon;
    else if (lowered == "gs1") profile = catalogue_profile::gs1;
    else if (lowered == "plain") profile = catalogue_profile::plain;
    else return false;
    return true;
}
