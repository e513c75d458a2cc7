// Live sizing: with full-window dragging on, the runtime sizes a window itself, from the
// mouse and the arrow keys, so the window is redrawn at every step of the drag.
// Geometry follows the host's own sizing; everything runs on the polling thread.
#include <algorithm>

#include "runtime/gui/gui_internal.h"

namespace {

constexpr WPARAM command_mask = 0xFFF0;
constexpr WPARAM edge_mask = 0x000F;
constexpr LONG key_step = 10;

// An edge (WMSZ_*) is a horizontal side (0, left 1, right 2) plus a vertical one (0, top 3,
// bottom 6); 0 means none is picked yet, as in sizing started from the keyboard.
int32_t horizontal_side(int32_t edge) { return edge % 3; }
int32_t vertical_side(int32_t edge) { return edge - edge % 3; }

struct sizing_block {
    HWND window;
    int32_t edge;
    RECT start;   // restored by Escape
    RECT origin;  // the drag is measured from here and from `anchor`
    POINT anchor;
    MINMAXINFO limits;  // filled by the window's min/max request
    HCURSOR previous_cursor;
};

static_assert(sizeof(void*) != 4 || sizeof(sizing_block) == 92,
              "the live-sizing block keeps its 92 bytes on the target");

sizing_block* block = nullptr;

bool full_window_dragging() {
    BOOL on = FALSE;
    return SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &on, 0) && on;
}

bool sizable(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME) && !IsZoomed(window) &&
           !IsIconic(window);
}

void show_cursor(int32_t edge) {
    static const LPCSTR shapes[] = {IDC_SIZEALL, IDC_SIZEWE,   IDC_SIZEWE,
                                    IDC_SIZENS,  IDC_SIZENWSE, IDC_SIZENESW,
                                    IDC_SIZENS,  IDC_SIZENESW, IDC_SIZENWSE};
    SetCursor(LoadCursorA(nullptr, shapes[edge]));
}

// The middle of the edge, a corner, or the centre of the window for no edge.
POINT edge_point(const RECT& rect, int32_t edge) {
    int32_t across = horizontal_side(edge), down = vertical_side(edge);
    LONG x = across == WMSZ_LEFT    ? rect.left
             : across == WMSZ_RIGHT ? rect.right - 1
                                    : (rect.left + rect.right) / 2;
    LONG y = down == WMSZ_TOP      ? rect.top
             : down == WMSZ_BOTTOM ? rect.bottom - 1
                                   : (rect.top + rect.bottom) / 2;
    return {x, y};
}

LONG clamped(LONG size, LONG smallest, LONG largest) {
    return std::min(std::max(size, smallest), largest);
}

RECT sized_rect(POINT at) {
    RECT rect = block->origin;
    LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    LONG dx = at.x - block->anchor.x, dy = at.y - block->anchor.y;
    const POINT& least = block->limits.ptMinTrackSize;
    const POINT& most = block->limits.ptMaxTrackSize;
    int32_t across = horizontal_side(block->edge), down = vertical_side(block->edge);
    if (across == WMSZ_LEFT) rect.left = rect.right - clamped(width - dx, least.x, most.x);
    if (across == WMSZ_RIGHT) rect.right = rect.left + clamped(width + dx, least.x, most.x);
    if (down == WMSZ_TOP) rect.top = rect.bottom - clamped(height - dy, least.y, most.y);
    if (down == WMSZ_BOTTOM) rect.bottom = rect.top + clamped(height + dy, least.y, most.y);
    return rect;
}

// `rect` is in screen coordinates, as in the sizing notice; a child moves within its parent.
void place(RECT rect) {
    HWND window = block->window;
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void resize_to(POINT at) {
    if (!block->edge) return;
    RECT rect = sized_rect(at);
    SendMessageA(block->window, WM_SIZING, WPARAM(block->edge), reinterpret_cast<LPARAM>(&rect));
    place(rect);
}

// Measures the drag afresh from the window as it stands, with the pointer put on the edge
// (on the centre while no edge is picked).
void rebase(int32_t edge) {
    block->edge = edge;
    GetWindowRect(block->window, &block->origin);
    block->anchor = edge_point(block->origin, edge);
    SetCursorPos(block->anchor.x, block->anchor.y);
    show_cursor(edge);
}

// An arrow along a side without an edge picks that edge; otherwise it moves the pointer.
void on_arrow(WPARAM key) {
    bool across = key == VK_LEFT || key == VK_RIGHT;
    int32_t side = across ? horizontal_side(block->edge) : vertical_side(block->edge);
    if (!side) {
        int32_t picked = key == VK_LEFT    ? WMSZ_LEFT
                         : key == VK_RIGHT ? WMSZ_RIGHT
                         : key == VK_UP    ? WMSZ_TOP
                                           : WMSZ_BOTTOM;
        rebase(block->edge + picked);
        return;
    }
    POINT at;
    GetCursorPos(&at);
    LONG step = key == VK_LEFT || key == VK_UP ? -key_step : key_step;
    (across ? at.x : at.y) += step;
    SetCursorPos(at.x, at.y);
    resize_to(at);
}

// Return keeps the size and Escape restores the window; both end the loop (false).
bool on_key(WPARAM key) {
    if (key == VK_RETURN) return false;
    if (key == VK_ESCAPE) {
        place(block->start);
        return false;
    }
    if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) on_arrow(key);
    return true;
}

// Handles one message of the loop; false ends it. Messages other than the user's input
// go on to their windows, so the sized window repaints as it changes.
bool sizing_step(const MSG& message) {
    if (message.message == WM_MOUSEMOVE) {
        resize_to(message.pt);
    } else if (message.message == WM_LBUTTONUP) {
        return false;
    } else if (message.message == WM_KEYDOWN) {
        return on_key(message.wParam);
    } else {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

void fill_limits(HWND window) {
    MINMAXINFO& limits = block->limits;
    limits = {};
    limits.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    limits.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    limits.ptMaxTrackSize.x = std::max(limits.ptMaxTrackSize.x, limits.ptMinTrackSize.x);
    limits.ptMaxTrackSize.y = std::max(limits.ptMaxTrackSize.y, limits.ptMinTrackSize.y);
}

void run_loop(HWND window, int32_t edge) {
    block->window = window;
    block->edge = edge;
    GetWindowRect(window, &block->start);
    block->origin = block->start;
    fill_limits(window);
    SetCapture(window);
    SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
    block->previous_cursor = GetCursor();
    if (edge) {
        GetCursorPos(&block->anchor);
        show_cursor(edge);
    } else {
        rebase(0);
    }
    MSG message;
    while (GetCapture() == window) {
        if (!GetMessageA(&message, nullptr, 0, 0)) {
            PostQuitMessage(int(message.wParam));
            break;
        }
        if (!sizing_step(message)) break;
    }
    if (GetCapture() == window) ReleaseCapture();
    SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
    SetCursor(block->previous_cursor);
    block->window = nullptr;
}

}  // namespace

void live_sizing_init() {
    block = static_cast<sizing_block*>(state_block_alloc(sizeof(sizing_block), nullptr));
}

LRESULT live_sizing_handler(HWND window, UINT message, WPARAM wparam, LPARAM) {
    if (message != WM_SYSCOMMAND || (wparam & command_mask) != SC_SIZE) return not_handled_result;
    auto edge = int32_t(wparam & edge_mask);
    if (!block || edge > WMSZ_BOTTOMRIGHT || !full_window_dragging() || !sizable(window))
        return not_handled_result;
    // A second request while a window is being sized is dropped.
    if (!block->window) run_loop(window, edge);
    return 0;
}
