// "Maße...": three fields on the program's small modal window.
#include "app/window/box_size_dialog.h"

#include <string>

#include "app/app_state.h"
#include "app/window/box_sizes.h"
#include "app/window/modal_dialog.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"

namespace {

// Gadget numbers are shared by all windows: these lie beyond the main window's.
constexpr object_number first_label = 60;
constexpr object_number first_field = 63;
constexpr object_number complaint = 66;
constexpr object_number ok_button = 67;
constexpr object_number cancel_button = 68;

struct side_row {
    const char* caption;
    double box_size::*side;
};

const side_row side_rows[] = {
    {"Breite (mm):", &box_size::width_mm},
    {"H\xF6he (mm):", &box_size::height_mm},
    {"Tiefe (mm):", &box_size::depth_mm},
};

void build_dialog() {
    for (int32_t row = 0; row < 3; ++row) {
        gadget_text(first_label + row, 12, 14 + 30 * row, 100, 20, side_rows[row].caption, 0);
        gadget_string(first_field + row, 115, 10 + 30 * row, 130, 24,
                      field_text_of_kept_mm(app.box.*side_rows[row].side).c_str(), 0);
    }
    gadget_text(complaint, 12, 100, 236, 34, "", 0);
    gadget_button(ok_button, 50, 140, 90, 26, "OK", 0);
    gadget_button(cancel_button, 150, 140, 95, 26, "Abbrechen", 0);
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

}  // namespace

void ask_box_size() {
    box_size chosen = app.box;
    const auto taken = [&] {
        std::string why;
        if (read_fields(chosen, why)) return true;
        gadget_set_text(complaint, why.c_str());
        return false;
    };
    if (modal_dialog_run({"Ma\xDF" "e der Box", 260, 180, first_field, ok_button, cancel_button, build_dialog, taken, {}, {}}))
        choose_box_size(chosen);
}
