// Push buttons (and other host button styles): the state is the check state.
#include "runtime/gui/gui_internal.h"

namespace {

const gadget_kind* button_kind() {
    static const gadget_kind kind = [] {
        gadget_kind filled = gadget_kind_base(kind_button);
        filled.get_state = [](gadget_record* gadget) {
            return int32_t(SendMessageA(gadget->handle, BM_GETCHECK, 0, 0));
        };
        filled.set_state = [](gadget_record* gadget, int32_t state) {
            SendMessageA(gadget->handle, BM_SETCHECK, WPARAM(state), 0);
        };
        return filled;
    }();
    return &kind;
}

}  // namespace

object_number gadget_button(object_number number, int32_t x, int32_t y, int32_t width,
                            int32_t height, const char* text, int32_t flags) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | DWORD(flags);
    return gadget_create({number, x, y, width, height},
                         {button_kind(), "Button", style, 0, text, nullptr});
}
