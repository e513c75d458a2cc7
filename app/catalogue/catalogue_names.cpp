// How each profile names and shapes a product's files. amazon: ID.MAIN.jpg and ID.PT01.jpg on,
// the spin's frames in ID.zip. gs1: GTIN-14, an underscore, image type, facing, angle and the
// product's state. plain: the program's own names in a folder per identifier.
#include "app/catalogue/catalogue.h"

#include <cstdio>

namespace {

constexpr int32_t view_count = 7;

// In the order of set_views: as composed, front, back, left, right, top, front from the right.
constexpr const char* plain_view_suffixes[view_count] = {"-ansicht", "-vorne", "-hinten", "-links",
                                                         "-rechts", "-oben", "-rechts-vorne"};
// Image type (A primary, B alternate), facing (1 front, 7 back, 2 left, 8 right, 3 top), angle
// (C centre, R right) and state 1 (in its packaging). The composed view is the primary type's
// second picture beside the main one: the front seen from the right, as the program starts.
constexpr const char* gs1_view_codes[view_count] = {"A1R1", "B1C1", "B7C1", "B2C1", "B8C1", "B3C1", "B1R1"};

std::string two_digits(int32_t number) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", int(number));
    return text;
}

catalogue_names amazon_names(const std::string& id) {
    catalogue_names names{id + ".MAIN.jpg", {}, id + ".zip", id + ".glb", id + ".template.png", {}};
    for (int32_t view = 0; view < view_count; ++view) names.views.push_back(id + ".PT" + two_digits(view + 1) + ".jpg");
    return names;
}

// The spin's frames are image type E; the print template is supporting material (D), flat (N),
// of no one facing (0).
catalogue_names gs1_names(const std::string& gtin) {
    catalogue_names names{gtin + "_A1C1.jpg", {}, gtin + "_E1C1.zip", gtin + ".glb", gtin + "_D0N1.png", {}};
    for (const char* code : gs1_view_codes) names.views.push_back(gtin + "_" + code + ".jpg");
    return names;
}

catalogue_names plain_names(const std::string& id) {
    const std::string base = id + "\\" + id;
    catalogue_names names{base + ".png", {}, base + ".zip", base + ".glb", base + "-druckvorlage.png", id};
    for (const char* suffix : plain_view_suffixes) names.views.push_back(base + suffix + ".png");
    return names;
}

}  // namespace

catalogue_names catalogue_file_names(catalogue_profile profile, const std::string& identifier) {
    if (profile == catalogue_profile::amazon) return amazon_names(identifier);
    if (profile == catalogue_profile::gs1) return gs1_names(identifier);
    return plain_names(identifier);
}

catalogue_shape catalogue_profile_shape(catalogue_profile profile) {
    if (profile == catalogue_profile::plain) return {false, false};
    return {true, true};
}

unsigned catalogue_outputs(const std::string& field, std::string& complaint) {
    static const struct {
        const char* word;
        catalogue_output output;
    } words[] = {{"main", output_main}, {"set", output_set}, {"spin", output_spin}, {"glb", output_glb}, {"template", output_template}};
    unsigned outputs = 0;
    std::string word;
    for (size_t at = 0; at <= field.size(); ++at) {
        const char c = at < field.size() ? field[at] : ' ';
        if (c != ' ' && c != ',' && c != ';' && c != '+' && c != '|') {
            word += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            continue;
        }
        if (word.empty()) continue;
        unsigned found = 0;
        for (const auto& known : words)
            if (word == known.word) found = known.output;
        if (!found) {
            complaint = "Unbekannte Ausgabe in outputs: " + word + " (main, set, spin, glb, template).";
            return 0;
        }
        outputs |= found;
        word.clear();
    }
    return outputs ? outputs : catalogue_default_outputs;
}
