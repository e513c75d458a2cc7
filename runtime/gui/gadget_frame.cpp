// Frames: a captioned group box, or a captionless frame with a sunken edge, a static
// edge or a thin border that never paints its interior.
#include "runtime/gui/gui_internal.h"

namespace {

const gadget_kind* frame_kind() {
    static const gadget_kind kind = [] {
        gadget_kind filled = gadget_kind_base(kind_frame);
        filled.resize = [](gadget_record* gadget, int32_t x, int32_t y, int32_t width,
                           int32_t height) {
            MoveWindow(gadget->handle, x, y, width, height, TRUE);
        };
        return filled;
    }();
    return &kind;
}

// Whatever lies behind a captionless frame stays visible through it.
LRESULT CALLBACK hollow_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_PAINT) return gadget_procedure(control, message, wparam, lparam);
    ValidateRect(control, nullptr);
    return 0;
}

DWORD hollow_ex_style(int32_t flags) {
    if (flags == frame_client_edge) return WS_EX_CLIENTEDGE;
    if (flags == frame_static_edge) return WS_EX_STATICEDGE;
    return 0;
}

}  // namespace

object_number gadget_frame(object_number number, int32_t x, int32_t y, int32_t width,
                           int32_t height, const char* text, int32_t flags) {
    gadget_place place = {number, x, y, width, height};
    if (flags == frame_group_box) {
        DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | BS_GROUPBOX;
        return gadget_create(place, {frame_kind(), "Button", style, 0, text, nullptr});
    }
    DWORD ex_style = hollow_ex_style(flags);
    DWORD style = WS_CHILD | WS_VISIBLE | (ex_style ? 0 : WS_BORDER);
    gadget_record* record = nullptr;
    object_number result =
        gadget_create(place, {frame_kind(), "Static", style, ex_style, text, nullptr}, &record);
    if (result)
        SetWindowLongPtrA(record->handle, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(hollow_procedure));
    return result;
}
