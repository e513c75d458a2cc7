// catalogue-report.csv: one line a product, in the table's own separator so that the
// spreadsheet that saved the table opens the report as it is.
#include "app/catalogue/catalogue.h"

#include <cstdio>
#include <cstdlib>

namespace {

// A pixel counts as the product's where a channel differs this much from the background:
// jpg noise around a white background stays below it.
constexpr int background_tolerance = 24;

const char* status_word(catalogue_status status) {
    if (status == catalogue_status::written) return "ok";
    if (status == catalogue_status::skipped) return "skipped";
    return "failed";
}

struct pixel_rows {
    const uint8_t* top_row;
    int32_t pitch, bytes_per_pixel;
};

uint32_t pixel_at(const pixel_rows& rows, int32_t x, int32_t y) {
    const uint8_t* p = rows.top_row + int64_t(y) * rows.pitch + int64_t(x) * rows.bytes_per_pixel;
    const uint32_t alpha = rows.bytes_per_pixel == 4 ? p[3] : 0xFF;
    return alpha << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// With 4 bytes a pixel the alpha counts too: a transparent background is told by it.
bool differs(uint32_t a, uint32_t b) {
    for (int shift = 0; shift <= 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > background_tolerance) return true;
    return false;
}

}  // namespace

catalogue_measure catalogue_measure_picture(const uint8_t* top_row, int32_t pitch, int32_t bytes_per_pixel,
                                            int32_t width, int32_t height) {
    catalogue_measure measure;
    if (!top_row || width <= 0 || height <= 0 || bytes_per_pixel < 3) return measure;
    const pixel_rows rows = {top_row, pitch, bytes_per_pixel};
    measure.longer_side = width > height ? width : height;
    measure.background = pixel_at(rows, 0, 0);
    int32_t left = width, right = -1, top = height, bottom = -1;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            if (!differs(pixel_at(rows, x, y), measure.background)) continue;
            left = x < left ? x : left;
            right = x > right ? x : right;
            top = y < top ? y : top;
            bottom = y > bottom ? y : bottom;
        }
    if (right < 0) return measure;
    const int32_t product = right - left > bottom - top ? right - left + 1 : bottom - top + 1;
    measure.share_percent = int32_t((int64_t(product) * 100 + measure.longer_side / 2) / measure.longer_side);
    return measure;
}

std::string catalogue_quoted(const std::string& field, char separator) {
    if (field.find_first_of(std::string("\"\r\n") + separator) == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string catalogue_report_header(char separator) {
    const std::string s(1, separator);
    return "row" + s + "id" + s + "status" + s + "reason" + s + "files" + s + "longer_side_px" + s +
           "product_share_percent" + s + "background\r\n";
}

std::string catalogue_report_line(const catalogue_line& line, char separator) {
    const std::string s(1, separator);
    std::string files;
    for (const std::string& file : line.files) files += (files.empty() ? "" : " | ") + file;
    std::string measured = s + s;
    if (line.measure.longer_side > 0) {
        char background[16] = "transparent";
        if (line.measure.background >> 24 != 0)
            std::snprintf(background, sizeof background, "#%06X", unsigned(line.measure.background & 0xFFFFFF));
        measured = std::to_string(line.measure.longer_side) + s + std::to_string(line.measure.share_percent) + s + background;
    }
    return std::to_string(line.row) + s + catalogue_quoted(line.identifier, separator) + s + status_word(line.status) + s +
           catalogue_quoted(line.reason, separator) + s + catalogue_quoted(files, separator) + s + measured + "\r\n";
}
