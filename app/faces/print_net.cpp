// The net's rectangles in millimetres, and a sheet's panels in fractions of the picture.
#include "app/faces/print_net.h"

#include <algorithm>
#include <cmath>

#include "app/faces/cover_layout.h"

namespace {

constexpr double mm_per_inch = 25.4;
constexpr double proportion_tolerance = 0.01;
constexpr double touch_mm = 1e-6;
constexpr double touch_fraction = 1e-6;

// Face indices as in face_rectangles.
enum face_index : int32_t { top, right, front, back, bottom, left };

// A cover's width, read from the sheet at the cover's height, may miss the cover's by no
// more than printers let the spine's folds wander, 1/16 in: within 1 % of its proportions
// alone, a wide cover made for another page count passes as this one's without bleed.
constexpr double spine_variance_mm = mm_per_inch / 16;

bool fits(double proportion, double wanted) { return std::fabs(proportion / wanted - 1) <= proportion_tolerance; }

bool sheet_fits(const print_net& net, double proportion, bool with_bleed) {
    if (!fits(proportion, net_proportion(net, with_bleed))) return false;
    if (net_has_panel(net, top)) return true;
    const double inset = with_bleed ? 0 : 2 * net.bleed_mm;
    return std::fabs(proportion * (net.height_mm - inset) - (net.width_mm - inset)) <= spine_variance_mm;
}

picture_part part_of(const net_rect& panel, double inset, double width, double height) {
    return {(panel.x - inset) / width, (panel.y - inset) / height, (panel.x + panel.width - inset) / width,
            (panel.y + panel.height - inset) / height};
}

bool spans_overlap(double a, double a_length, double b, double b_length) {
    return a < b + b_length - touch_mm && b < a + a_length - touch_mm;
}

}  // namespace

print_net print_net_of(const box_size& box) {
    const double w = box.width_mm, h = box.height_mm, d = box.depth_mm, b = net_bleed_mm;
    print_net net{};
    net.bleed_mm = b;
    net.width_mm = 2 * (w + d + b);
    net.height_mm = h + 2 * (d + b);
    const double row = b + d;
    net.panels[left] = {b, row, d, h};
    net.panels[front] = {b + d, row, w, h};
    net.panels[right] = {b + d + w, row, d, h};
    net.panels[back] = {b + 2 * d + w, row, w, h};
    net.panels[top] = {b + d, b, w, d};
    net.panels[bottom] = {b + d, row + h, w, d};
    return net;
}

print_net print_net_of(box_shape shape, const box_size& box) {
    return shape == box_shape::box ? print_net_of(box) : cover_net_of(shape, box);
}

bool net_has_panel(const print_net& net, int32_t face) {
    return net.panels[face].width > 0 && net.panels[face].height > 0;
}

int32_t net_pixels(double mm) { return int32_t(std::lround(mm * net_pixels_per_inch / mm_per_inch)); }

pixel_rect net_pixels(const net_rect& mm) {
    const int32_t x = net_pixels(mm.x), y = net_pixels(mm.y);
    return {x, y, net_pixels(mm.x + mm.width) - x, net_pixels(mm.y + mm.height) - y};
}

bool net_panels_meet(const net_rect& a, const net_rect& b) {
    const auto same = [](double p, double q) { return std::fabs(p - q) < touch_mm; };
    const bool side_by_side = (same(a.x + a.width, b.x) || same(b.x + b.width, a.x)) &&
                              spans_overlap(a.y, a.height, b.y, b.height);
    const bool one_above = (same(a.y + a.height, b.y) || same(b.y + b.height, a.y)) &&
                           spans_overlap(a.x, a.width, b.x, b.width);
    return side_by_side || one_above;
}

double net_proportion(const print_net& net, bool with_bleed) {
    const double inset = with_bleed ? 0 : 2 * net.bleed_mm;
    return (net.width_mm - inset) / (net.height_mm - inset);
}

sheet_cut print_sheet_cut(const print_net& net, int32_t sheet_width, int32_t sheet_height) {
    sheet_cut cut{};
    if (sheet_width <= 0 || sheet_height <= 0) return cut;
    const double proportion = double(sheet_width) / sheet_height;
    const double with = net_proportion(net, true), without = net_proportion(net, false);
    // On a large box the two lie within the tolerance of each other: the nearer one counts.
    cut.with_bleed = std::fabs(proportion / with - 1) <= std::fabs(proportion / without - 1);
    cut.fits = sheet_fits(net, proportion, cut.with_bleed);
    if (!cut.fits) return cut;
    const double inset = cut.with_bleed ? 0 : net.bleed_mm;
    for (int32_t face = 0; face < face_count; ++face)
        cut.panels[face] = net_has_panel(net, face)
                               ? part_of(net.panels[face], inset, net.width_mm - 2 * inset, net.height_mm - 2 * inset)
                               : whole_picture;
    return cut;
}

bool sheet_still_fits(const print_net& net, int32_t sheet_width, int32_t sheet_height,
                      const picture_part (&panels)[face_count]) {
    if (sheet_width <= 0 || sheet_height <= 0) return false;
    int32_t on_edge = 0, inside = 0;
    for (int32_t face = 0; face < face_count; ++face) {
        const picture_part& p = panels[face];
        if (face == front || is_whole_picture(p)) continue;
        const bool touches = p.left < touch_fraction || p.top < touch_fraction || p.right > 1 - touch_fraction ||
                             p.bottom > 1 - touch_fraction;
        ++(touches ? on_edge : inside);
    }
    const double proportion = double(sheet_width) / sheet_height;
    const bool with = sheet_fits(net, proportion, true), without = sheet_fits(net, proportion, false);
    return on_edge > 0 ? without : inside > 0 ? with : with || without;
}

void cover_panel(int32_t face, const picture_part& panel, int32_t scale, int32_t& width, int32_t& height) {
    const face_rectangle& r = face_rectangles[face];
    width = std::max(width, int32_t(std::ceil(r.width * scale / (panel.right - panel.left))));
    height = std::max(height, int32_t(std::ceil(r.height * scale / (panel.bottom - panel.top))));
}

void sheet_decoding_size(const char* path, int32_t& width, int32_t& height) {
    int32_t sheet_width = 0, sheet_height = 0;
    if (!image_picture_size(path, &sheet_width, &sheet_height)) return;
    if (2 * width <= sheet_width && 2 * height <= sheet_height) return;
    width = sheet_width;
    height = sheet_height;
}
