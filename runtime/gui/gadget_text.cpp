// Static text labels, with optional front and back colours.
#include "runtime/gui/gui_internal.h"

namespace {

const gadget_kind* text_kind() {
    static const gadget_kind kind = [] {
        gadget_kind filled = gadget_kind_base(kind_text);
        filled.notify = [](gadget_record* gadget, HWND, UINT message, WPARAM wparam, LPARAM) {
            if (message != WM_CTLCOLORSTATIC) return not_handled_result;
            return colour_words_paint(gadget, reinterpret_cast<HDC>(wparam), COLOR_BTNFACE);
        };
        filled.free = colour_words_free;
        filled.set_color = colour_words_set;
        filled.get_color = colour_words_get;
        return filled;
    }();
    return &kind;
}

}  // namespace

object_number gadget_text(object_number number, int32_t x, int32_t y, int32_t width, int32_t height,
                          const char* text, int32_t flags) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | DWORD(flags);
    DWORD ex_style = (flags & gadget_edge_bit) ? WS_EX_CLIENTEDGE : 0;
    return gadget_create({number, x, y, width, height},
                         {text_kind(), "Static", style, ex_style, text, colour_words_reset});
}
