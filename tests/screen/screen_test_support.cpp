// Test windows and desktop read-back for the screen tests.
#include "tests/screen/screen_test_support.h"

namespace {

constexpr char class_name[] = "TessarynScreenTest";
constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

LRESULT CALLBACK test_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_APP) return DefWindowProcA(window, message, wparam, lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(window, GWLP_USERDATA) + 1);
    return 0;
}

void register_class_once() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = test_window_proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = class_name;
    registered = RegisterClassExA(&window_class) != 0;
}

RECT frame_for(int x, int y, int width, int height) {
    RECT frame = {x, y, x + width, y + height};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    return frame;
}

}  // namespace

test_window::test_window(int x, int y, int width, int height) {
    register_class_once();
    RECT frame = frame_for(x, y, width, height);
    window_ = CreateWindowExA(0, class_name, "screen test", style, frame.left, frame.top,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window_);
    pump_messages();
}

test_window::~test_window() {
    if (screen().window == window_) screen_close();
    DestroyWindow(window_);
    pump_messages();
}

void test_window::place(int x, int y, int width, int height) {
    RECT frame = frame_for(x, y, width, height);
    SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER);
    pump_messages();
}

uint32_t test_window::pixel(int x, int y) const {
    POINT at = {x, y};
    ClientToScreen(window_, &at);
    HDC desktop = GetDC(nullptr);
    COLORREF colour = GetPixel(desktop, at.x, at.y);
    ReleaseDC(nullptr, desktop);
    return rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

test_window& shared_window(int x, int y, int width, int height) {
    static test_window window(x, y, width, height);
    window.place(x, y, width, height);
    return window;
}

void pump_messages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void show_colour(test_colour colour) {
    screen_clear(colour.value);
    screen_flip();
    pump_messages();
}

bool lose_surfaces(IDirectDraw7* display) {
    return display && SUCCEEDED(display->SetDisplayMode(GetSystemMetrics(SM_CXSCREEN),
                                                        GetSystemMetrics(SM_CYSCREEN), 32, 0, 0));
}

com_ptr<IDirectDrawSurface7> watch_primary(IDirectDraw7* display) {
    com_ptr<IDirectDrawSurface7> primary;
    auto description = described<DDSURFACEDESC2>();
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (display) display->CreateSurface(&description, primary.put(), nullptr);
    return primary;
}
