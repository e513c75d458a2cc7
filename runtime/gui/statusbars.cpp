// Numbered status bars at the bottom of a window, with side-by-side fields of fixed
// width; a hook on the window keeps the bar at the bottom edge as the window resizes.
#include <cstring>

#include "runtime/gui/host_extras.h"

namespace {

constexpr int32_t statusbar_table_step = 16;
constexpr int32_t field_limit = 50;
constexpr UINT_PTR statusbar_control_id = 0xE404040F;
constexpr const char* statusbar_hook_property = "qv_statusbar_callback";
constexpr const char* statusbar_id_property = "qv_statusbar_id";
constexpr object_number no_bar = -1;

struct statusbar_record {
    HWND handle;
    uint16_t parent_width;
    uint16_t parent_height;
};

// The bar that fields go to is kept by number, so that freeing it leaves nothing dangling.
struct statusbar_globals {
    object_table* table;
    object_number current_bar;
    int32_t field_count;
    int32_t field_edges[field_limit];
};

statusbar_globals globals = {nullptr, no_bar, 0, {}};

statusbar_record* bar_get(object_number number) {
    return static_cast<statusbar_record*>(object_get(globals.table, number));
}

object_number window_bar(HWND window) {
    return reinterpret_cast<object_number>(GetPropA(window, statusbar_id_property));
}

void set_window_bar(HWND window, object_number number) {
    SetPropA(window, statusbar_id_property, reinterpret_cast<HANDLE>(number));
}

void follow_parent_size(HWND window, statusbar_record* bar) {
    RECT client;
    GetClientRect(window, &client);
    auto width = uint16_t(client.right - client.left);
    auto height = uint16_t(client.bottom - client.top);
    if (width == bar->parent_width && height == bar->parent_height) return;
    SendMessageA(bar->handle, WM_SIZE, 0, 0);
    InvalidateRect(bar->handle, nullptr, FALSE);
    bar->parent_width = width;
    bar->parent_height = height;
}

void release(object_number number) {
    if (globals.current_bar == number) globals.current_bar = no_bar;
    object_release(globals.table, number);
}

LRESULT CALLBACK statusbar_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    object_number number = window_bar(window);
    if (message == WM_SIZE && number != no_bar)
        if (statusbar_record* bar = bar_get(number)) follow_parent_size(window, bar);
    if (message == WM_NCDESTROY && number != no_bar && bar_get(number)) release(number);
    return call_previous(statusbar_hook_property, window, message, wparam, lparam);
}

}  // namespace

void statusbar_library_init() {
    globals.table = object_table_create(sizeof(statusbar_record), statusbar_table_step,
                                        [](object_number number) { statusbar_free(number); });
}

object_number statusbar_create(object_number number, platform_handle window) {
    auto* record = static_cast<statusbar_record*>(object_new(globals.table, number));
    if (!record) return 0;
    bool dynamic = number == object_any;
    if (dynamic) number = reinterpret_cast<object_number>(record);
    auto parent = static_cast<HWND>(window);
    HWND bar =
        CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(statusbar_control_id), program_instance(), nullptr);
    if (!bar) {
        object_release(globals.table, number);
        return 0;
    }
    record->handle = bar;
    subclass_once(parent, statusbar_hook_property, statusbar_hook);
    set_window_bar(parent, number);
    globals.field_count = 0;
    globals.current_bar = number;
    RECT client;
    GetClientRect(parent, &client);
    SendMessageA(parent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    return dynamic ? number : reinterpret_cast<object_number>(bar);
}

int32_t statusbar_add_field(int32_t width) {
    statusbar_record* bar = globals.current_bar == no_bar ? nullptr : bar_get(globals.current_bar);
    if (!bar || globals.field_count == field_limit) return 0;
    int32_t index = globals.field_count++;
    globals.field_edges[index] = width + (index ? globals.field_edges[index - 1] : 0);
    SendMessageA(bar->handle, SB_SETPARTS, WPARAM(globals.field_count),
                 reinterpret_cast<LPARAM>(globals.field_edges));
    return 1;
}

int32_t statusbar_set_text(object_number number, int32_t field, const char* text, int32_t flags) {
    statusbar_record* bar = bar_get(number);
    if (!bar) return 0;
    if (!text) text = "";
    WPARAM style = (flags & statusbar_raised)       ? SBT_POPOUT
                   : (flags & statusbar_borderless) ? SBT_NOBORDERS
                                                    : 0;
    // The host centres text after one tab and right-aligns it after two.
    const char* prefix = (flags & statusbar_centered) ? "\t"
                         : (flags & statusbar_right)  ? "\t\t"
                                                      : "";
    size_t prefix_length = std::strlen(prefix);
    size_t length = std::strlen(text);
    auto* shown = static_cast<char*>(heap_alloc(main_heap(), prefix_length + length + 1));
    if (!shown) return 0;
    std::memcpy(shown, prefix, prefix_length);
    std::memcpy(shown + prefix_length, text, length + 1);
    statusbar_replace_text(bar->handle, field, style, shown);
    heap_free(main_heap(), shown);
    return 1;
}

int32_t statusbar_free(object_number number) {
    statusbar_record* bar = bar_get(number);
    if (!bar) return 0;
    HWND parent = GetParent(bar->handle);
    if (parent && window_bar(parent) == number) set_window_bar(parent, no_bar);
    DestroyWindow(bar->handle);
    release(number);
    return 1;
}
