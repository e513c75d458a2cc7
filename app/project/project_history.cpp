// Each state is what project_of_window shows, the pictures the exports draw from and the atlas
// file's bytes; states with the same pictures share the bytes, so only picture steps cost memory.
#include "app/project/project_history.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "app/faces/face_atlas.h"
#include "app/messages/user_message.h"
#include "app/project/project_state.h"
#include "app/scene/scene.h"
#include "runtime/core/windows_host.h"
#include "runtime/screen/screen.h"

namespace {

// Beyond the 100 steps a user can count on, so that the oldest goes only well after.
constexpr size_t state_limit = 201;
constexpr BYTE key_held = 0x80;

using atlas_bytes = std::shared_ptr<const std::string>;

struct history_state {
    project shown;
    std::string composed[face_count];
    picture_part parts[face_count];  // of a print sheet, or whole pictures
    atlas_bytes atlas;
};

bool same_part(const picture_part& a, const picture_part& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::vector<history_state> states;
size_t at = 0;

atlas_bytes read_atlas() {
    std::ifstream file(face_atlas_file, std::ios::binary);
    return std::make_shared<const std::string>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Written beside the atlas first and moved over it, so that a failed write leaves it whole.
bool write_atlas(const std::string& bytes) {
    const std::string temporary = std::string(face_atlas_file) + ".undo";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file.write(bytes.data(), std::streamsize(bytes.size())) || !file.flush()) return false;
    }
    if (MoveFileExA(temporary.c_str(), face_atlas_file, MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileA(temporary.c_str());
    return false;
}

bool same_composed(const history_state& state) {
    for (int32_t face = 0; face < face_count; ++face) {
        const char* picture = face_picture(face);
        if (state.composed[face] != (picture ? picture : "") || !same_part(state.parts[face], face_picture_part(face)))
            return false;
    }
    return true;
}

bool shows(const history_state& state, const project& shown) {
    return project_equal(shown, state.shown) && same_composed(state);
}

history_state capture(const history_state* previous, const project& shown) {
    history_state state;
    state.shown = shown;
    for (int32_t face = 0; face < face_count; ++face) {
        const char* picture = face_picture(face);
        state.composed[face] = picture ? picture : "";
        state.parts[face] = face_picture_part(face);
    }
    state.atlas = previous && same_composed(*previous) ? previous->atlas : read_atlas();
    return state;
}

// A drag in the preview, the mouse button or an arrow key still held: the gesture goes on.
// The keys are as this thread's messages left them, read in one call rather than one a key.
bool gesture_going_on() {
    if (mouse_dragging()) return true;
    BYTE keys[256];
    if (!GetKeyboardState(keys)) return false;
    for (int key : {VK_LBUTTON, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})
        if (keys[key] & key_held) return true;
    return false;
}

void record_change(const project& shown) {
    if (states.empty()) history_restart();
    if (shows(states[at], shown)) return;
    states.resize(at + 1);
    states.push_back(capture(&states[at], shown));
    if (states.size() > state_limit) states.erase(states.begin());
    at = states.size() - 1;
}

// False, with the user told, when the atlas could not be written back: nothing else changes.
bool bring_back(const history_state& target, const history_state& from) {
    if (target.atlas != from.atlas) {
        if (!write_atlas(*target.atlas)) {
            message_tell(std::string("Der Bildatlas ") + face_atlas_file +
                         " l\xE4sst sich nicht schreiben; er ist schreibgesch\xFCtzt oder in einem anderen "
                         "Programm ge\xF6" "ffnet.\n\nEs wurde nichts ge\xE4ndert.");
            return false;
        }
        rebuild_box();
    }
    for (int32_t face = 0; face < face_count; ++face)
        face_picture_choose(face, target.composed[face].c_str(), target.parts[face]);
    project_restore(target.shown);
    return true;
}

}  // namespace

void history_restart() {
    states.assign(1, capture(nullptr, project_of_window()));
    at = 0;
}

void history_follow(const project& shown) {
    if (!gesture_going_on()) record_change(shown);
}

bool history_can_undo() { return at > 0; }
bool history_can_redo() { return at + 1 < states.size(); }

void history_undo() {
    record_change(project_of_window());
    if (history_can_undo() && bring_back(states[at - 1], states[at])) --at;
}

void history_redo() {
    if (history_can_redo() && bring_back(states[at + 1], states[at])) ++at;
}
