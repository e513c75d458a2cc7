// The product table as spreadsheets save it: UTF-8 or Windows-1252, comma or semicolon,
// fields in quotes where they hold separators, quotes or line breaks.
#include "app/catalogue/catalogue.h"

#include <cctype>

namespace {

constexpr const char* utf8_mark = "\xEF\xBB\xBF";
constexpr const char* identifier_columns[] = {"asin", "gtin", "isbn", "sku"};
constexpr const char* source_columns[] = {"project", "sheet", "front", "back", "left", "right", "top", "bottom"};

// The length of the UTF-8 sequence at `at`, or 0 where the bytes are none.
size_t utf8_length(const std::string& text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
    return length;
}

bool is_utf8(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        const size_t length = utf8_length(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

// Characters beyond Windows-1252's Latin-1 range become '?': the program's texts and the
// host's "A" functions know no others.
std::string windows_1252_of_utf8(const std::string& text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            out += char(lead);
            ++at;
            continue;
        }
        const size_t length = utf8_length(text, at);
        // A byte no UTF-8 sequence starts with, in a table marked as UTF-8, stays as it is.
        if (length == 0) {
            out += char(lead);
            ++at;
            continue;
        }
        const unsigned code = length == 2 ? ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[at + 1]) & 0x3Fu) : 0x100;
        out += code < 0x100 ? char(code) : '?';
        at += length;
    }
    return out;
}

// The separator the header line uses more, counted outside quotes.
char separator_of(const std::string& text) {
    size_t commas = 0, semicolons = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (!quoted && (c == '\n' || c == '\r')) break;
        if (!quoted && c == ',') ++commas;
        if (!quoted && c == ';') ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

struct record_reader {
    const std::string& text;
    char separator;
    size_t at = 0;
    int32_t line = 1;

    // The next record's fields; false at the end of the text.
    bool next(std::vector<std::string>& fields) {
        fields.clear();
        if (at >= text.size()) return false;
        std::string field;
        bool quoted = false;
        for (; at < text.size(); ++at) {
            const char c = text[at];
            if (quoted) {
                if (c == '"' && at + 1 < text.size() && text[at + 1] == '"') field += text[++at];
                else if (c == '"') quoted = false;
                else field += c;
                if (c == '\n') ++line;
            } else if (c == '"') {
                quoted = true;
            } else if (c == separator) {
                fields.push_back(field);
                field.clear();
            } else if (c == '\n' || c == '\r') {
                if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
                ++at;
                ++line;
                break;
            } else {
                field += c;
            }
        }
        fields.push_back(field);
        return true;
    }
};

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool blank(const std::vector<std::string>& fields) {
    for (const std::string& field : fields)
        if (!trimmed(field).empty()) return false;
    return true;
}

int32_t column_of(const catalogue_table& table, const char* name) {
    for (size_t i = 0; i < table.columns.size(); ++i)
        if (table.columns[i] == name) return int32_t(i);
    return -1;
}

template <size_t count>
bool has_any(const catalogue_table& table, const char* const (&names)[count]) {
    for (const char* name : names)
        if (column_of(table, name) >= 0) return true;
    return false;
}

// A table that could name no file or draw no box says which columns it lacks.
std::string missing_columns(const catalogue_table& table) {
    std::string missing;
    if (!has_any(table, identifier_columns)) missing += "sku, asin, gtin oder isbn";
    if (!has_any(table, source_columns))
        missing += std::string(missing.empty() ? "" : "; ") + "project, sheet oder front, back, left, right, top, bottom";
    return missing.empty() ? missing : "Der Tabelle fehlt eine Spalte: " + missing + ".";
}

}  // namespace

catalogue_table catalogue_table_read(const std::string& bytes) {
    const bool marked = bytes.compare(0, 3, utf8_mark) == 0;
    const std::string body = marked ? bytes.substr(3) : bytes;
    const std::string text = marked || is_utf8(body) ? windows_1252_of_utf8(body) : body;
    catalogue_table table;
    table.separator = separator_of(text);
    record_reader reader{text, table.separator};
    std::vector<std::string> fields;
    while (reader.next(fields) && blank(fields)) {
    }
    for (const std::string& name : fields) table.columns.push_back(lower(trimmed(name)));
    if (table.columns.empty() || blank(fields)) {
        table.complaint = "Die Tabelle ist leer.";
        return table;
    }
    table.complaint = missing_columns(table);
    for (int32_t line = reader.line; reader.next(fields); line = reader.line) {
        if (blank(fields)) continue;
        for (std::string& field : fields) field = trimmed(field);
        table.rows.push_back(fields);
        table.lines.push_back(line);
    }
    return table;
}

std::string catalogue_field(const catalogue_table& table, size_t row, const char* column) {
    const int32_t index = column_of(table, column);
    if (index < 0 || row >= table.rows.size() || size_t(index) >= table.rows[row].size()) return {};
    return table.rows[row][size_t(index)];
}
