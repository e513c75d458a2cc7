// Covers are laid out from the shape's extent (a hardcover's boards stand over the trim); the
// misfit text measures a sheet against the cover's height, where trim and bleed are certain.
#include "app/faces/cover_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/export/print/print_template.h"

namespace {

// Face indices as in face_rectangles.
enum face_index : int32_t { top, right, front, back, bottom, left };

struct cover_parts {
    double panel_width, panel_height, spine, hinge, margin;
};

// A case too small for the usual rim (no standard case is) keeps at least half its side.
double inside_rim(double side, double rim) { return std::max(side - rim, side / 2); }

cover_parts parts_of(box_shape shape, const box_size& box) {
    if (shape == box_shape::hardcover) {
        const box_size boards = shape_extent(shape, box);
        return {boards.width_mm, boards.height_mm, box.depth_mm, hardcover_hinge_mm, hardcover_wrap_mm};
    }
    if (shape_is_case(shape)) {
        const case_insert_rim& rim = shape == box_shape::bluray ? bluray_insert_rim : dvd_insert_rim;
        return {inside_rim(box.width_mm, rim.narrower_mm), inside_rim(box.height_mm, rim.lower_mm), box.depth_mm, 0,
                cover_bleed_mm};
    }
    return {box.width_mm, box.height_mm, box.depth_mm, 0, cover_bleed_mm};
}

// The cover's width, margins included, for a spine of `spine` millimetres.
double width_with_spine(const cover_parts& p, double spine) { return 2 * (p.margin + p.panel_width + p.hinge) + spine; }

std::string figures_text(const cover_parts& p, double spine, bool with_margin) {
    const double margins = with_margin ? 0 : 2 * p.margin;
    return net_size_text(width_with_spine(p, spine) - margins, p.panel_height + 2 * p.margin - margins);
}

std::string shape_article(box_shape shape) {
    return shape == box_shape::hardcover ? "zum gebundenen Buch"
           : shape_is_book(shape)        ? "zum Taschenbuch"
                                         : "zur H\xFClle";
}

}  // namespace

print_net cover_net_of(box_shape shape, const box_size& box) {
    const cover_parts p = parts_of(shape, box);
    print_net net{};
    net.bleed_mm = p.margin;
    net.width_mm = width_with_spine(p, p.spine);
    net.height_mm = p.panel_height + 2 * p.margin;
    const double y = p.margin, spine_x = p.margin + p.panel_width + p.hinge;
    net.panels[back] = {p.margin, y, p.panel_width, p.panel_height};
    net.panels[left] = {spine_x, y, p.spine, p.panel_height};
    net.panels[front] = {spine_x + p.spine + p.hinge, y, p.panel_width, p.panel_height};
    if (p.hinge > 0) {
        net.hinges[0] = {spine_x - p.hinge, y, p.hinge, p.panel_height};
        net.hinges[1] = {spine_x + p.spine, y, p.hinge, p.panel_height};
    }
    return net;
}

const char* cover_panel_name(box_shape shape, int32_t face) {
    if (face == front) return "Vorderseite";
    if (face == back)
        return "R\xFC"
               "ckseite";
    if (face == left)
        return shape_is_book(shape) ? "Buchr\xFC"
                                      "cken"
                                    : "R\xFC"
                                      "cken";
    return nullptr;
}

std::string cover_margin_text(box_shape shape) {
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.3f", parts_of(shape, {}).margin);
    std::string shown = figure;
    shown.erase(shown.find_last_not_of("0.") + 1);
    std::replace(shown.begin(), shown.end(), '.', ',');
    return std::string(shape == box_shape::hardcover ? "Einschlag " : "Anschnitt ") + shown + " mm";
}

sheet_as_cover cover_of_sheet(box_shape shape, const book_setup& book, const box_size& box, int32_t sheet_width,
                              int32_t sheet_height) {
    if (sheet_width <= 0 || sheet_height <= 0) return {0, 0};
    const cover_parts p = parts_of(shape, box);
    const double proportion = double(sheet_width) / sheet_height;
    double spine = proportion * (p.panel_height + 2 * p.margin) - width_with_spine(p, 0);
    if (spine <= 0) spine = proportion * p.panel_height - width_with_spine(p, 0) + 2 * p.margin;
    if (spine <= 0) return {0, 0};
    const double boards = shape == box_shape::hardcover ? 2 * hardcover_board_mm : 0;
    const bool counts_pages = shape_is_book(shape) && book.pages > 0 && spine > boards;
    return {spine, counts_pages ? int32_t(std::lround((spine - boards) / page_thickness_mm(book.paper))) : 0};
}

std::string cover_misfit_text(box_shape shape, const book_setup& book, const box_size& box, int32_t sheet_width,
                              int32_t sheet_height) {
    const cover_parts p = parts_of(shape, box);
    const std::string margin = cover_margin_text(shape);
    std::string text = "Der Druckbogen passt nicht " + shape_article(shape) + " (" +
                       net_size_text(box.width_mm, box.height_mm) +
                       ", R\xFC"
                       "cken " +
                       mm_text(p.spine) + " mm). Passend w\xE4re ein Umschlag von " + figures_text(p, p.spine, true) +
                       " mit " + margin + " oder " + figures_text(p, p.spine, false) +
                       " ohne, mit einem R\xFC"
                       "cken von " +
                       mm_text(p.spine) + " mm (auf 1 % und 1,6 mm genau).";
    const sheet_as_cover sheet = cover_of_sheet(shape, book, box, sheet_width, sheet_height);
    if (sheet.spine_mm <= 0)
        return text +
               "\n\nDer Bogen ist schmaler als Vorder- und R\xFC"
               "ckseite zusammen.";
    text +=
        "\n\nAuf diese H\xF6he gebracht, h\xE4tte der Bogen einen R\xFC"
        "cken von " +
        mm_text(sheet.spine_mm) + " mm";
    if (sheet.pages <= 0) return text + ".";
    return text + "; das w\xE4ren etwa " + std::to_string(sheet.pages) + " Seiten (Papier " +
           paper_caption(book.paper) + ") statt " + std::to_string(book.pages) +
           ". Meist ist die Seitenzahl nicht die des Buchs.";
}
