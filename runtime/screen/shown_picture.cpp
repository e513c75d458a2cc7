// What the screen window shows: the number of the picture last presented and the place it
// went to. A picture whose number is not known is always presented.
#include "runtime/screen/screen_internal.h"

void screen_forget_shown() {
    screen_state& state = screen();
    state.shown = {};
    state.repaint_due = true;
}

bool screen_present_due(uint32_t picture, const RECT& target) {
    const screen_state& state = screen();
    return picture == 0 || state.repaint_due || picture != state.shown.picture ||
           !EqualRect(&state.shown.target, &target);
}

void screen_note_shown(uint32_t picture, const RECT& target) {
    screen_state& state = screen();
    state.repaint_due = false;
    state.shown = {picture, target};
}
