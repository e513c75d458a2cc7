// The multi-line rich-text editor: the rich edit library loaded by name on first use,
// colours through the control's own requests, read-only as attribute, and whole-text
// and line operations.
#include "runtime/gui/host_extras.h"

namespace {

constexpr int32_t word_editor_back = 1;
constexpr int32_t word_editor_front = 2;
constexpr DWORD editor_style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP |
                               ES_WANTRETURN | ES_NOHIDESEL | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                               ES_MULTILINE;

const char* editor_class() {
    static const char* loaded = [] {
        if (LoadLibraryA("RICHED20.DLL")) return "RichEdit20A";
        LoadLibraryA("RICHED32.DLL");
        return "RichEdit";
    }();
    return loaded;
}

void apply_front(gadget_record* gadget) {
    uint32_t colour = uint32_t(gadget->data[word_editor_front]);
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.dwEffects = colour == color_none ? CFE_AUTOCOLOR : 0;
    format.crTextColor = colour == color_none ? 0 : colour;
    SendMessageA(gadget->handle, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageA(gadget->handle, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

void set_color(gadget_record* gadget, int32_t type, uint32_t colour) {
    if (type == color_back) {
        gadget->data[word_editor_back] = colour;
        SendMessageA(gadget->handle, EM_SETBKGNDCOLOR, colour == color_none, LPARAM(colour));
    } else if (type == color_front) {
        gadget->data[word_editor_front] = colour;
        apply_front(gadget);
    }
}

uint32_t get_color(gadget_record* gadget, int32_t type) {
    if (type == color_back) return uint32_t(gadget->data[word_editor_back]);
    if (type == color_front) return uint32_t(gadget->data[word_editor_front]);
    return color_none;
}

int32_t get_attribute(gadget_record* gadget, int32_t attribute) {
    if (attribute != editor_read_only) return 0;
    return (GetWindowLongA(gadget->handle, GWL_STYLE) & ES_READONLY) ? 1 : 0;
}

void set_attribute(gadget_record* gadget, int32_t attribute, int32_t value) {
    if (attribute == editor_read_only) SendMessageA(gadget->handle, EM_SETREADONLY, value != 0, 0);
}

char* get_text(gadget_record* gadget, int32_t offset) {
    int32_t length = GetWindowTextLengthA(gadget->handle);
    char* text = temp_reserve(length, offset);
    int32_t copied = GetWindowTextA(gadget->handle, text, length + 1);
    text[copied] = 0;
    temp_drop(length - copied);
    return text;
}

LRESULT CALLBACK editor_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = gadget_procedure(control, message, wparam, lparam);
    if (message == WM_SETFONT)
        if (gadget_record* gadget = gadget_of_control(control)) apply_front(gadget);
    return result;
}

const gadget_kind* editor_kind() {
    static const gadget_kind kind = [] {
        gadget_kind filled = gadget_kind_base(kind_editor);
        filled.get_text = get_text;
        filled.set_text = [](gadget_record* gadget, const char* text) {
            SetWindowTextA(gadget->handle, text);
        };
        editor_line_operations(filled);
        filled.get_attribute = get_attribute;
        filled.set_attribute = set_attribute;
        filled.set_color = set_color;
        filled.get_color = get_color;
        return filled;
    }();
    return &kind;
}

// Messages the new control caused are handled now; a gadget event they set is not the
// user's and is dropped, while queued window events stay.
void settle_messages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) window_dispatch(message);
    windows_state().pending_event = 0;
}

void editor_defaults(gadget_record* gadget) {
    gadget->data[word_editor_back] = color_none;
    gadget->data[word_editor_front] = color_none;
}

}  // namespace

object_number gadget_editor(object_number number, int32_t x, int32_t y, int32_t width,
                            int32_t height, int32_t flags) {
    const char* host_class = editor_class();
    gadget_record* record = nullptr;
    object_number result = gadget_create({number, x, y, width, height},
                                         {editor_kind(), host_class, editor_style | DWORD(flags),
                                          WS_EX_CLIENTEDGE, nullptr, editor_defaults},
                                         &record);
    if (!result) return 0;
    SendMessageA(record->handle, EM_EXLIMITTEXT, 0, -1);
    SetWindowLongPtrA(record->handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editor_procedure));
    settle_messages();
    return result;
}
