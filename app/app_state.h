// The application's process-wide values: angles, sizes, camera, the chosen files and the
// numbers under which the window, its gadgets and the engine's objects live.
#pragma once

#include <cstdint>

#include "app/project/box_shape.h"
#include "app/project/box_size.h"
#include "app/project/view_settings.h"

struct app_state {
    int32_t turn_angle;
    int32_t tilt_angle;
    int32_t turn_offset;
    int32_t tilt_offset;
    int32_t size_depth;  // the steps the size bars show of app.box
    int32_t size_height;
    int32_t size_width;
    box_size box;  // the real size; the size bars show it in steps
    box_shape shape;  // what the box stands for; a book's box is its trim and spine
    book_setup book;
    int32_t camera_height;
    int32_t camera_distance;
    int32_t box_texture;
    uint32_t background_colour;  // of the floor, 0x00BBGGRR
    // The scroll bars' offsets join the rotation with the first event after start.
    bool offsets_shown;
    char* last_picture_path;  // string variables
    char* snapshot_path;
    intptr_t fonts[2];
    view_options view;  // the studio look chosen in "Ansicht"
};

extern app_state app;

// The angles the box shows at start and after a double click in the preview.
constexpr int32_t start_turn_angle = 120;
constexpr int32_t start_tilt_angle = 0;

namespace gadget {
constexpr int32_t window_frame = 5;
constexpr int32_t face_top = 6;
constexpr int32_t face_right = 7;
constexpr int32_t face_left = 8;
constexpr int32_t face_front = 9;
constexpr int32_t face_back = 10;
constexpr int32_t face_bottom = 11;
constexpr int32_t first_face = face_top;
constexpr int32_t last_face = face_bottom;
constexpr int32_t background_colour = 12;
constexpr int32_t save_snapshot = 13;
constexpr int32_t controls = 14;
constexpr int32_t size_depth = 15;
constexpr int32_t size_width = 16;
constexpr int32_t size_height = 17;
constexpr int32_t turn = 18;
constexpr int32_t camera_height = 19;
constexpr int32_t tilt = 20;
constexpr int32_t depth_label = 22;
constexpr int32_t width_label = 23;
constexpr int32_t height_label = 24;
constexpr int32_t turn_label = 25;
constexpr int32_t camera_height_label = 26;
constexpr int32_t tilt_label = 27;
constexpr int32_t background_texture = 29;
constexpr int32_t first_face_path = 30;
constexpr int32_t colour_swatch = 36;
constexpr int32_t preview_frame = 37;
constexpr int32_t preview = 39;
constexpr int32_t zoom_in = 42;
constexpr int32_t zoom_out = 43;
constexpr int32_t zoom_label = 44;

// The read-only field beside a face button that shows the picture chosen with it.
constexpr int32_t face_path(int32_t face_button) {
    return first_face_path + face_button - first_face;
}
constexpr int32_t face_button_of_path(int32_t face_path) {
    return first_face + face_path - first_face_path;
}
}  // namespace gadget

namespace scene {
constexpr int box = 5;
constexpr int floor = 6;
constexpr int lower_floor = 7;
constexpr int model_entity = 8;  // a book's or a case's 3D model, only while it is written
constexpr int box_mesh = 46;
constexpr int floor_mesh = 47;
constexpr int box_material = 0;
constexpr int floor_material = 1;
constexpr int box_texture = 306;
constexpr int floor_texture = 302;
constexpr int export_box_texture = 303;  // the sharp atlas, while an export runs
constexpr int camera = 0;
constexpr int light = 1;
}  // namespace scene

constexpr int32_t main_window = 0;
// Menu items in blocks, each menu with room to grow.
constexpr int32_t about_menu_item = 1;
// The "Ansicht" options are this item and those after it, in their table's order (up to 2 to 9).
constexpr int32_t first_view_menu_item = 2;
constexpr int32_t open_project_menu_item = 10;
constexpr int32_t save_project_menu_item = 11;
constexpr int32_t save_project_as_menu_item = 12;
constexpr int32_t export_set_menu_item = 13;
constexpr int32_t print_template_menu_item = 14;
constexpr int32_t print_sheet_menu_item = 15;
constexpr int32_t export_spin_menu_item = 16;
constexpr int32_t export_glb_menu_item = 17;
constexpr int32_t catalogue_menu_item = 18;
constexpr int32_t quit_menu_item = 19;
constexpr int32_t undo_menu_item = 20;
constexpr int32_t redo_menu_item = 21;
constexpr int32_t sizes_from_pictures_menu_item = 22;
constexpr int32_t box_size_menu_item = 23;
constexpr int32_t box_shape_menu_item = 24;
// The recent projects are this item and those after it, newest first.
constexpr int32_t first_recent_menu_item = 30;
constexpr int32_t preview_size = 295;
