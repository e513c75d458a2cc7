// "Form...": the program's small modal window, as "Maße..." is. The radio buttons are grouped
// here, since every gadget starts a group of its own; the trim list is a host combo box, read
// as the loop runs, as is the page count for the spine shown beside it.
#include "app/window/shape_dialog.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_state.h"
#include "app/window/box_sizes.h"
#include "app/window/modal_dialog.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"

namespace {

// Gadget numbers are shared by all windows: these lie beyond the main window's.
constexpr object_number first_shape_button = 70;  // to 74, in box_shape's order
constexpr object_number pages_label = 75;
constexpr object_number pages_field = 76;
constexpr object_number first_paper_button = 77;  // to 79, in book_paper's order
constexpr object_number trim_label = 80;
constexpr object_number spine_label = 81;
constexpr object_number complaint = 82;
constexpr object_number ok_button = 83;
constexpr object_number cancel_button = 84;
constexpr int trim_list_id = 85;
constexpr int32_t radio_flags = BS_AUTORADIOBUTTON;
constexpr int32_t dialog_width = 330, dialog_height = 300;

HWND trim_list = nullptr;

// The dialog's choice as the controls show it.
struct shape_choice {
    box_shape shape;
    book_paper paper;
    std::string pages;
    int trim;  // 0: the size the box has now, else trim_presets[trim - 1]
};

std::string typed_text(object_number field) {
    // String gadgets keep no text of their own: the host's field holds what was typed.
    char typed[64] = {};
    GetWindowTextA(static_cast<HWND>(gadget_id(field)), typed, sizeof typed);
    return typed;
}

template <typename Choice>
Choice checked_button(object_number first, int32_t count, Choice fallback) {
    for (int32_t i = 0; i < count; ++i)
        if (gadget_get_state(first + i)) return Choice(i);
    return fallback;
}

shape_choice choice_shown() {
    const LRESULT trim = SendMessageA(trim_list, CB_GETCURSEL, 0, 0);
    return {checked_button(first_shape_button, box_shape_count, app.shape),
            checked_button(first_paper_button, book_paper_count, app.book.paper), typed_text(pages_field),
            trim == CB_ERR ? 0 : int(trim)};
}

// Two decimals, as the spine is shown.
std::string spine_mm_text(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", mm);
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

std::string spine_text(const shape_choice& choice) {
    if (!shape_is_book(choice.shape)) return "";
    const int32_t pages = pages_of_text(choice.pages);
    if (pages <= 0) return "R\xFC" "cken: " + spine_mm_text(app.box.depth_mm) + " mm (wie bisher)";
    return "R\xFC" "cken: " + spine_mm_text(spine_mm(choice.shape, {pages, choice.paper})) + " mm";
}

void add_trim_list(int32_t x, int32_t y) {
    const HWND dialog = static_cast<HWND>(window_id(modal_dialog_window));
    trim_list = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                x, y, 240, 240, dialog, reinterpret_cast<HMENU>(intptr_t(trim_list_id)),
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(trim_list, WM_SETFONT, SendMessageA(static_cast<HWND>(gadget_id(pages_field)), WM_GETFONT, 0, 0), 0);
    const std::string current =
        "wie bisher (" + field_text_of_kept_mm(app.box.width_mm) + " x " + field_text_of_kept_mm(app.box.height_mm) + " mm)";
    SendMessageA(trim_list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(current.c_str()));
    for (int32_t i = 0; i < trim_preset_count; ++i)
        SendMessageA(trim_list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(trim_presets[i].caption));
    SendMessageA(trim_list, CB_SETCURSEL, 0, 0);
}

void build_dialog() {
    for (int32_t i = 0; i < box_shape_count; ++i)
        gadget_button(first_shape_button + i, 12, 10 + 24 * i, 140, 22, shape_caption(box_shape(i)), radio_flags);
    gadget_set_state(first_shape_button + int32_t(app.shape), 1);
    gadget_text(pages_label, 170, 14, 50, 20, "Seiten:", 0);
    const std::string pages = app.book.pages > 0 ? std::to_string(app.book.pages) : "";
    gadget_string(pages_field, 225, 10, 90, 24, pages.c_str(), 0);
    for (int32_t i = 0; i < book_paper_count; ++i)
        gadget_button(first_paper_button + i, 170, 40 + 24 * i, 140, 22, paper_caption(book_paper(i)), radio_flags);
    gadget_set_state(first_paper_button + int32_t(app.book.paper), 1);
    gadget_text(trim_label, 12, 138, 60, 20, "Format:", 0);
    add_trim_list(75, 134);
    gadget_text(spine_label, 12, 170, 300, 20, "", 0);
    gadget_text(complaint, 12, 194, 300, 34, "", 0);
    gadget_button(ok_button, 110, 234, 90, 26, "OK", 0);
    gadget_button(cancel_button, 210, 234, 95, 26, "Abbrechen", 0);
}

// A radio button clicked: the others of its group let go.
void group_radio(object_number clicked, object_number first, int32_t count) {
    if (clicked < first || clicked >= first + count) return;
    for (int32_t i = 0; i < count; ++i) gadget_set_state(first + i, first + i == clicked ? 1 : 0);
}

// The page count, the paper and the trim belong to books; the spine is shown as it is typed.
void show_choice(const shape_choice& choice, std::string& spine_shown) {
    const int disabled = shape_is_book(choice.shape) ? 0 : 1;
    gadget_disable(pages_field, disabled);
    for (int32_t i = 0; i < book_paper_count; ++i) gadget_disable(first_paper_button + i, disabled);
    EnableWindow(trim_list, disabled ? FALSE : TRUE);
    const std::string spine = spine_text(choice);
    if (spine == spine_shown) return;
    gadget_set_text(spine_label, spine.c_str());
    spine_shown = spine;
}

// A case chosen anew takes its standard size; a book its trim and the spine of its pages;
// everything else keeps the box's size.
box_size size_of_choice(const shape_choice& choice, const book_setup& book) {
    if (shape_is_case(choice.shape)) return choice.shape == app.shape ? app.box : standard_case_size(choice.shape);
    box_size box = app.box;
    if (!shape_is_book(choice.shape)) return box;
    if (choice.trim > 0) {
        box.width_mm = trim_presets[choice.trim - 1].width_mm;
        box.height_mm = trim_presets[choice.trim - 1].height_mm;
    }
    if (book.pages > 0) box.depth_mm = spine_mm(choice.shape, book);
    return box;
}

// The chosen shape, book and size, or why they cannot be taken.
bool read_choice(box_shape& shape, book_setup& book, box_size& box, std::string& why) {
    const shape_choice choice = choice_shown();
    shape = choice.shape;
    book = shape_is_book(shape) ? app.book : book_setup{};
    if (shape_is_book(shape)) {
        const int32_t pages = pages_of_text(choice.pages);
        if (pages < 0) {
            why = "Seiten: bitte eine Zahl von 2 bis 2000 eingeben, oder nichts f\xFCr den R\xFC" "cken wie bisher.";
            return false;
        }
        book = {pages, choice.paper};
    }
    box = kept_box_size(size_of_choice(choice, book));
    if (box.depth_mm >= smallest_side_mm && box_size_allowed(box)) return true;
    why = "Der R\xFC" "cken w\xE4re " + spine_mm_text(box.depth_mm) +
          " mm: die l\xE4ngste Seite darf h\xF6" "chstens 100-mal so lang sein wie die k\xFC" "rzeste.";
    return false;
}

struct taken_shape {
    box_shape shape;
    book_setup book;
    box_size box;
};

}  // namespace

void ask_box_shape() {
    taken_shape taken = {app.shape, app.book, app.box};
    std::string spine_shown = "-";
    const auto taken_now = [&] {
        std::string why;
        if (read_choice(taken.shape, taken.book, taken.box, why)) return true;
        gadget_set_text(complaint, why.c_str());
        return false;
    };
    const auto follow_typing = [&] { show_choice(choice_shown(), spine_shown); };
    const auto group_radios = [](object_number gadget) {
        group_radio(gadget, first_shape_button, box_shape_count);
        group_radio(gadget, first_paper_button, book_paper_count);
    };
    const modal_dialog dialog{"Form", dialog_width, dialog_height, first_shape_button + int32_t(app.shape), ok_button,
                              cancel_button, build_dialog, taken_now, follow_typing, group_radios};
    const bool answered = modal_dialog_run(dialog);
    trim_list = nullptr;
    if (answered) set_box_shape(taken.shape, taken.book, taken.box);
}
