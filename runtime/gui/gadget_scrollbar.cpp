// Scroll bars. The host maximum is one below the given one, so the reachable positions
// run from min to max - page; every scroll notification becomes one gadget event.
#include "runtime/gui/gui_internal.h"

namespace {

SCROLLINFO read_info(HWND bar, UINT mask) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = mask;
    GetScrollInfo(bar, SB_CTL, &info);
    return info;
}

// The position as the host answered the last write, kept in the bar's user data: reading it
// then asks the host nothing, where a read is a message through the bar's procedures and the
// thread's hooks. Only the writes below move the host position.
int32_t kept_position(HWND bar) { return int32_t(GetWindowLongPtrA(bar, GWLP_USERDATA)); }

// The host answers every write with the position it keeps, clamped to the range.
int32_t write_info(HWND bar, UINT mask, int32_t min, int32_t max, int32_t page, int32_t position,
                   BOOL redraw) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.nMin = min;
    info.nMax = max;
    info.nPage = UINT(page);
    info.nPos = position;
    const int32_t kept = SetScrollInfo(bar, SB_CTL, &info, redraw);
    SetWindowLongPtrA(bar, GWLP_USERDATA, kept);
    return kept;
}

void move_thumb(HWND bar, int32_t position) { write_info(bar, SIF_POS, 0, 0, 0, position, TRUE); }

int32_t scrolled_position(HWND bar, int code) {
    const int32_t position = kept_position(bar);
    switch (code) {
        case SB_LINEUP:
            return position - 1;
        case SB_LINEDOWN:
            return position + 1;
        case SB_PAGEUP:
            return position - int32_t(read_info(bar, SIF_PAGE).nPage);
        case SB_PAGEDOWN:
            return position + int32_t(read_info(bar, SIF_PAGE).nPage);
        case SB_THUMBTRACK:
            return read_info(bar, SIF_TRACKPOS).nTrackPos;
        default:
            return position;
    }
}

LRESULT notify(gadget_record* gadget, HWND, UINT message, WPARAM wparam, LPARAM) {
    if (message != WM_HSCROLL && message != WM_VSCROLL) return not_handled_result;
    HWND bar = gadget->handle;
    move_thumb(bar, scrolled_position(bar, LOWORD(wparam)));
    gadget_post_event(bar, 0);
    return 0;
}

int32_t get_attribute(gadget_record* gadget, int32_t attribute) {
    SCROLLINFO info = read_info(gadget->handle, SIF_RANGE | SIF_PAGE);
    if (attribute == scrollbar_minimum) return info.nMin;
    if (attribute == scrollbar_maximum) return info.nMax + 1;
    if (attribute == scrollbar_page) return int32_t(info.nPage);
    return 0;
}

void set_attribute(gadget_record* gadget, int32_t attribute, int32_t value) {
    HWND bar = gadget->handle;
    SCROLLINFO info = read_info(bar, SIF_RANGE);
    if (attribute == scrollbar_minimum)
        write_info(bar, SIF_RANGE, value, info.nMax, 0, 0, TRUE);
    else if (attribute == scrollbar_maximum)
        write_info(bar, SIF_RANGE, info.nMin, value - 1, 0, 0, TRUE);
    else if (attribute == scrollbar_page)
        write_info(bar, SIF_PAGE, 0, 0, value, 0, TRUE);
}

const gadget_kind* scrollbar_kind() {
    static const gadget_kind kind = [] {
        gadget_kind filled = gadget_kind_base(kind_scrollbar);
        filled.notify = notify;
        filled.get_state = [](gadget_record* gadget) { return kept_position(gadget->handle); };
        filled.set_state = [](gadget_record* gadget, int32_t state) {
            move_thumb(gadget->handle, state);
        };
        filled.get_attribute = get_attribute;
        filled.set_attribute = set_attribute;
        return filled;
    }();
    return &kind;
}

}  // namespace

object_number gadget_scrollbar(object_number number, int32_t x, int32_t y, int32_t width,
                               int32_t height, int32_t min, int32_t max, int32_t page,
                               int32_t flags) {
    DWORD style = WS_CHILD | WS_VISIBLE | ((flags & scrollbar_vertical) ? SBS_VERT : SBS_HORZ);
    gadget_record* record = nullptr;
    object_number result =
        gadget_create({number, x, y, width, height},
                      {scrollbar_kind(), "SCROLLBAR", style, 0, nullptr, nullptr}, &record);
    if (result) write_info(record->handle, SIF_RANGE | SIF_PAGE, min, max - 1, page, 0, TRUE);
    return result;
}
