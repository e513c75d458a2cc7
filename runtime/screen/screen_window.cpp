// The screen window's procedure: geometry on resize, repaint after the window's own paint
// (and the next frame presented, whatever it shows), the mouse when it is watched, and
// surfaces restored after a locked session. Installed once per window; each window
// keeps its own previous procedure, so a screen that moves between windows chains rightly.
#include "runtime/screen/screen_internal.h"

namespace {

constexpr char subclassed_property[] = "qv_dxpaint";
constexpr char old_procedure_property[] = "qv_dxproc";

// From <wtsapi32.h>, which the library does not link against.
constexpr DWORD notify_for_this_session = 0;
constexpr WPARAM session_lock = 7;
constexpr WPARAM session_unlock = 8;
using register_session_notification = BOOL(WINAPI*)(HWND window, DWORD flags);

bool is_screen_window(HWND window) {
    return screen().width != 0 && screen().window == window;
}

void restore_after_unlock() {
    screen_restore_surfaces();
    sprite_restore_all();
    screen().repaint_due = true;
}

LRESULT on_session_change(WPARAM change) {
    if (change == session_lock) sprite_backup_all();
    if (change == session_unlock) restore_after_unlock();
    return 0;
}

LRESULT CALLBACK screen_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto old = reinterpret_cast<WNDPROC>(GetPropA(window, old_procedure_property));
    auto chain = [&] {
        return old ? CallWindowProcA(old, window, message, wparam, lparam)
                   : DefWindowProcA(window, message, wparam, lparam);
    };
    LRESULT mouse_result = 0;
    if (is_screen_window(window) &&
        screen_mouse_message(window, message, wparam, lparam, mouse_result))
        return mouse_result;
    switch (message) {
    case WM_SIZE:
        if (is_screen_window(window)) {
            screen_update_geometry();
            screen_repaint();
            screen().repaint_due = true;
        }
        return chain();
    case WM_PAINT: {
        LRESULT result = chain();
        if (is_screen_window(window)) {
            screen_repaint();
            screen().repaint_due = true;
        }
        return result;
    }
    case WM_WTSSESSION_CHANGE: return on_session_change(wparam);
    case WM_NCDESTROY:
        // properties must be gone before the window is
        RemovePropA(window, old_procedure_property);
        RemovePropA(window, subclassed_property);
        return chain();
    default: return chain();
    }
}

void register_for_session_changes(HWND window) {
    unique_module library(LoadLibraryA("Wtsapi32.dll"));
    auto register_window = library.entry<register_session_notification>("WTSRegisterSessionNotification");
    if (register_window) register_window(window, notify_for_this_session);
}

}  // namespace

void screen_subclass(HWND window) {
    if (GetPropA(window, subclassed_property)) return;
    SetPropA(window, old_procedure_property,
             reinterpret_cast<HANDLE>(GetWindowLongPtrA(window, GWLP_WNDPROC)));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(screen_window_proc));
    SetPropA(window, subclassed_property, reinterpret_cast<HANDLE>(1));
    register_for_session_changes(window);
}
