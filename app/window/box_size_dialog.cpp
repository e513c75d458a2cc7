// A small window of the gui library's own gadgets, kept modal by disabling the main window
// while its own event loop runs and keeps the preview presented. Enter answers OK and Esc
// Abbrechen, through the window's shortcuts.
#include "app/window/box_size_dialog.h"

#include <string>

#include "app/app_state.h"
#include "app/scene/scene.h"
#include "app/window/box_sizes.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"
#include "runtime/screen/screen.h"

namespace {

constexpr object_number dialog_window = 1;
// Gadget numbers are shared by all windows: these lie beyond the main window's.
constexpr object_number first_label = 60;
constexpr object_number first_field = 63;
constexpr object_number complaint = 66;
constexpr object_number ok_button = 67;
constexpr object_number cancel_button = 68;
constexpr int32_t dialog_flags = 0x10C80002;  // caption, system menu, hidden, centred on its owner

struct side_row {
    const char* caption;
    double box_size::*side;
};

const side_row side_rows[] = {
    {"Breite (mm):", &box_size::width_mm},
    {"H\xF6he (mm):", &box_size::height_mm},
    {"Tiefe (mm):", &box_size::depth_mm},
};

std::string shown_in_field(double mm) {
    std::string text = text_of_kept_mm(mm);
    const size_t point = text.find('.');
    if (point != std::string::npos) text[point] = ',';
    return text;
}

void build_dialog() {
    gadget_list_create(window_id(dialog_window));
    for (int32_t row = 0; row < 3; ++row) {
        gadget_text(first_label + row, 12, 14 + 30 * row, 100, 20, side_rows[row].caption, 0);
        gadget_string(first_field + row, 115, 10 + 30 * row, 130, 24,
                      shown_in_field(app.box.*side_rows[row].side).c_str(), 0);
    }
    gadget_text(complaint, 12, 100, 236, 34, "", 0);
    gadget_button(ok_button, 50, 140, 90, 26, "OK", 0);
    gadget_button(cancel_button, 150, 140, 95, 26, "Abbrechen", 0);
    window_add_shortcut(dialog_window, VK_RETURN, 0, ok_button);
    window_add_shortcut(dialog_window, VK_ESCAPE, 0, cancel_button);
}

// The typed sizes, or why they cannot be taken.
bool read_fields(box_size& box, std::string& why) {
    for (int32_t row = 0; row < 3; ++row) {
        // String gadgets keep no text of their own: the host's field holds what was typed.
        char typed[64] = {};
        GetWindowTextA(static_cast<HWND>(gadget_id(first_field + row)), typed, sizeof typed);
        double& side = box.*side_rows[row].side;
        if (!mm_of_text(typed, true, side) || side < smallest_side_mm || side > largest_side_mm) {
            why = std::string(side_rows[row].caption) + " bitte eine Zahl von 1 bis 2000 eingeben.";
            return false;
        }
    }
    if (box_size_allowed(box)) return true;
    why = "Die l\xE4ngste Seite darf h\xF6" "chstens 100-mal so lang sein wie die k\xFC" "rzeste.";
    return false;
}

enum class answer { none, taken, cancelled };

answer take_event(int32_t event, box_size& box) {
    if (event == event_code_close && event_window() == dialog_window) return answer::cancelled;
    // The buttons send gadget events, Enter and Esc their shortcuts' menu events.
    if (event != event_code_gadget && event != event_code_menu) return answer::none;
    if (event_gadget() == cancel_button) return answer::cancelled;
    if (event_gadget() != ok_button) return answer::none;
    std::string why;
    if (read_fields(box, why)) return answer::taken;
    gadget_set_text(complaint, why.c_str());
    MessageBeep(MB_ICONWARNING);
    return answer::none;
}

// The chosen size, or false when the user cancelled. The preview stays drawn under the
// dialog, as the frame loop keeps it.
bool run_dialog(box_size& box) {
    for (;;) {
        screen_flip_picture(scene_draw(), 1);
        for (int32_t event = window_event(); event != 0; event = window_event()) {
            const answer given = take_event(event, box);
            if (given != answer::none) return given == answer::taken;
        }
    }
}

}  // namespace

void ask_box_size() {
    const HWND owner = static_cast<HWND>(window_id(main_window));
    if (!window_open(dialog_window, 0, 0, 260, 180,
                     "Ma\xDF"
                     "e der Box",
                     dialog_flags, owner))
        return;
    build_dialog();
    EnableWindow(owner, FALSE);
    window_hide(dialog_window, 0);
    SetFocus(static_cast<HWND>(gadget_id(first_field)));
    box_size chosen = app.box;
    const bool taken = run_dialog(chosen);
    // The owner comes back before the dialog goes, so the system activates it, not another program.
    EnableWindow(owner, TRUE);
    window_free(dialog_window);
    gadget_list_create(owner);
    if (taken) choose_box_size(chosen);
}
