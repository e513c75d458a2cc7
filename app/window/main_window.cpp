// Lays out the main window: the face rows on the left, the size and orientation controls
// below them, the 3D preview with the zoom and snapshot buttons on the right.
#include "app/window/main_window.h"

#include "app/app_state.h"
#include "app/engine/engine.h"
#include "app/faces/face_choice.h"
#include "app/resources/resource_ids.h"
#include "app/scene/scene.h"
#include "app/window/edit_menu.h"
#include "app/window/recent_menu.h"
#include "app/window/view_menu.h"
#include "runtime/core/core.h"
#include "runtime/gui/gui.h"
#include "runtime/image/image.h"
#include "runtime/screen/screen.h"

#include "runtime/core/windows_host.h"

namespace {

constexpr int32_t window_flags = 0x10CA0001;  // centred, caption, system menu, minimise, hidden
constexpr int32_t button_picture_image = 41;
constexpr const char* no_picture_yet = "Bitte ein Bild Ausw\xE4hlen";
constexpr const char* usual_status = "Merovan 2008 - Release Candidate 1.0";

struct face_row {
    int32_t button;
    int32_t y;
    const char* caption;       // of the box
    const char* book_caption;  // a book's left side is its spine, its top, right and bottom its edges
    const char* case_caption;
};

constexpr face_row face_rows[] = {
    {gadget::face_top, 15, "Oberseite", "Kopfschnitt", "Oberseite"},
    {gadget::face_right, 45, "Rechte Seite", "Vorderschnitt", "Rechte Seite"},
    {gadget::face_left, 75, "Linke Seite", "Buchr\xFC" "cken", "R\xFC" "cken"},
    {gadget::face_front, 105, "Vorderseite", "Vorderseite", "Vorderseite"},
    {gadget::face_back, 135, "R\xFC" "ckseite", "R\xFC" "ckseite", "R\xFC" "ckseite"},
    {gadget::face_bottom, 165, "Unterseite", "Fu\xDF" "schnitt", "Unterseite"},
};

const char* caption_of(const face_row& row) {
    if (shape_is_book(app.shape)) return row.book_caption;
    return shape_is_case(app.shape) ? row.case_caption : row.caption;
}

struct labelled_scrollbar {
    int32_t label, label_x, label_y;
    const char* caption;
    int32_t bar, bar_x, bar_y, maximum, page;
    bool starts_at_five;
};

// Two columns of three; the labels of the size bars sit by position, not by creation order.
constexpr labelled_scrollbar controls[] = {
    {gadget::depth_label, 45, 5, "Tiefe der Box", gadget::size_depth, 25, 25, 10, 1, true},
    {gadget::height_label, 45, 105, "H\xF6he der Box", gadget::size_width, 25, 75, 10, 1, true},
    {gadget::width_label, 45, 55, "Breite der Box", gadget::size_height, 25, 125, 10, 1, true},
    {gadget::turn_label, 185, 5, "Box Drehen", gadget::turn, 165, 25, 360, 5, false},
    {gadget::camera_height_label, 165, 55, "Box Heben/Senken", gadget::camera_height, 165, 75,
     10, 1, true},
    {gadget::tilt_label, 185, 105, "Box Neigen", gadget::tilt, 165, 125, 360, 5, false},
};

struct shortcut {
    int32_t key, modifiers, item;
};

// The menus show them at the right of their items.
constexpr shortcut shortcuts[] = {
    {'O', shortcut_control, open_project_menu_item},
    {'S', shortcut_control, save_project_menu_item},
    {'S', shortcut_control | shortcut_shift, save_project_as_menu_item},
    {'Z', shortcut_control, undo_menu_item},
    {'Y', shortcut_control, redo_menu_item},
};

void add_menu_and_status_bar() {
    if (menu_create(0, window_id(main_window))) {
        menu_title("Datei");
        menu_item(open_project_menu_item, "Projekt \xF6" "ffnen...\tStrg+O");
        menu_item(save_project_menu_item, "Projekt speichern\tStrg+S");
        menu_item(save_project_as_menu_item, "Projekt speichern unter...\tStrg+Umschalt+S");
        if (engine.exports_ready) menu_item(export_set_menu_item, "Ansichtenserie exportieren...");
        if (engine.exports_ready) menu_item(export_spin_menu_item, "Rundumansicht exportieren...");
        menu_item(export_glb_menu_item, "3D-Modell exportieren (glb)...");
        menu_item(print_template_menu_item, "Druckvorlage speichern...");
        menu_item(print_sheet_menu_item, "Druckbogen laden...");
        if (engine.exports_ready) menu_item(catalogue_menu_item, "Katalog exportieren...");
        menu_bar();
        menu_item(quit_menu_item, "Beenden");
        show_recent_projects();
        add_edit_menu();
        add_view_menu();
        menu_title("Info");
        menu_item(about_menu_item, "\xDC" "ber Tessaryn...");
    }
    for (const shortcut& key : shortcuts) window_add_shortcut(main_window, key.key, key.modifiers, key.item);
    if (statusbar_create(0, window_id(main_window))) {
        statusbar_add_field(650);
        statusbar_set_text(0, 0, usual_status);
    }
}

// The box in the preview can be turned, tilted and zoomed with the mouse. The engine's exports
// draw from its camera alone and need no screen.
void add_preview(bool with_screen) {
    gadget_container(gadget::preview, 335, 25, preview_size, preview_size, 0);
    if (!with_screen) {
        scene_create();
    } else if (screen_open_windowed(gadget_id(gadget::preview), 0, 0, preview_size, preview_size, 1, 0,
                                    0)) {
        scene_create();
        mouse_watch_screen();
    }
    gadget_list_close();
}

// The snapshot button is given its picture; a text button keeps showing its caption.
void add_snapshot_button() {
    gadget_button(gadget::save_snapshot, 334, 395, 297, 50, "Bild Speichern", 0);
    gadget_set_font(gadget::save_snapshot, app.fonts[1]);
    const resource_block picture = embedded_resource(save_button_picture);
    gadget_set_attribute(gadget::save_snapshot, 2,
                         image_load_memory(button_picture_image, picture.address, picture.size));
    gadget_set_font(-1, app.fonts[0]);
}

void add_face_rows() {
    gadget_frame(gadget::window_frame, 0, 0, 750, 460, "Gadget_2", frame_client_edge);
    for (const face_row& row : face_rows)
        gadget_button(row.button, 8, row.y, 115, 25, caption_of(row), 0);
    gadget_button(gadget::background_colour, 8, 205, 115, 33, "Hintergrundfarbe", 0);
    gadget_button(gadget::background_texture, 8, 240, 115, 33, "HintergrundTextur", 0);
    gadget_disable(gadget::background_texture, 1);
    for (const face_row& row : face_rows)
        gadget_string(gadget::face_path(row.button), 135, row.y, 180, 25, no_picture_yet,
                      string_read_only);
    accept_dropped_pictures();
    gadget_editor(gadget::colour_swatch, 135, 208, 30, 30, 0);
    SendMessageA(reinterpret_cast<HWND>(gadget_id(gadget::colour_swatch)), EM_SETREADONLY, 1, 0);
    gadget_set_color(gadget::colour_swatch, color_back, 0xFFFFFF);
}

void add_controls() {
    gadget_container(gadget::controls, 8, 280, 305, 175, container_static_edge);
    for (const labelled_scrollbar& c : controls) {
        gadget_text(c.label, c.label_x, c.label_y, 150, 20, c.caption, 0);
        gadget_scrollbar(c.bar, c.bar_x, c.bar_y, 110, 18, 1, c.maximum, c.page, 0);
        if (c.starts_at_five) gadget_set_state(c.bar, 5);
    }
    gadget_list_close();
}

void add_zoom() {
    gadget_frame(gadget::preview_frame, 325, 5, 315, 330, "3d - Vorschau", frame_group_box);
    gadget_button(gadget::zoom_out, 335, 345, 25, 25, "-", 0);
    gadget_button(gadget::zoom_in, 365, 345, 25, 25, "+", 0);
    gadget_set_font(gadget::zoom_out, app.fonts[1]);
    gadget_set_font(gadget::zoom_in, app.fonts[1]);
    gadget_text(gadget::zoom_label, 400, 350, 100, 20, "Zoomen", 0);
}

}  // namespace

int32_t build_main_window(bool shown, bool with_screen) {
    if (!window_open(main_window, 382, 308, 650, 500, "Tessaryn", window_flags, 0)) return 0;
    // A window never shown needs no menus and no status bar: a command-line export tells the console.
    if (shown) add_menu_and_status_bar();
    if (!gadget_list_create(window_id(main_window))) return 0;
    add_preview(with_screen);
    add_snapshot_button();
    add_face_rows();
    add_controls();
    add_zoom();
    if (shown) window_hide(main_window, 0);
    return 1;
}

const char* face_caption(int32_t face_button) {
    for (const face_row& row : face_rows)
        if (row.button == face_button) return caption_of(row);
    return "";
}

void show_face_captions() {
    for (const face_row& row : face_rows) gadget_set_text(row.button, caption_of(row));
}

void show_face_path(int32_t face_button, const std::string& picture) {
    gadget_set_text(gadget::face_path(face_button), picture.empty() ? no_picture_yet : picture.c_str());
}

void status_show(const char* text) {
    statusbar_set_text(0, 0, text);
    RedrawWindow(static_cast<HWND>(window_id(main_window)), nullptr, nullptr,
                 RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void status_show_usual() { status_show(usual_status); }
