// The mouse in the screen window: drags with the left button held (the mouse captured until
// it is released), wheel notches and double clicks, gathered as their messages come and
// handed to the frame loop when it asks. Nothing counts while the window's top-level window
// is disabled by a requester or message box.
#include <cstdlib>

#include "runtime/screen/screen_internal.h"

namespace {

struct screen_mouse {
    bool watched;
    bool dragging;
    POINT last;  // the drag's last position, client coordinates
    bool press_waits_for_second;
    POINT press;
    DWORD press_time;
    int32_t wheel_rest;  // wheel movement short of a whole notch
    mouse_input gathered;
};
screen_mouse pointer;

POINT position(LPARAM lparam) {
    return {static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam))};
}

bool usable(HWND window) { return IsWindowEnabled(GetAncestor(window, GA_ROOT)) != 0; }

// The host's own rule: the second press soon enough and near enough to the first.
bool completes_double_click(POINT press, DWORD time) {
    return pointer.press_waits_for_second && time - pointer.press_time <= GetDoubleClickTime() &&
           std::abs(press.x - pointer.press.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(press.y - pointer.press.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

void on_press(HWND window, LPARAM lparam) {
    const POINT press = position(lparam);
    const DWORD time = DWORD(GetMessageTime());
    const bool second = completes_double_click(press, time);
    if (second) ++pointer.gathered.double_clicks;
    pointer.press_waits_for_second = !second;
    pointer.press = press;
    pointer.press_time = time;
    pointer.dragging = true;
    pointer.last = press;
    SetCapture(window);
}

void on_move(LPARAM lparam) {
    if (!pointer.dragging) return;
    const POINT now = position(lparam);
    pointer.gathered.drag_x += now.x - pointer.last.x;
    pointer.gathered.drag_y += now.y - pointer.last.y;
    pointer.last = now;
}

void on_wheel(WPARAM wparam) {
    pointer.wheel_rest += static_cast<int16_t>(HIWORD(wparam));
    pointer.gathered.wheel_notches += pointer.wheel_rest / WHEEL_DELTA;
    pointer.wheel_rest %= WHEEL_DELTA;
}

}  // namespace

void mouse_watch_screen() { pointer.watched = true; }

mouse_input mouse_take_input() {
    const mouse_input taken = pointer.gathered;
    pointer.gathered = {};
    return taken;
}

bool mouse_dragging() { return pointer.dragging; }

bool screen_mouse_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                          LRESULT& result) {
    if (!pointer.watched) return false;
    result = 0;
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lparam) != HTCLIENT || !usable(window)) return false;
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        result = TRUE;
        return true;
    case WM_LBUTTONDOWN:
        if (usable(window)) on_press(window, lparam);
        return true;
    case WM_MOUSEMOVE:
        on_move(lparam);
        return true;
    case WM_LBUTTONUP:
        if (pointer.dragging) ReleaseCapture();
        return true;
    case WM_CAPTURECHANGED:
        pointer.dragging = false;
        return true;
    case WM_MOUSEWHEEL:
        if (usable(window)) on_wheel(wparam);
        return true;
    default:
        return false;
    }
}
