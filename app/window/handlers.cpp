// The control handlers: face pictures, floor colour, box size and orientation, camera height
// and distance, and the snapshot. Each runs to completion before the next event is taken.
#include "app/window/handlers.h"

#include "app/app_state.h"
#include "app/export/stills/export_command.h"
#include "app/faces/face_atlas.h"
#include "app/faces/face_choice.h"
#include "app/messages/failure_notice.h"
#include "app/scene/scene.h"
#include "app/window/box_sizes.h"
#include "runtime/core/core.h"
#include "runtime/gui/gui.h"
#include "runtime/image/image.h"
#include "runtime/screen/screen.h"

#include <string>

namespace {

constexpr int32_t snapshot_sprite = 355;
constexpr int32_t best_quality = 10;
constexpr int32_t zoom_step = 5;

bool is_empty(const char* text) { return string_equal(text, ""); }

// Temporary-area results are null when the area could not grow.
std::string text_of(const char* text) { return text ? text : ""; }

void choose_background_colour() {
    const uint32_t chosen = requester_color();
    // A cancelled requester keeps the floor and the swatch as they are.
    if (chosen == color_none) return;
    set_floor_colour(chosen);
}

void save_snapshot() {
    const std::string default_file = text_of(file_current_directory(0)) + "Box.jpg";
    const std::string pattern = std::string("jpg (*.jpg)|*.jpg") + export_patterns();
    string_assign(&app.snapshot_path, requester_save_file("Bild Abspeichern", default_file.c_str(),
                                                       pattern.c_str(), 0, 0));
    if (is_empty(app.snapshot_path)) return;
    // The first type is the snapshot; the others are the large exports.
    if (const int32_t type = requester_chosen_pattern()) {
        if (const export_type* large = export_type_at(type - 1)) save_export(app.snapshot_path, *large);
        return;
    }
    save_snapshot_file(app.snapshot_path);
}

void zoom(int32_t distance_change) {
    app.camera_distance += distance_change;
    apply_camera();
}

}  // namespace

void set_floor_colour(uint32_t colour) {
    app.background_colour = colour;
    gadget_set_color(gadget::colour_swatch, color_back, colour);
    make_background_texture(colour);
    rebuild_floor();
    apply_box_size();
}

bool save_snapshot_file(const char* path) {
    // Handlers that ran earlier in this event drain may have changed the scene since the
    // last frame was drawn; the file must show it as it is now.
    scene_draw();
    if (!sprite_grab(snapshot_sprite, 0, 0, preview_size, preview_size, 0)) {
        tell_snapshot_without_preview(path);
        return false;
    }
    if (sprite_save(snapshot_sprite, path, plugin_jpeg, best_quality)) return true;
    tell_snapshot_not_saved(path);
    return false;
}

void handle_gadget_event(int32_t gadget_number) {
    if (gadget_number >= gadget::first_face && gadget_number <= gadget::last_face) {
        choose_face_picture(gadget_number);
        return;
    }
    switch (gadget_number) {
        case gadget::background_colour:
            choose_background_colour();
            break;
        case gadget::save_snapshot:
            save_snapshot();
            break;
        case gadget::size_depth:
        case gadget::size_width:
        case gadget::size_height:
            take_size_bar(gadget_number);
            break;
        case gadget::turn:
            app.turn_offset = gadget_get_state(gadget::turn);
            apply_box_rotation();
            apply_box_size();
            break;
        case gadget::tilt:
            app.tilt_offset = gadget_get_state(gadget::tilt);
            apply_box_rotation();
            apply_box_size();
            break;
        case gadget::camera_height:
            app.camera_height = gadget_get_state(gadget::camera_height);
            apply_camera();
            apply_box_size();
            break;
        case gadget::zoom_out:
            zoom(zoom_step);
            break;
        case gadget::zoom_in:
            zoom(-zoom_step);
            break;
        default:
            break;
    }
}
