// Focus travel with Tab and Shift+Tab: among the enabled, visible tab stops inside the
// active window (or the MDI child holding the focus), in creation order, wrapping round.
#include <cstring>
#include <vector>

#include "runtime/gui/gui_internal.h"

namespace {

bool is_tab_stop(HWND window) {
    return IsWindowEnabled(window) && IsWindowVisible(window) &&
           (GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP);
}

BOOL CALLBACK collect_tab_stop(HWND child, LPARAM list) {
    if (is_tab_stop(child)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> tab_stops(HWND root) {
    std::vector<HWND> stops;
    EnumChildWindows(root, collect_tab_stop, reinterpret_cast<LPARAM>(&stops));
    return stops;
}

HWND mdi_child_holding(HWND focus) {
    char name[16];
    for (HWND at = focus; at; at = GetParent(at))
        if (GetClassNameA(at, name, sizeof name) && std::strcmp(name, "MDI_ChildClass") == 0)
            return at;
    return nullptr;
}

}  // namespace

void focus_travel(bool forward) {
    HWND focus = GetFocus();
    HWND root = mdi_child_holding(focus);
    if (!root) root = GetActiveWindow();
    if (!root) return;
    std::vector<HWND> stops = tab_stops(root);
    if (stops.empty()) return;

    size_t count = stops.size();
    size_t current = count;
    if (focus && IsChild(root, focus))
        for (size_t i = 0; i < count; ++i)
            if (stops[i] == focus) current = i;

    size_t next;
    if (current == count)
        next = forward ? 0 : count - 1;
    else
        next = forward ? (current + 1) % count : (current + count - 1) % count;
    SetFocus(stops[next]);
}
