// Containers: child panels of their own class that hold further gadgets. Everything but
// erasing goes to the window procedure, so gadgets inside report to the window.
#include "runtime/gui/gui_internal.h"

namespace {

constexpr const char* container_class = "NuloContainer";
constexpr int brush_word = 0;

HBRUSH container_brush(HWND container) {
    return reinterpret_cast<HBRUSH>(GetWindowLongPtrA(container, brush_word));
}

LRESULT CALLBACK container_procedure(HWND container, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_ERASEBKGND) return window_procedure(container, message, wparam, lparam);
    HBRUSH brush = container_brush(container);
    if (!brush) return DefWindowProcA(container, message, wparam, lparam);
    RECT client;
    GetClientRect(container, &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, brush);
    return 1;
}

void register_container_class() {
    WNDCLASSA container = {};
    container.lpfnWndProc = container_procedure;
    container.cbWndExtra = sizeof(LONG_PTR);
    container.hInstance = program_instance();
    container.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    container.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    container.lpszClassName = container_class;
    RegisterClassA(&container);
}

void set_color(gadget_record* gadget, int32_t type, uint32_t colour) {
    if (type != color_back) return;
    if (HBRUSH old = container_brush(gadget->handle)) brush_release(old);
    HBRUSH brush = colour == color_none ? nullptr : brush_acquire(colour);
    SetWindowLongPtrA(gadget->handle, brush_word, reinterpret_cast<LONG_PTR>(brush));
    gadget->data[0] = colour;
    gadget_redraw(gadget->handle);
}

const gadget_kind* container_kind() {
    static const gadget_kind kind = [] {
        register_container_class();
        gadget_kind filled = gadget_kind_base(kind_container);
        filled.free = [](gadget_record* gadget) {
            if (HBRUSH brush = container_brush(gadget->handle)) brush_release(brush);
        };
        filled.open_list = [](gadget_record* gadget) { gadget_parent_push(gadget->handle); };
        filled.set_color = set_color;
        filled.get_color = [](gadget_record* gadget, int32_t type) {
            return type == color_back ? uint32_t(gadget->data[0]) : color_none;
        };
        return filled;
    }();
    return &kind;
}

// The first of the border bits that is set wins.
void border_styles(int32_t flags, DWORD& style, DWORD& ex_style) {
    if (flags & container_thin_border)
        style |= WS_BORDER;
    else if (flags & container_dialog_frame)
        style |= WS_DLGFRAME;
    else if (flags & container_static_edge)
        ex_style |= WS_EX_STATICEDGE;
    else if (flags & container_client_edge)
        ex_style |= WS_EX_CLIENTEDGE;
}

}  // namespace

object_number gadget_container(object_number number, int32_t x, int32_t y, int32_t width,
                               int32_t height, int32_t flags) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD ex_style = 0;
    border_styles(flags, style, ex_style);
    gadget_record* record = nullptr;
    object_number result =
        gadget_create({number, x, y, width, height},
                      {container_kind(), container_class, style, ex_style, nullptr,
                       [](gadget_record* gadget) { gadget->data[0] = color_none; }},
                      &record);
    if (!result) return 0;
    SetClassLongPtrA(record->handle, GCLP_HBRBACKGROUND, COLOR_BTNFACE + 1);
    InvalidateRect(record->handle, nullptr, TRUE);
    record->kind->open_list(record);
    return result;
}
