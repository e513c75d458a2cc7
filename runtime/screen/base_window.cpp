// The hidden base window: the screen window between screens, and the place where the
// program's deactivation is noticed, so that sprites are backed up before surfaces are lost.
#include "runtime/screen/screen_internal.h"

namespace {

constexpr char base_class_name[] = "MultimediaBase Class";
constexpr int program_icon = 1;

void run_deactivation_handler() {
    screen_state& state = screen();
    if (!state.deactivation_handler || state.handler_called) return;
    state.handler_called = true;
    state.deactivation_handler();
}

void on_activate(WPARAM wparam) {
    if (screen().windowed) return;
    if (LOWORD(wparam) != WA_INACTIVE) {
        screen().handler_called = false;
        return;
    }
    run_deactivation_handler();
    mouse_unacquire();
}

LRESULT CALLBACK base_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ACTIVATE:
        on_activate(wparam);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 1;
    }
    case WM_CLOSE: return 0;
    // Only top-level windows hear of it; the screen window shows stale pixels after it.
    case WM_DISPLAYCHANGE:
        screen().repaint_due = true;
        break;
    case WM_ERASEBKGND: return 1;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // Tab and Alt released: the user is switching away
        if (wparam != VK_TAB && wparam != VK_MENU) break;
        run_deactivation_handler();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool base_window_create() {
    screen_state& state = screen();
    if (state.base_window) return true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = base_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(program_icon));
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    window_class.lpszClassName = base_class_name;
    if (!RegisterClassExA(&window_class)) return false;
    state.base_window = CreateWindowExA(0, base_class_name, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                        nullptr, instance, nullptr);
    return state.base_window != nullptr;
}
