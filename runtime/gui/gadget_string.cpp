// One-line text fields. They report gaining and losing the focus as gadget events, and
// keep their colours also while read-only, when the host asks for them as statics.
#include "runtime/gui/gui_internal.h"

namespace {

constexpr int32_t field_system_colour = COLOR_BTNHIGHLIGHT;

LRESULT notify(gadget_record* gadget, HWND, UINT message, WPARAM wparam, LPARAM) {
    bool asks = message == WM_CTLCOLOREDIT ||
                (message == WM_CTLCOLORSTATIC && IsWindowEnabled(gadget->handle));
    if (!asks) return not_handled_result;
    return colour_words_paint(gadget, reinterpret_cast<HDC>(wparam), field_system_colour);
}

const gadget_kind* string_kind() {
    static const gadget_kind kind = [] {
        gadget_kind filled = gadget_kind_base(kind_string);
        filled.notify = notify;
        filled.free = colour_words_free;
        filled.set_color = colour_words_set;
        filled.get_color = colour_words_get;
        return filled;
    }();
    return &kind;
}

LRESULT CALLBACK string_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        gadget_post_event(control,
                          message == WM_SETFOCUS ? event_type_focus_gained : event_type_focus_lost);
    }
    return gadget_procedure(control, message, wparam, lparam);
}

}  // namespace

object_number gadget_string(object_number number, int32_t x, int32_t y, int32_t width,
                            int32_t height, const char* text, int32_t flags) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL | DWORD(flags);
    DWORD ex_style = (flags & gadget_edge_bit) ? 0 : WS_EX_CLIENTEDGE;
    gadget_record* record = nullptr;
    object_number result =
        gadget_create({number, x, y, width, height},
                      {string_kind(), "Edit", style, ex_style, text, colour_words_reset}, &record);
    if (!result) return 0;
    SetWindowLongPtrA(record->handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(string_procedure));
    return result;
}
