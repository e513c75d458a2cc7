// What the screen window shows: the number of the picture last presented and the place it
// went to. A picture whose number is not known is always presented. While something moves
// every frame is presented, as before, so that the pace of presents does not hang on whether
// each frame caught a move.
#include "runtime/screen/screen_internal.h"

void screen_forget_shown() {
    screen_state& state = screen();
    state.shown = {};
    state.repaint_due = true;
}

bool screen_present_due(uint32_t picture, const RECT& target) {
    screen_state& state = screen();
    if (picture == 0 || state.repaint_due || !EqualRect(&state.shown.target, &target)) return true;
    if (picture != state.shown.picture) {
        // Half a second without a change, and the window is left alone.
        state.moving_frames_left = state.frame_rate / 2;
        return true;
    }
    if (state.moving_frames_left == 0) return false;
    --state.moving_frames_left;
    return true;
}

void screen_note_shown(uint32_t picture, const RECT& target) {
    screen_state& state = screen();
    state.repaint_due = false;
    state.shown = {picture, target};
}
