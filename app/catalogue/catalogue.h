// A catalogue: a table of products as a spreadsheet saves it, each product's files named and
// shaped by a shop's rules, and a report of how each row went. Everything here but the runner
// (catalogue_run.h) is host-neutral, so it builds natively for sanitizers and fuzzers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- the table -------------------------------------------------------------------------------

struct catalogue_table {
    char separator = ',';
    std::vector<std::string> columns;            // the header's names, trimmed, lower case
    std::vector<std::vector<std::string>> rows;  // the fields, Windows-1252 like every text here
    std::vector<int32_t> lines;                  // each row's first line in the file, for messages
    std::string complaint;                       // why the table cannot be taken; empty when it can
};

// The file's bytes: UTF-8 with or without its mark, else Windows-1252; comma or semicolon,
// whichever the header uses more; quoted fields may hold separators, quotes and line breaks.
// Empty lines are left out. A table without an identifier or without a source for the box's
// look is refused with the columns it misses.
catalogue_table catalogue_table_read(const std::string& bytes);
// The field of `column` in row `row`; empty where the column or the field is missing.
std::string catalogue_field(const catalogue_table& table, size_t row, const char* column);

// ---- identifiers and profiles ----------------------------------------------------------------

enum class catalogue_profile { amazon, gs1, plain };
// False for a name no profile has.
bool catalogue_profile_named(const std::string& name, catalogue_profile& profile);

struct catalogue_identifier {
    std::string text;       // as the files are named: a GTIN padded to 14 digits, an ASIN upper case
    std::string complaint;  // why the row cannot be named; empty when it can
};

// GTIN-8, -12, -13 or -14 padded to 14 digits, its check digit verified.
catalogue_identifier catalogue_gtin14(const std::string& digits);
// The row's identifier for the profile: gs1 takes a gtin or an isbn (as the GTIN-13 it is), the
// others the first of asin, gtin, isbn and sku the row fills.
catalogue_identifier catalogue_identify(const catalogue_table& table, size_t row, catalogue_profile profile);

// What a row asks for; all stills (the main picture and the seven views) where it says nothing.
enum catalogue_output : unsigned {
    output_main = 1,
    output_set = 2,
    output_spin = 4,
    output_glb = 8,
    output_template = 16,
};
constexpr unsigned catalogue_default_outputs = output_main | output_set;
// 0 with `complaint` set for a word the column does not know.
unsigned catalogue_outputs(const std::string& field, std::string& complaint);

// How a profile shapes the pictures: the file type, and whether the box fills them.
struct catalogue_shape {
    bool jpeg;  // white jpg; otherwise transparent png
    bool fill;
};
catalogue_shape catalogue_profile_shape(catalogue_profile profile);

// The file names of one product, relative to the output folder.
struct catalogue_names {
    std::string main;
    std::vector<std::string> views;  // the seven views in the order of set_views
    std::string spin_zip;
    std::string model;
    std::string print_template;
    std::string folder;  // where they lie; empty: the output folder itself
};
catalogue_names catalogue_file_names(catalogue_profile profile, const std::string& identifier);

// ---- the report ------------------------------------------------------------------------------

enum class catalogue_status { written, failed, skipped };

// What was measured of the main picture; longer_side 0 where there is none.
struct catalogue_measure {
    int32_t longer_side = 0;
    int32_t share_percent = 0;  // the product's longer side over the picture's
    uint32_t background = 0;    // 0xAARRGGBB of its top left corner; alpha 0: transparent
};

// B, G, R rows of 3 or 4 bytes a pixel; `pitch` from a row to the one below it.
catalogue_measure catalogue_measure_picture(const uint8_t* top_row, int32_t pitch, int32_t bytes_per_pixel,
                                            int32_t width, int32_t height);

struct catalogue_line {
    int32_t row = 0;  // counted from 1, the header not counted
    std::string identifier;
    catalogue_status status = catalogue_status::written;
    std::string reason;
    std::vector<std::string> files;
    catalogue_measure measure;
};

std::string catalogue_report_header(char separator);
std::string catalogue_report_line(const catalogue_line& line, char separator);
// A row that ends on a field or an input never has a field's separator or quote unquoted.
std::string catalogue_quoted(const std::string& field, char separator);
