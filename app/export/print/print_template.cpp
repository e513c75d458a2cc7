// Each band of the template is drawn into a DIB section of its own with the drawing state,
// everything shifted up by the band's first row, so that a template of any size needs no
// more memory than a band; the image writer encodes it behind the next.
#include "app/export/print/print_template.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/faces/cover_layout.h"
#include "runtime/image/image.h"

namespace {

constexpr object_number band_image = 320;
constexpr int32_t band_rows = 128;
constexpr int32_t true_colour = 32;
constexpr uint32_t paper = 0xFFFFFF;
constexpr uint32_t bleed_tint = 0xF0DCFF;  // 0x00BBGGRR: a light pink outside the cut
constexpr uint32_t cut_colour = 0x000000;
constexpr uint32_t fold_colour = 0x707070;
constexpr uint32_t label_colour = 0x909090;
constexpr int32_t line_pixels = 3;  // a quarter of a millimetre
constexpr int32_t dash_pixels = 24, gap_pixels = 12;
constexpr int32_t largest_text = 60, smallest_text = 8;

// The panels and a hardcover's hinges, each with its name (none for a hinge).
constexpr int32_t most_parts = face_count + net_hinge_count;

struct template_part {
    net_rect mm;
    pixel_rect pixels;
    const char* name;
};

struct template_layout {
    print_net net;
    template_part parts[most_parts];
    int32_t part_count;
    int32_t width, height;
    std::string margin_label;  // a cover's: what its margin is, written into it
};

void add_part(template_layout& layout, const net_rect& mm, const char* name) {
    layout.parts[layout.part_count++] = {mm, net_pixels(mm), name};
}

template_layout layout_of(box_shape shape, const box_size& box, const char* const (&names)[face_count]) {
    template_layout layout{print_net_of(shape, box), {}, 0, 0, 0, {}};
    for (int32_t face = 0; face < face_count; ++face)
        if (net_has_panel(layout.net, face))
            add_part(layout, layout.net.panels[face],
                     shape == box_shape::box ? names[face] : cover_panel_name(shape, face));
    for (const net_rect& hinge : layout.net.hinges)
        if (hinge.width > 0) add_part(layout, hinge, nullptr);
    layout.width = net_pixels(layout.net.width_mm);
    layout.height = net_pixels(layout.net.height_mm);
    if (shape != box_shape::box) layout.margin_label = cover_margin_text(shape);
    return layout;
}

void draw_outline(const pixel_rect& r, int32_t shift) {
    draw_box(r.x, r.y - shift, r.width, line_pixels, cut_colour);
    draw_box(r.x, r.y + r.height - line_pixels - shift, r.width, line_pixels, cut_colour);
    draw_box(r.x, r.y - shift, line_pixels, r.height, cut_colour);
    draw_box(r.x + r.width - line_pixels, r.y - shift, line_pixels, r.height, cut_colour);
}

// The shared edge of two panels that meet: the solid outlines there give way to dashes.
void draw_fold(const pixel_rect& a, const pixel_rect& b, int32_t shift) {
    const bool vertical = a.x + a.width == b.x || b.x + b.width == a.x;
    const int32_t along_from = vertical ? std::max(a.y, b.y) : std::max(a.x, b.x);
    const int32_t along_to = vertical ? std::min(a.y + a.height, b.y + b.height) : std::min(a.x + a.width, b.x + b.width);
    const int32_t across = vertical ? std::max(a.x, b.x) - line_pixels : std::max(a.y, b.y) - line_pixels;
    const auto line = [&](int32_t from, int32_t length, uint32_t colour) {
        if (vertical) draw_box(across, from - shift, 2 * line_pixels, length, colour);
        else draw_box(from, across - shift, length, 2 * line_pixels, colour);
    };
    line(along_from + line_pixels, along_to - along_from - 2 * line_pixels, paper);
    for (int32_t at = along_from; at < along_to; at += dash_pixels + gap_pixels)
        line(at, std::min(dash_pixels, along_to - at), fold_colour);
}

void draw_label(const pixel_rect& r, const net_rect& mm, const char* name, int32_t shift) {
    const std::string size = net_size_text(mm.width, mm.height);
    const size_t longest = std::max(std::string(name).size(), size.size());
    const int32_t by_width = int32_t(r.width / (0.6 * double(longest) + 1));
    const int32_t text = std::clamp(std::min(r.height / 5, by_width), smallest_text, largest_text);
    const int32_t middle = r.y + r.height / 2 - shift;
    draw_text(r.x, middle - 2 * text, r.width, 2 * text, name, text, label_colour);
    draw_text(r.x, middle, r.width, 2 * text, size.c_str(), text, label_colour);
}

// In the margin above the panels, as large as the margin takes.
void draw_margin_label(const template_layout& layout, int32_t shift) {
    if (layout.margin_label.empty()) return;
    const int32_t margin = net_pixels(layout.net.bleed_mm);
    const int32_t text = std::clamp(margin * 2 / 3, smallest_text, largest_text);
    draw_text(0, (margin - text) / 2 - shift, layout.width, text, layout.margin_label.c_str(), text, label_colour);
}

void draw_band(const template_layout& layout, int32_t first, int32_t rows) {
    draw_begin(image_output(band_image));
    draw_box(0, 0, layout.width, rows, bleed_tint);
    const template_part* const parts = layout.parts;
    const int32_t count = layout.part_count;
    for (int32_t i = 0; i < count; ++i)
        draw_box(parts[i].pixels.x, parts[i].pixels.y - first, parts[i].pixels.width, parts[i].pixels.height, paper);
    for (int32_t i = 0; i < count; ++i) draw_outline(parts[i].pixels, first);
    for (int32_t a = 0; a < count; ++a)
        for (int32_t b = a + 1; b < count; ++b)
            if (net_panels_meet(parts[a].mm, parts[b].mm)) draw_fold(parts[a].pixels, parts[b].pixels, first);
    for (int32_t i = 0; i < count; ++i)
        if (parts[i].name) draw_label(parts[i].pixels, parts[i].mm, parts[i].name, first);
    draw_margin_label(layout, first);
    draw_end();
}

// The drawing state leaves the alpha bytes as they were; the template is opaque.
void make_opaque(uint8_t* top, int32_t pitch, int32_t width, int32_t rows) {
    for (int32_t y = 0; y < rows; ++y) {
        uint8_t* pixel = top + ptrdiff_t(y) * pitch;
        for (int32_t x = 0; x < width; ++x) pixel[4 * x + 3] = 0xFF;
    }
}

export_failure write_bands(const template_layout& layout, image_writer* writer, export_progress progress,
                           void* context) {
    int32_t pitch = 0;
    uint8_t* top = image_top_row(band_image, &pitch);
    if (!top) return export_failure::no_memory;
    for (int32_t first = 0; first < layout.height; first += band_rows) {
        const int32_t rows = std::min(band_rows, layout.height - first);
        draw_band(layout, first, rows);
        make_opaque(top, pitch, layout.width, rows);
        if (!image_writer_rows(writer, top, pitch, rows)) return export_failure::not_written;
        if (progress) progress((first + rows) * 100 / layout.height, context);
    }
    return export_failure::none;
}

}  // namespace

std::string mm_text(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", mm);
    std::string shown = text;
    if (shown.size() > 2 && shown.compare(shown.size() - 2, 2, ".0") == 0) shown.resize(shown.size() - 2);
    std::replace(shown.begin(), shown.end(), '.', ',');
    return shown;
}

std::string net_size_text(double width_mm, double height_mm) {
    return mm_text(width_mm) + " x " + mm_text(height_mm) + " mm";
}

export_failure print_template_write(const char* path, box_shape shape, const box_size& box,
                                    const char* const (&names)[face_count], export_progress progress, void* context) {
    const template_layout layout = layout_of(shape, box, names);
    if (!image_create(band_image, layout.width, band_rows, true_colour)) return export_failure::no_memory;
    image_writer* writer = image_writer_open(path, plugin_png, layout.width, layout.height, net_pixels_per_inch);
    export_failure failure = writer ? write_bands(layout, writer, progress, context) : export_failure::not_written;
    if (writer && image_writer_close(writer, failure == export_failure::none) != 1 && failure == export_failure::none)
        failure = export_failure::not_written;
    image_free(band_image);
    return failure;
}
