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

void write_info(HWND bar, UINT mask, int32_t min, int32_t max, int32_t page, int32_t position) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.nMin = min;
    info.nMax = max;
    info.nPage = UINT(page);
    info.nPos = position;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

int32_t scrolled_position(int code, const SCROLLINFO& info) {
    int32_t page = int32_t(info.nPage);
    switch (code) {
        case SB_LINEUP:
            return info.nPos - 1;
        case SB_LINEDOWN:
            return info.nPos + 1;
        case SB_PAGEUP:
            return info.nPos - page;
        case SB_PAGEDOWN:
            return info.nPos + page;
        case SB_THUMBTRACK:
            return info.nTrackPos;
        default:
            return info.nPos;
    }
}

LRESULT notify(gadget_record* gadget, HWND, UINT message, WPARAM wparam, LPARAM) {
    if (message != WM_HSCROLL && message != WM_VSCROLL) return not_handled_result;
    HWND bar = gadget->handle;
    SCROLLINFO info = read_info(bar, SIF_PAGE | SIF_POS | SIF_TRACKPOS);
    write_info(bar, SIF_POS, 0, 0, 0, scrolled_position(LOWORD(wparam), info));
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
        write_info(bar, SIF_RANGE, value, info.nMax, 0, 0);
    else if (attribute == scrollbar_maximum)
        write_info(bar, SIF_RANGE, info.nMin, value - 1, 0, 0);
    else if (attribute == scrollbar_page)
        write_info(bar, SIF_PAGE, 0, 0, value, 0);
}

const gadget_kind* scrollbar_kind() {
    static const gadget_kind kind = [] {
        gadget_kind filled = gadget_kind_base(kind_scrollbar);
        filled.notify = notify;
        filled.get_state = [](gadget_record* gadget) {
            return read_info(gadget->handle, SIF_POS).nPos;
        };
        filled.set_state = [](gadget_record* gadget, int32_t state) {
            write_info(gadget->handle, SIF_POS, 0, 0, 0, state);
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
    if (result) write_info(record->handle, SIF_RANGE | SIF_PAGE, min, max - 1, page, 0);
    return result;
}
