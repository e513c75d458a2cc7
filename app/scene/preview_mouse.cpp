// A drag turns the box half a degree per pixel (right as the right arrow key, up as the up
// arrow key), a wheel notch is one click on a zoom button, a double click brings back the
// start angles. The scroll-bar offsets stay as they are throughout.
#include "app/scene/preview_mouse.h"

#include "app/app_state.h"
#include "app/window/handlers.h"
#include "app/scene/scene.h"
#include "runtime/screen/screen.h"

namespace {

constexpr int32_t pixels_per_degree = 2;

// Pixels dragged short of a whole degree wait for the next ones.
int32_t turn_rest;
int32_t tilt_rest;

int32_t whole_degrees(int32_t& rest, int32_t pixels) {
    rest += pixels;
    const int32_t degrees = rest / pixels_per_degree;
    rest %= pixels_per_degree;
    return degrees;
}

void turn_and_tilt(const mouse_input& input) {
    const int32_t turn = whole_degrees(turn_rest, input.drag_x);
    const int32_t tilt = whole_degrees(tilt_rest, input.drag_y);
    if (turn == 0 && tilt == 0) return;
    app.turn_angle += turn;
    app.tilt_angle += tilt;
    apply_box_rotation();
}

void zoom_by_notches(int32_t notches) {
    for (; notches > 0; --notches) handle_gadget_event(gadget::zoom_in);
    for (; notches < 0; ++notches) handle_gadget_event(gadget::zoom_out);
}

void back_to_start_angles() {
    app.turn_angle = start_turn_angle;
    app.tilt_angle = start_tilt_angle;
    apply_box_rotation();
}

}  // namespace

void follow_preview_mouse() {
    const mouse_input input = mouse_take_input();
    turn_and_tilt(input);
    zoom_by_notches(input.wheel_notches);
    if (input.double_clicks > 0) back_to_start_angles();
}
