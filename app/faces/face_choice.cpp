// A picture chosen for a face, in the requester or by a drop, becomes the remembered path,
// shows in the row's path field, is drawn into the atlas and put on the box; a failure is
// told in a message box and leaves the box as it was.
#include "app/faces/face_choice.h"

#include "app/app_state.h"
#include "app/faces/face_atlas.h"
#include "app/messages/failure_notice.h"
#include "app/scene/scene.h"
#include "app/window/main_window.h"
#include "runtime/core/core.h"
#include "runtime/gui/gui.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

struct face_button {
    const char* requester_title;
    int32_t face_index;
};

// Indexed from the first face button. The titles are the program's own, as its users know them.
constexpr face_button face_buttons[] = {
    {"Bild f\xFCr die Oberseite", 0},      {"Bild f\xFCr die Rechteseite", 1},
    {"Bild f\xFCr Oben", 5},               {"Bild f\xFCr die R\xFC" "ckseite", 2},
    {"Bild f\xFC" "rdie Vorderseite", 3},  {"Bild f\xFCr Oben", 4},
};

constexpr const char* picture_pattern = "JPG|*.jpg;*.jpeg|Bitmap|*.bmp|PNG|*.png|TGA|*.tga|TIF|*.tif";

bool is_empty(const char* text) { return string_equal(text, ""); }

// Temporary-area results are null when the area could not grow.
std::string text_of(const char* text) { return text ? text : ""; }

// A picture file is one the requester offers: its extension stands in the pattern.
bool is_picture_file(const std::string& name) {
    const size_t dot = name.find_last_of(".\\");
    if (dot == std::string::npos || name[dot] != '.') return false;
    std::string extension = "*" + name.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); });
    const std::string pattern = std::string(picture_pattern) + "|";
    return pattern.find(extension + ";") != std::string::npos ||
           pattern.find(extension + "|") != std::string::npos;
}

std::string first_dropped_picture() {
    for (int32_t index = 0;; ++index) {
        const std::string name = text_of(event_dropped_file(index, 0));
        if (name.empty() || is_picture_file(name)) return name;
    }
}

// The picture in last_picture_path goes onto the button's face.
void use_chosen_picture(int32_t face_button) {
    gadget_set_text(gadget::face_path(face_button), app.last_picture_path);
    face_failure failure = face_failure::none;
    if (!compose_face(app.last_picture_path, face_index_of_button(face_button), &failure)) {
        tell_face_not_composed(failure, app.last_picture_path);
        return;
    }
    rebuild_box();
}

bool is_face_button(int32_t gadget_number) {
    return gadget_number >= gadget::first_face && gadget_number <= gadget::last_face;
}

// A book's or a case's faces are named as their buttons name them; the box keeps its titles.
std::string requester_title(int32_t face_button) {
    if (app.shape == box_shape::box) return face_buttons[face_button - gadget::first_face].requester_title;
    return std::string("Bild f\xFCr: ") + face_caption(face_button);
}

}  // namespace

void choose_face_picture(int32_t face_button) {
    // The preview's DirectDraw surface would paint over the dialog.
    const bool hide_preview = face_button == gadget::face_top;
    if (hide_preview) gadget_hide(gadget::preview, 1);
    // The folder is copied out: the requester builds its answer in the same temporary area.
    const std::string last_folder = text_of(file_path_part(app.last_picture_path, 0));
    string_assign(&app.last_picture_path, requester_open_file(requester_title(face_button).c_str(),
                                                              last_folder.c_str(), picture_pattern,
                                                              0, 0));
    if (hide_preview) gadget_hide(gadget::preview, 0);
    if (is_empty(app.last_picture_path)) return;
    use_chosen_picture(face_button);
}

int32_t face_index_of_button(int32_t face_button) {
    return face_buttons[face_button - gadget::first_face].face_index;
}

const char* picture_file_pattern() { return picture_pattern; }

void accept_dropped_pictures() {
    for (int32_t button = gadget::first_face; button <= gadget::last_face; ++button) {
        gadget_accept_files(button, 1);
        gadget_accept_files(gadget::face_path(button), 1);
    }
}

void take_dropped_picture(int32_t gadget_number) {
    const int32_t face_button =
        is_face_button(gadget_number) ? gadget_number : gadget::face_button_of_path(gadget_number);
    if (!is_face_button(face_button)) return;
    const std::string picture = first_dropped_picture();
    if (picture.empty()) return;
    string_assign(&app.last_picture_path, picture.c_str());
    use_chosen_picture(face_button);
}
