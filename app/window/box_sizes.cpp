// A size bar's side is whole steps of the step the box has after the move, so the bar stays
// where it was moved; the others keep what the dialog, the pictures or the project gave them,
// so that moving one bar never rounds the whole box.
#include "app/window/box_sizes.h"

#include <string>

#include "app/app_state.h"
#include "app/faces/face_atlas.h"
#include "app/faces/print_sheet.h"
#include "app/scene/scene.h"
#include "app/window/main_window.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"

namespace {

struct size_bar {
    int32_t bar;
    int32_t app_state::*step;
    double box_size::*side;
};

const size_bar size_bars[] = {
    {gadget::size_width, &app_state::size_width, &box_size::width_mm},
    {gadget::size_height, &app_state::size_height, &box_size::height_mm},
    {gadget::size_depth, &app_state::size_depth, &box_size::depth_mm},
};

// A dragged bar changes the size at every frame: the status bar tells it at most this often,
// and the last size once the moves stop, so that Wine repaints the bar's field seldom.
constexpr DWORD size_text_interval_ms = 100;
std::string size_text_waiting;
DWORD size_text_shown_at = 0;

void show_size_text(const std::string& text) {
    status_show(text.c_str());
    size_text_shown_at = GetTickCount();
    size_text_waiting.clear();
}

void tell_size(const box_size& box) {
    const std::string text = "Box: " + box_size_text(box) + " (Breite x H\xF6he x Tiefe)";
    if (GetTickCount() - size_text_shown_at >= size_text_interval_ms) show_size_text(text);
    else size_text_waiting = text;
}

}  // namespace

void box_size_text_follow() {
    if (!size_text_waiting.empty() && GetTickCount() - size_text_shown_at >= size_text_interval_ms)
        show_size_text(size_text_waiting);
}

void set_box_size(const box_size& box) {
    // The first size, at start, is no change to tell.
    const bool told = app.box != box && app.box.width_mm > 0;
    app.box = box;
    const double step = size_step_mm(box);
    for (const size_bar& size : size_bars) {
        app.*size.step = nearest_size_step(box.*size.side, step);
        // A bar set anew is painted anew, which costs a dragged bar's every move dear.
        if (gadget_get_state(size.bar) != app.*size.step) gadget_set_state(size.bar, app.*size.step);
    }
    apply_box_size();
    if (told) tell_size(box);
}

void choose_box_size(const box_size& box) {
    set_box_size(box);
    // Said at once, while the change is still one undo away.
    if (box_left_sheet())
        show_size_text("Box: " + box_size_text(box) + " passt nicht mehr zum Druckbogen (\xFC" "ber 1 %); "
                       "die Seiten behalten ihre Ausschnitte.");
}

void set_box_shape(box_shape shape, const book_setup& book, const box_size& box) {
    // The atlas is painted anew only when the edges look different.
    const bool edges_change = shape != app.shape || book != app.book;
    app.shape = shape;
    app.book = book;
    face_edges_follow(shape, book);
    show_face_captions();
    if (edges_change) rebuild_box();
    set_box_size(box);
}

void take_size_bar(int32_t bar) {
    for (const size_bar& size : size_bars) {
        if (size.bar != bar) continue;
        box_size box = app.box;
        double& side = box.*size.side;
        const double other = box.*size_bars[(&size - size_bars + 1) % 3].side;
        const double third = box.*size_bars[(&size - size_bars + 2) % 3].side;
        side = side_allowed_beside(side_of_size_step(gadget_get_state(bar), side, other, third), other, third);
        choose_box_size(box);
    }
}
