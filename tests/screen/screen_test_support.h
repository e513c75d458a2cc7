// Plain Win32 windows for the screen to open in, message pumping, and reading what the
// screen shows back from the desktop.
#pragma once

#include "runtime/screen/screen_internal.h"
#include "tests/support/test_runtime.h"

// A colour as the screen takes it (0x00BBGGRR) and as it is read back (0x00RRGGBB).
struct test_colour {
    uint32_t value;
    uint32_t shown;
};
constexpr test_colour red = {0x0000FF, rgb(255, 0, 0)}, green = {0x00FF00, rgb(0, 255, 0)},
                      blue = {0xFF0000, rgb(0, 0, 255)}, yellow = {0x00FFFF, rgb(255, 255, 0)};

// A visible top-level window with a white background, counting the WM_APP messages that
// reach its own procedure. Positions and sizes are of the client area.
class test_window {
public:
    test_window(int x, int y, int width, int height);
    ~test_window();
    test_window(const test_window&) = delete;
    test_window& operator=(const test_window&) = delete;

    HWND handle() const { return window_; }
    int app_messages() const { return int(GetWindowLongPtrA(window_, GWLP_USERDATA)); }
    void place(int x, int y, int width, int height);
    uint32_t pixel(int x, int y) const;

private:
    HWND window_;
};

// The one window most tests share, placed anew: hiding a window costs seconds under Wine.
test_window& shared_window(int x, int y, int width, int height);

void pump_messages();
void show_colour(test_colour colour);

// Takes the display's surfaces away as a display-mode change does: the desktop's own mode
// is set anew. False when the host refused the mode.
bool lose_surfaces(IDirectDraw7* display);
// A primary surface of the test's own on the display, to watch loss and restoring with.
com_ptr<IDirectDrawSurface7> watch_primary(IDirectDraw7* display);
