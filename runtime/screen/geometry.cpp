// Where the back buffer lands in the screen window: deltas from the window's frame to the
// placement, kept at open and on resize, and target rectangles made at every present from
// the window's current position, so a moved window needs no new geometry.
#include "runtime/screen/screen_internal.h"

void screen_update_geometry() {
    screen_state& state = screen();
    RECT client, frame;
    GetClientRect(state.window, &client);
    GetWindowRect(state.window, &frame);
    POINT top_left = {client.left, client.top}, bottom_right = {client.right, client.bottom};
    ClientToScreen(state.window, &top_left);
    ClientToScreen(state.window, &bottom_right);
    state.left_delta = state.x + (top_left.x - frame.left);
    state.top_delta = state.y + (top_left.y - frame.top);
    state.right_delta = state.right_offset + (frame.right - bottom_right.x);
    state.bottom_delta = state.bottom_offset + (frame.bottom - bottom_right.y);
}

void screen_target_rects(RECT& source, RECT& target) {
    screen_state& state = screen();
    RECT frame;
    GetWindowRect(state.window, &frame);
    target.left = frame.left + state.left_delta;
    target.top = frame.top + state.top_delta;
    if (state.autostretch) {
        target.right = frame.right - state.right_delta;
        target.bottom = frame.bottom - state.bottom_delta;
    } else {
        target.right = target.left + state.width;
        target.bottom = target.top + state.height;
    }
    SetRect(&source, 0, 0, state.width, state.height);
}
