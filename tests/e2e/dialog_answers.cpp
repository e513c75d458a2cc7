// File and colour dialogs found by title among the program's windows and filled in through
// their controls.
#include "tests/e2e/dialog_answers.h"

#include "tests/e2e/polling.h"

#include <string>

namespace {

constexpr int dialog_wait_ms = 15000;
constexpr int file_name_combo = 0x47C;
constexpr int file_name_edit = 0x480;
constexpr int file_type_combo = 0x470;
constexpr int colour_red_edit = 706;
constexpr int colour_green_edit = 707;
constexpr int colour_blue_edit = 708;
constexpr int colour_edits[] = {colour_red_edit, colour_green_edit, colour_blue_edit};

void set_text(HWND control, const std::string& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

// Presses the button and waits until the dialog has gone, which under Wine takes a while.
bool press(HWND dialog, int button, HWND then_click = nullptr) {
    PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    if (then_click) PostMessageA(then_click, BM_CLICK, 0, 0);
    return eventually(dialog_wait_ms, [&] { return !IsWindow(dialog); });
}

// A dialog still filling its fields may overwrite what was typed, and a loaded machine once
// let it: the fields are typed again until they have kept their values for one poll.
bool typed_and_kept(const std::function<bool()>& kept, const std::function<void()>& type) {
    return eventually(dialog_wait_ms, [&] {
        if (kept()) return true;
        type();
        return false;
    });
}

// The explorer-style dialog keeps the name in a combo box with an edit inside.
HWND file_name_field(HWND dialog) {
    HWND field = GetDlgItem(dialog, file_name_combo);
    if (!field) return GetDlgItem(dialog, file_name_edit);
    HWND inner = FindWindowExA(field, nullptr, "Edit", nullptr);
    return inner ? inner : field;
}

// The colour dialog's title depends on the system's language; it is the program's only
// dialog with the red, green and blue fields.
HWND colour_dialog(const tessaryn_process& program) {
    HWND found = nullptr;
    eventually(dialog_wait_ms, [&] {
        while ((found = FindWindowExA(nullptr, found, "#32770", nullptr))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == program.id() && IsWindowVisible(found) &&
                GetDlgItem(found, colour_red_edit))
                return true;
        }
        return false;
    });
    return found;
}

}  // namespace

// The dialog takes the type from the combo box's notices, sent as when a user picks it.
void choose_file_type(HWND dialog, int file_type) {
    HWND types = GetDlgItem(dialog, file_type_combo);
    SendMessageA(types, CB_SETCURSEL, WPARAM(file_type), 0);
    for (WORD notice : {CBN_SELCHANGE, CBN_SELENDOK})
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(file_type_combo, notice), LPARAM(types));
}

bool answer_file_dialog(const tessaryn_process& program, const char* title,
                        const std::string& path, int file_type) {
    HWND dialog = program.wait_for_window(title, "#32770", dialog_wait_ms);
    if (!dialog) return false;
    if (file_type) choose_file_type(dialog, file_type);
    return typed_and_kept([&] { return window_text(file_name_field(dialog)) == path; },
                          [&] { set_text(file_name_field(dialog), path); }) &&
           press(dialog, IDOK);
}

bool cancel_dialog(const tessaryn_process& program, const char* title) {
    HWND dialog = program.wait_for_window(title, "#32770", dialog_wait_ms);
    if (!dialog) return false;
    return press(dialog, IDCANCEL);
}

bool answer_colour_dialog(const tessaryn_process& program, int red, int green, int blue,
                          HWND then_click) {
    HWND dialog = colour_dialog(program);
    if (!dialog) return false;
    const int values[] = {red, green, blue};
    const auto kept = [&] {
        for (int i = 0; i < 3; ++i) {
            BOOL read = FALSE;
            const UINT value = GetDlgItemInt(dialog, colour_edits[i], &read, FALSE);
            if (!read || int(value) != values[i]) return false;
        }
        return true;
    };
    const auto type = [&] {
        for (int i = 0; i < 3; ++i)
            set_text(GetDlgItem(dialog, colour_edits[i]), std::to_string(values[i]));
    };
    return typed_and_kept(kept, type) && press(dialog, IDOK, then_click);
}

bool cancel_colour_dialog(const tessaryn_process& program) {
    HWND dialog = colour_dialog(program);
    if (!dialog) return false;
    return press(dialog, IDCANCEL);
}

std::string dismiss_message(const tessaryn_process& program) { return answer_message(program, IDOK); }

std::string answer_message(const tessaryn_process& program, int button) {
    HWND box = program.wait_for_window("Tessaryn", "#32770", dialog_wait_ms);
    if (!box) return {};
    std::string text;
    for (HWND part = nullptr; (part = FindWindowExA(box, part, "Static", nullptr));)
        text += window_text(part);
    press(box, button);
    return text;
}
