// Numbered top-level windows: the windows table and state block, opening windows with
// their own class, centring and accelerators, showing, hiding and freeing them.
#include <cstdio>

#include "runtime/gui/gui_internal.h"

namespace {

constexpr int32_t window_table_step = 16;
constexpr int32_t accelerator_count = 2;
constexpr int32_t runtime_bits = window_invisible | window_center_screen | window_center_parent;
constexpr DWORD style_maximized = 0x01000000;
constexpr DWORD style_minimized = 0x20000000;

struct windows_library {
    object_table* table;
    window_state* state;
    HINSTANCE instance;
    HICON icon;
    HCURSOR cursor;
};

windows_library library = {};

void class_name(object_number number, char (&name)[32]) {
    std::snprintf(name, sizeof name, "WindowClass_%ld", long(number));
}

bool register_class(const char* name) {
    WNDCLASSA window_class = {};
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = library.instance;
    window_class.hIcon = library.icon;
    window_class.hCursor = library.cursor;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = name;
    return RegisterClassA(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Position of a centred rectangle; halves truncate toward zero.
int32_t centred(int32_t room, int32_t size) { return (room - size) / 2; }

// A window centred on the screen never outgrows it: its outer size is clamped too.
void place_window(int32_t flags, HWND parent, SIZE& outer, POINT& position) {
    if ((position.x == window_default_position || position.y == window_default_position) &&
        !(flags & (window_center_screen | window_center_parent))) {
        position = {CW_USEDEFAULT, CW_USEDEFAULT};
        return;
    }
    if (flags & window_center_screen) {
        int32_t screen_width = GetSystemMetrics(SM_CXSCREEN);
        int32_t screen_height = GetSystemMetrics(SM_CYSCREEN);
        if (outer.cx > screen_width) outer.cx = screen_width;
        if (outer.cy > screen_height) outer.cy = screen_height;
        position.x = centred(screen_width, outer.cx);
        position.y = centred(screen_height, outer.cy);
        return;
    }
    if (!(flags & window_center_parent)) return;
    HWND around = parent ? parent : GetActiveWindow();
    RECT area;
    if (!around || !GetWindowRect(around, &area)) return;
    position.x = area.left + centred(area.right - area.left, outer.cx);
    position.y = area.top + centred(area.bottom - area.top, outer.cy);
    if (position.x < 0) position.x = 0;
    if (position.y < 0) position.y = 0;
}

int show_command(bool maximized, bool minimized) {
    return maximized ? SW_SHOWMAXIMIZED : minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
}

void build_accelerators(window_record* record) {
    auto* entries = static_cast<ACCEL*>(heap_alloc(main_heap(), sizeof(ACCEL) * accelerator_count));
    if (!entries) return;
    entries[0] = {FVIRTKEY | FNOINVERT, VK_TAB, command_focus_next};
    entries[1] = {FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, command_focus_previous};
    record->accel_count = accelerator_count;
    record->accel_entries = entries;
    record->accel_table = CreateAcceleratorTableA(entries, accelerator_count);
}

}  // namespace

window_state& windows_state() { return *library.state; }
HINSTANCE program_instance() { return library.instance; }

window_record* window_get(object_number number) {
    return static_cast<window_record*>(object_get(library.table, number));
}

void window_library_init() {
    library.table = object_table_create(sizeof(window_record), window_table_step,
                                        [](object_number number) { window_free(number); });
    library.state = static_cast<window_state*>(state_block_alloc(sizeof(window_state), nullptr));
    library.state->last_event_window = -1;
    library.instance = GetModuleHandleA(nullptr);
    library.icon = LoadIconA(library.instance, MAKEINTRESOURCEA(1));
    library.cursor = LoadCursorA(nullptr, IDC_ARROW);
    live_sizing_init();
}

object_number window_open(object_number number, int32_t x, int32_t y, int32_t width, int32_t height,
                          const char* title, int32_t flags, platform_handle parent) {
    auto* record = static_cast<window_record*>(object_new(library.table, number));
    if (!record) return 0;
    bool dynamic = number == object_any;
    if (dynamic) number = reinterpret_cast<object_number>(record);

    char name[32];
    class_name(number, name);
    register_class(name);

    if (!(flags & ~runtime_bits)) flags |= WS_CAPTION;
    bool visible = !(flags & window_invisible);
    DWORD style = DWORD(flags) & ~DWORD(runtime_bits);

    RECT outer = {0, 0, width, height};
    AdjustWindowRect(&outer, style, FALSE);
    SIZE size = {outer.right - outer.left, outer.bottom - outer.top};
    POINT position = {x, y};
    auto owner = static_cast<HWND>(parent);
    place_window(flags, owner, size, position);

    HWND window = CreateWindowExA(0, name, title ? title : "", style, position.x, position.y,
                                  size.cx, size.cy, owner, nullptr, library.instance, nullptr);
    if (!window) {
        UnregisterClassA(name, library.instance);
        object_release(library.table, number);
        return 0;
    }
    record->handle = window;
    SetPropA(window, window_id_property, reinterpret_cast<HANDLE>(number + 1));
    if (visible) ShowWindow(window, show_command(style & style_maximized, style & style_minimized));
    build_accelerators(record);
    record->back_color = color_none;
    return dynamic ? number : reinterpret_cast<object_number>(window);
}

platform_handle window_id(object_number number) {
    window_record* record = window_get(number);
    return record ? record->handle : nullptr;
}

int32_t window_hide(object_number number, int32_t hide) {
    window_record* record = window_get(number);
    if (!record) return 0;
    HWND window = record->handle;
    if (hide) {
        if (HWND owner = GetWindow(window, GW_OWNER)) SetActiveWindow(owner);
        ShowWindow(window, SW_HIDE);
    } else {
        ShowWindow(window, show_command(IsZoomed(window), IsIconic(window)));
    }
    return 1;
}

int32_t window_free(object_number number) {
    window_record* record = window_get(number);
    if (!record) return 0;
    HWND window = record->handle;
    if (HWND owner = GetWindow(window, GW_OWNER)) SetActiveWindow(owner);
    RemovePropA(window, window_id_property);
    DestroyWindow(window);
    char name[32];
    class_name(number, name);
    UnregisterClassA(name, library.instance);
    if (record->accel_entries) heap_free(main_heap(), record->accel_entries);
    if (record->accel_table) DestroyAcceleratorTable(record->accel_table);
    if (record->back_brush) DeleteObject(record->back_brush);
    object_release(library.table, number);
    return 1;
}

int32_t window_set_title(object_number number, const char* title) {
    window_record* record = window_get(number);
    return record && SetWindowTextA(record->handle, title ? title : "") ? 1 : 0;
}

// The table is made anew with the entry added: a host table cannot grow.
int32_t window_add_shortcut(object_number number, int32_t key, int32_t modifiers, int32_t item) {
    window_record* record = window_get(number);
    if (!record) return 0;
    const size_t bytes = sizeof(ACCEL) * size_t(record->accel_count + 1);
    auto* entries = static_cast<ACCEL*>(heap_alloc(main_heap(), bytes));
    if (!entries) return 0;
    if (record->accel_count) CopyMemory(entries, record->accel_entries, bytes - sizeof(ACCEL));
    BYTE flags = FVIRTKEY;
    if (modifiers & shortcut_control) flags |= FCONTROL;
    if (modifiers & shortcut_shift) flags |= FSHIFT;
    entries[record->accel_count] = {flags, WORD(key), WORD(item)};
    HACCEL table = CreateAcceleratorTableA(entries, record->accel_count + 1);
    if (!table) {
        heap_free(main_heap(), entries);
        return 0;
    }
    if (record->accel_entries) heap_free(main_heap(), record->accel_entries);
    if (record->accel_table) DestroyAcceleratorTable(record->accel_table);
    record->accel_entries = entries;
    record->accel_table = table;
    ++record->accel_count;
    return 1;
}

void window_close_all() {
    object_number number = 0;
    object_enum_reset(library.table);
    while (object_enum_next(library.table, &number)) window_free(number);
}
