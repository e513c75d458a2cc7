// Hooking a window procedure in front of a runtime window's own, as menus and status
// bars do; the previous procedure is kept in a window property.
#include "runtime/gui/gui_internal.h"

bool subclass_once(HWND window, const char* property, WNDPROC procedure) {
    if (GetPropA(window, property)) return false;
    LONG_PTR previous =
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    SetPropA(window, property, reinterpret_cast<HANDLE>(previous));
    return true;
}

LRESULT call_previous(const char* property, HWND window, UINT message, WPARAM wparam,
                      LPARAM lparam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, property));
    if (message == WM_NCDESTROY) RemovePropA(window, property);
    if (!previous) return DefWindowProcA(window, message, wparam, lparam);
    return CallWindowProcA(previous, window, message, wparam, lparam);
}
