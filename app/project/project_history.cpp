// Each state is what project_of_window shows, the pictures the exports draw from and the atlas
// file's whole bytes; states between two writes of the atlas share the bytes, so only picture
// steps cost memory. A write of the atlas (a picture chosen, perhaps again under its old
// name) is a step when the bytes differ; bytes that cannot be read make no step.
#include "app/project/project_history.h"

#include <fstream>
#include <vector>

#include "app/faces/face_atlas.h"
#include "app/messages/user_message.h"
#include "app/project/project_state.h"
#include "app/project/whole_file.h"
#include "app/scene/scene.h"
#include "runtime/core/windows_host.h"
#include "runtime/screen/screen.h"

namespace {

// Beyond the 100 steps a user can count on, so that the oldest goes only well after.
constexpr size_t state_limit = 201;
constexpr BYTE key_held = 0x80;

struct history_state {
    project shown;
    std::string composed[face_count];
    picture_part parts[face_count];  // of a print sheet, or whole pictures
    file_bytes atlas;
};

bool same_part(const picture_part& a, const picture_part& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::vector<history_state> states;
size_t at = 0;
// The atlas writes (face_atlas_writes) that the bytes of states[at] follow; fewer while a
// written atlas could not be read, and the file then holds what no state has.
uint32_t writes_taken = 0;
bool unreadable_told = false;

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

bool atlas_behind() { return face_atlas_writes() != writes_taken; }

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

history_state capture(const project& shown, const file_bytes& atlas) {
    history_state state;
    state.shown = shown;
    for (int32_t face = 0; face < face_count; ++face) {
        const char* picture = face_picture(face);
        state.composed[face] = picture ? picture : "";
        state.parts[face] = face_picture_part(face);
    }
    state.atlas = atlas;
    return state;
}

// Told once until a read succeeds again: the change waits for its step until then.
void tell_unreadable() {
    if (unreadable_told) return;
    unreadable_told = true;
    message_tell(std::string("Der Bildatlas ") + face_atlas_file +
                 " l\xE4sst sich nicht lesen; er ist in einem anderen Programm ge\xF6" "ffnet.\n\n"
                 "Die letzte \xC4nderung kann erst r\xFC" "ckg\xE4" "ngig gemacht werden, wenn er wieder lesbar ist.");
}

// The atlas's bytes for a new state: those of states[at] when it was not written since.
file_bytes current_atlas() {
    if (!atlas_behind()) return states[at].atlas;
    const uint32_t writes = face_atlas_writes();
    file_bytes read = whole_file(face_atlas_file);
    if (!read) {
        tell_unreadable();
        return nullptr;
    }
    unreadable_told = false;
    writes_taken = writes;
    return *read == *states[at].atlas ? states[at].atlas : read;
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
    if (states.empty() || (!atlas_behind() && shows(states[at], shown))) return;
    const file_bytes atlas = current_atlas();
    if (!atlas || (atlas == states[at].atlas && shows(states[at], shown))) return;
    states.resize(at + 1);
    states.push_back(capture(shown, atlas));
    if (states.size() > state_limit) states.erase(states.begin());
    at = states.size() - 1;
}

// False, with the user told, when the atlas could not be written back: nothing else changes.
// The atlas is written when its bytes differ from the target's or are not known.
bool bring_back(const history_state& target) {
    if (atlas_behind() || target.atlas != states[at].atlas) {
        if (!write_atlas(*target.atlas)) {
            message_tell(std::string("Der Bildatlas ") + face_atlas_file +
                         " l\xE4sst sich nicht schreiben; er ist schreibgesch\xFCtzt oder in einem anderen "
                         "Programm ge\xF6" "ffnet.\n\nEs wurde nichts ge\xE4ndert.");
            return false;
        }
        writes_taken = face_atlas_writes();
        rebuild_box();
    }
    for (int32_t face = 0; face < face_count; ++face)
        face_picture_choose(face, target.composed[face].c_str(), target.parts[face]);
    project_restore(target.shown);
    return true;
}

}  // namespace

void history_restart() {
    states.clear();
    at = 0;
    writes_taken = face_atlas_writes();
    if (const file_bytes atlas = whole_file(face_atlas_file)) states.push_back(capture(project_of_window(), atlas));
}

void history_follow(const project& shown) {
    if (!gesture_going_on()) record_change(shown);
}

// A change whose atlas could not be read is undone to the last state the history holds.
bool history_can_undo() { return at > 0 || (!states.empty() && atlas_behind()); }
bool history_can_redo() { return at + 1 < states.size(); }

void history_undo() {
    record_change(project_of_window());
    if (!history_can_undo()) return;
    if (atlas_behind()) {
        bring_back(states[at]);
        return;
    }
    if (bring_back(states[at - 1])) --at;
}

void history_redo() {
    if (history_can_redo() && bring_back(states[at + 1])) ++at;
}
