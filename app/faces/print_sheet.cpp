// The sheet is measured from its header against the net at the box's real size, then its
// panels go through compose_faces together, which decodes the sheet once.
#include "app/faces/print_sheet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/app_state.h"
#include "app/export/print/print_template.h"
#include "app/faces/cover_layout.h"
#include "app/faces/face_atlas.h"
#include "app/faces/face_choice.h"
#include "app/messages/failure_notice.h"
#include "app/messages/user_message.h"
#include "app/scene/scene.h"
#include "app/window/main_window.h"
#include "runtime/core/core.h"
#include "runtime/gui/gui.h"

namespace {

// BMP is left out: its loader reads a picture whole, which a sheet at 300 ppi soon outgrows.
constexpr const char* sheet_pattern = "JPG|*.jpg;*.jpeg|PNG|*.png|TGA|*.tga|TIF|*.tif;*.tiff";

bool is_bmp_file(const std::string& path) {
    const size_t dot = path.find_last_of(".\\");
    if (dot == std::string::npos || path[dot] != '.') return false;
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); });
    return extension == ".bmp";
}

// The sheet measured last: the size its panels were cut at, which a dragged size asks for on
// every move.
struct measured_sheet {
    std::string path;
    int32_t width = 0, height = 0;
};
measured_sheet last_measured;

bool measure_sheet(const std::string& path, int32_t& width, int32_t& height) {
    if (!image_picture_size(path.c_str(), &width, &height)) return false;
    last_measured = {path, width, height};
    return true;
}

bool measured_size(const std::string& path, int32_t& width, int32_t& height) {
    if (path != last_measured.path) return measure_sheet(path, width, height);
    width = last_measured.width;
    height = last_measured.height;
    return true;
}

void tell_bmp_sheet(const std::string& path) {
    message_tell("Druckb\xF6gen werden als JPEG, PNG, TGA oder TIFF gelesen, nicht als BMP:\n" + path +
                 "\n\nBitte den Bogen in einem dieser Formate speichern. Es wurde nichts ge\xE4ndert.");
}

std::string proportion_text(double proportion) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f : 1", proportion);
    std::string shown = text;
    shown[shown.find('.')] = ',';
    return shown;
}

std::string pixels_text(int32_t width, int32_t height) {
    return std::to_string(width) + " x " + std::to_string(height) + " Pixel";
}

print_net net_of_window() { return print_net_of(app.shape, app.box); }

void tell_cover_not_fitting(const std::string& path, int32_t width, int32_t height) {
    const print_net net = net_of_window();
    message_tell(cover_misfit_text(app.shape, app.book, app.box, width, height) + "\n\n" + path +
                 "\n\nSein Seitenverh\xE4ltnis ist " + proportion_text(double(width) / height) + " (" +
                 pixels_text(width, height) + "); die Druckvorlage hat " +
                 pixels_text(net_pixels(net.width_mm), net_pixels(net.height_mm)) +
                 " bei 300 ppi.\n\nEs wurde nichts ge\xE4ndert.");
}

void tell_sheet_not_fitting(const std::string& path, int32_t width, int32_t height) {
    if (app.shape != box_shape::box) return tell_cover_not_fitting(path, width, height);
    const print_net net = print_net_of(app.box);
    const double with = net_proportion(net, true), without = net_proportion(net, false);
    const auto height_for = [&](double proportion) { return int32_t(width / proportion + 0.5); };
    message_tell("Der Druckbogen passt nicht zur Box (" + mm_text(app.box.width_mm) + " x " + mm_text(app.box.height_mm) +
                 " x " + mm_text(app.box.depth_mm) + " mm):\n" + path + "\n\nSein Seitenverh\xE4ltnis ist " +
                 proportion_text(double(width) / height) + " (" + pixels_text(width, height) +
                 "). Das Netz der Box hat " + proportion_text(with) + " mit 3 mm Anschnitt oder " +
                 proportion_text(without) + " ohne (auf 1 % genau).\n\nPassend w\xE4ren bei dieser Breite " +
                 pixels_text(width, height_for(with)) + " mit Anschnitt oder " +
                 pixels_text(width, height_for(without)) + " ohne; die Druckvorlage hat " +
                 pixels_text(net_pixels(net.width_mm), net_pixels(net.height_mm)) +
                 " bei 300 ppi.\n\nEs wurde nichts ge\xE4ndert.");
}

}  // namespace

sheet_cut cut_of_sheet(const std::string& path) {
    int32_t width = 0, height = 0;
    if (!measure_sheet(path, width, height)) return {};
    return print_sheet_cut(net_of_window(), width, height);
}

bool box_left_sheet() {
    picture_part panels[face_count];
    const char* sheet = nullptr;
    for (int32_t face = 0; face < face_count; ++face) {
        panels[face] = face_picture_part(face);
        if (!is_whole_picture(panels[face])) sheet = face_picture(face);
    }
    int32_t width = 0, height = 0;
    return sheet && measured_size(sheet, width, height) &&
           !sheet_still_fits(net_of_window(), width, height, panels);
}

std::string sheet_panel_text(int32_t face_button, const std::string& sheet) {
    return std::string("Druckbogen, ") + face_caption(face_button) + ": " + sheet;
}

bool take_print_sheet(const std::string& path) {
    if (is_bmp_file(path)) {
        tell_bmp_sheet(path);
        return false;
    }
    int32_t width = 0, height = 0;
    if (!measure_sheet(path, width, height)) {
        tell_face_not_composed(face_failure::picture_unreadable, path.c_str());
        return false;
    }
    const print_net net = net_of_window();
    const sheet_cut cut = print_sheet_cut(net, width, height);
    if (!cut.fits) {
        tell_sheet_not_fitting(path, width, height);
        return false;
    }
    face_picture_request requests[face_count];
    int32_t count = 0;
    for (int32_t face = 0; face < face_count; ++face)
        if (net_has_panel(net, face)) requests[count++] = {path.c_str(), face, false, cut.panels[face]};
    face_failure failure = compose_faces(requests, count);
    if (failure == face_failure::none && !requests[0].drawn) failure = face_failure::picture_unreadable;
    if (failure != face_failure::none) {
        tell_face_not_composed(failure, path.c_str());
        return false;
    }
    for (int32_t button = gadget::first_face; button <= gadget::last_face; ++button)
        if (net_has_panel(net, face_index_of_button(button))) show_face_path(button, sheet_panel_text(button, path));
    string_assign(&app.last_picture_path, path.c_str());
    rebuild_box();
    return true;
}

void load_print_sheet() {
    // The preview's DirectDraw surface would paint over the dialog.
    gadget_hide(gadget::preview, 1);
    const char* folder = file_path_part(app.last_picture_path, 0);
    const std::string start = folder ? folder : "";
    const char* answer = requester_open_file("Druckbogen laden", start.c_str(), sheet_pattern, 0, 0);
    const std::string chosen = answer ? answer : "";
    gadget_hide(gadget::preview, 0);
    if (!chosen.empty()) take_print_sheet(chosen);
}
