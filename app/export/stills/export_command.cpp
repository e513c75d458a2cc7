// The export as the user meets it: the wait cursor while it works, the status bar telling
// how far it is once it takes longer than a moment, and the usual text again at the end.
#include "app/export/stills/export_command.h"

#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/export/stills/box_export.h"
#include "app/export/print/print_template.h"
#include "app/export/sets/spin_set.h"
#include "app/export/sets/view_set.h"
#include "app/export/write_failure.h"
#include "app/faces/face_choice.h"
#include "app/messages/failure_notice.h"
#include "app/messages/user_message.h"
#include "app/scene/scene.h"
#include "app/window/main_window.h"
#include "runtime/core/core.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"

namespace {

constexpr DWORD quiet_ms = 500;  // shorter exports show no progress

struct progress_status {
    DWORD start = GetTickCount();
    bool shown = false;
};

void show_progress(int32_t percent, void* context) {
    auto* status = static_cast<progress_status*>(context);
    if (!status->shown && GetTickCount() - status->start < quiet_ms) return;
    status->shown = true;
    char text[64];
    std::snprintf(text, sizeof text, "Bild wird gespeichert: %d %%", int(percent));
    status_show(text);
}

class wait_cursor {
public:
    wait_cursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~wait_cursor() { SetCursor(previous_); }
    wait_cursor(const wait_cursor&) = delete;
    wait_cursor& operator=(const wait_cursor&) = delete;

private:
    HCURSOR previous_;
};

const export_scene scene_numbers = {scene::camera, scene::box_material, scene::export_box_texture,
                                    {scene::floor, scene::lower_floor}};

struct set_run {
    const char* name;  // of the set, as the status bar and the messages say it
    int32_t count;
    int32_t view = 0;
    bool stopped = false;
};

// Keys pressed while the set works wait in the queue; only Esc means anything then.
bool escape_pressed() {
    MSG message;
    bool escape = false;
    while (PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
        escape = escape || message.wParam == VK_ESCAPE;
    return escape;
}

void show_set_progress(int32_t percent, void* context) {
    auto* run = static_cast<set_run*>(context);
    if (escape_pressed()) run->stopped = true;
    char text[96];
    std::snprintf(text, sizeof text, "%s: Bild %d von %d wird gespeichert: %d %%", run->name, int(run->view + 1),
                  int(run->count), int(percent));
    status_show(text);
}

// False once Esc was pressed: the set stops before view `index`.
bool set_goes_on(int32_t index, void* context) {
    auto* run = static_cast<set_run*>(context);
    if (escape_pressed()) run->stopped = true;
    if (run->stopped) return false;
    run->view = index;
    return true;
}

bool pose_view(int32_t index, void* context) {
    if (!set_goes_on(index, context)) return false;
    pose_set_view(set_views[index]);
    return true;
}

bool pose_spin_frame(int32_t index, void* context) {
    if (!set_goes_on(index, context)) return false;
    pose_box(spin_turn(index, static_cast<set_run*>(context)->count), 0, spin_camera_elevation);
    return true;
}

// A user naming FOLDER\NAME expects the folder to be made, nested ones too.
bool folders_ready(const std::string& path) {
    if (!write_name_allowed(path)) {
        tell_export_not_saved(path.c_str(), export_failure::not_written, write_failure::bad_name);
        return false;
    }
    const folders_made made = write_folders_make(path);
    if (made.failure == write_failure::none) return true;
    tell_folder_not_made(path.c_str(), made);
    return false;
}

// Read right after the export's own writer ended, so it is that writer's cause.
write_failure last_save_cause(const std::string& path) { return write_failure_of_save(image_last_save_failure(), path); }

void tell_set_stopped(const set_run& run, int32_t written) {
    message_tell("Die " + std::string(run.name) + " wurde abgebrochen: " + std::to_string(written) + " von " +
                 std::to_string(run.count) + " Bildern wurden gespeichert.");
}

// The spin requester's file types: each large type with each frame count.
constexpr int32_t spin_count_choices = int32_t(sizeof spin_frame_counts / sizeof *spin_frame_counts);

std::string spin_patterns() {
    const char* const types[export_type_count] = {"jpg 2048 x 2048", "png 2048 x 2048, transparent",
                                                  "png 4096 x 4096, transparent"};
    std::string patterns;
    for (int32_t type = 0; type < export_type_count; ++type)
        for (int32_t frames : spin_frame_counts) {
            const std::string extension = export_types[type].extension;
            patterns += std::string(patterns.empty() ? "" : "|") + types[type] + ", " + std::to_string(frames) +
                        " Bilder (*" + extension + ")|*" + extension;
        }
    return patterns;
}

// png 2048 with 36 frames.
int32_t spin_preset_pattern() {
    int32_t count = 0;
    while (spin_frame_counts[count] != spin_default_frames) ++count;
    return 1 * spin_count_choices + count;
}

}  // namespace

const char* export_patterns() {
    if (!engine.exports_ready) return "";
    return "|jpg 2048 x 2048 (*.jpg)|*.jpg|png 2048 x 2048, transparent (*.png)|*.png"
           "|png 4096 x 4096, transparent (*.png)|*.png";
}

bool save_export(const char* typed_path, const export_type& type, bool every_picture) {
    if (!engine.exports_ready) return false;
    const std::string path = export_file_name(typed_path, type);
    export_failure failure;
    progress_status status;
    {
        wait_cursor busy;
        failure = export_box(engine.exports, scene_numbers, path.c_str(), type,
                             show_progress, &status, {every_picture, app.view.fill, app.background_colour});
    }
    if (status.shown) status_show_usual();
    if (failure == export_failure::none) return true;
    tell_export_not_saved(path.c_str(), failure, last_save_cause(path));
    return false;
}

bool save_view_set(const char* typed_path, const export_type& type, bool every_picture) {
    if (!engine.exports_ready) return false;
    std::string paths[set_view_count];
    for (int32_t i = 0; i < set_view_count; ++i) paths[i] = set_file_name(typed_path, type, set_views[i]);
    if (!folders_ready(paths[0])) return false;
    set_run run{"Ansichtenserie", set_view_count};
    escape_pressed();  // an Esc from before the set began does not stop it
    int32_t written = 0;
    export_failure failure;
    {
        wait_cursor busy;
        const export_options options = {every_picture, app.view.fill, app.background_colour, true};
        failure = export_box_set(engine.exports, scene_numbers, paths, set_view_count, type, options,
                                 pose_view, show_set_progress, &run, written);
        restore_box_pose();
    }
    status_show_usual();
    if (failure != export_failure::none) {
        tell_export_not_saved(paths[written].c_str(), failure, last_save_cause(paths[written]));
        return false;
    }
    if (written == set_view_count) return true;
    tell_set_stopped(run, written);
    return false;
}

bool save_spin_set(const char* typed_path, const export_type& type, int32_t frames, bool fill, bool every_picture,
                   bool zip_only) {
    if (!engine.exports_ready || !spin_frame_count_allowed(frames)) return false;
    spin_files files = spin_file_names(typed_path, type, frames);
    if (zip_only) files.animation.clear(), files.page.clear();
    if (!folders_ready(files.frames.front())) return false;
    set_run run{"Rundumansicht", frames};
    escape_pressed();  // an Esc from before the set began does not stop it
    spin_outcome outcome;
    {
        wait_cursor busy;
        const export_options options = {every_picture, fill, app.background_colour};
        outcome = export_spin_set(engine.exports, scene_numbers, files, type, options, pose_spin_frame,
                                  show_set_progress, &run);
        restore_box_pose();
    }
    status_show_usual();
    if (outcome.failure != export_failure::none) {
        tell_export_not_saved(outcome.failed_file.c_str(), outcome.failure, outcome.cause);
        return false;
    }
    if (outcome.written == frames) return true;
    tell_set_stopped(run, outcome.written);
    return false;
}

void ask_and_save_spin_set() {
    if (!engine.exports_ready) return;
    const std::string chosen =
        ask_export_name("Rundumansicht exportieren", "Box", spin_patterns().c_str(), spin_preset_pattern());
    if (chosen.empty()) return;
    const int32_t pattern = requester_chosen_pattern();
    if (const export_type* type = export_type_at(pattern / spin_count_choices))
        save_spin_set(chosen.c_str(), *type, spin_frame_counts[pattern % spin_count_choices], true);
}

std::string ask_export_name(const char* title, const char* name, const char* patterns, int32_t preset) {
    const char* folder = file_current_directory(0);
    const std::string start = std::string(folder ? folder : "") + name;
    gadget_hide(gadget::preview, 1);
    const char* answer = requester_save_file(title, start.c_str(), patterns, preset, 0);
    const std::string chosen = answer ? answer : "";
    gadget_hide(gadget::preview, 0);
    return chosen;
}

void ask_and_save_view_set() {
    if (!engine.exports_ready) return;
    const std::string chosen = ask_export_name("Ansichtenserie exportieren", "Box", export_patterns() + 1);
    const export_type* type = export_type_at(requester_chosen_pattern());
    if (!chosen.empty() && type) save_view_set(chosen.c_str(), *type);
}

bool save_print_template(const char* typed_path) {
    const std::string path = export_file_name(typed_path, export_types[export_type_count - 1]);
    if (!folders_ready(path)) return false;
    const char* names[face_count] = {};
    for (int32_t button = gadget::first_face; button <= gadget::last_face; ++button)
        names[face_index_of_button(button)] = face_caption(button);
    export_failure failure;
    progress_status status;
    {
        wait_cursor busy;
        failure = print_template_write(path.c_str(), app.shape, app.box, names, show_progress, &status);
    }
    if (status.shown) status_show_usual();
    if (failure == export_failure::none) return true;
    tell_export_not_saved(path.c_str(), failure, last_save_cause(path));
    return false;
}

void ask_and_save_print_template() {
    const std::string chosen = ask_export_name("Druckvorlage speichern", "Druckvorlage", "png, 300 ppi (*.png)|*.png");
    if (!chosen.empty()) save_print_template(chosen.c_str());
}
