// Numbered menu bars: titles with their drop-downs and items, attached to a window; a menu
// dies with its window through a hook on the window's procedure.
#include "runtime/gui/gui_internal.h"

namespace {

constexpr int32_t menu_table_step = 16;
constexpr int32_t level_limit = 64;
constexpr const char* menu_hook_property = "qv_menu_callback";

struct menu_record {
    HMENU handle;
    HWND window;
    int32_t owner_drawn;
    HANDLE item_heap;
    int32_t item_value;
};

// The menu being built is kept by number, so that freeing it leaves nothing dangling.
struct menu_state {
    object_number current;
    bool building;
    HMENU level_handle;
    HMENU level_stack[level_limit];
    int32_t level_depth;
};

object_table* table = nullptr;
menu_state* state = nullptr;

menu_record* menu_get(object_number number) {
    return static_cast<menu_record*>(object_get(table, number));
}

void release(object_number number, menu_record* record) {
    if (record->item_heap) HeapDestroy(record->item_heap);
    if (state->building && state->current == number) state->building = false;
    object_release(table, number);
}

// The host destroys a window's menu with the window; the records go with it.
LRESULT CALLBACK menu_hook(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    HMENU present = message == WM_NCDESTROY ? GetMenu(window) : nullptr;
    if (present) {
        object_number number = 0;
        object_enum_reset(table);
        while (auto* record = static_cast<menu_record*>(object_enum_next(table, &number)))
            if (record->handle == present) release(number, record);
    }
    return call_previous(menu_hook_property, window, message, wparam, lparam);
}

}  // namespace

void menu_library_init() {
    table = object_table_create(sizeof(menu_record), menu_table_step,
                                [](object_number number) { menu_free(number); });
    state = static_cast<menu_state*>(state_block_alloc(sizeof(menu_state), nullptr));
}

object_number menu_create(object_number number, platform_handle window) {
    auto* record = static_cast<menu_record*>(object_new(table, number));
    if (!record) return 0;
    bool dynamic = number == object_any;
    if (dynamic) number = reinterpret_cast<object_number>(record);
    HMENU bar = CreateMenu();
    if (!bar) {
        object_release(table, number);
        return 0;
    }
    auto owner = static_cast<HWND>(window);
    record->handle = bar;
    record->window = owner;
    state->current = number;
    state->building = true;
    state->level_handle = bar;
    state->level_depth = 0;
    if (owner) subclass_once(owner, menu_hook_property, menu_hook);
    return dynamic ? number : reinterpret_cast<object_number>(bar);
}

int32_t menu_title(const char* text) {
    menu_record* record = state->building ? menu_get(state->current) : nullptr;
    if (!record) return 0;
    if (state->level_depth > 0) {
        state->level_depth = 0;
        state->level_handle = record->handle;
    }
    HMENU drop_down = CreatePopupMenu();
    if (!drop_down) return 0;
    AppendMenuA(state->level_handle, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(drop_down),
                text ? text : "");
    state->level_stack[state->level_depth++] = state->level_handle;
    state->level_handle = drop_down;
    if (record->window) SetMenu(record->window, record->handle);
    return 1;
}

int32_t menu_item(int32_t item, const char* text) {
    menu_record* record = state->building ? menu_get(state->current) : nullptr;
    if (!record || !AppendMenuA(state->level_handle, MF_STRING, UINT_PTR(item), text ? text : ""))
        return 0;
    if (record->window) DrawMenuBar(record->window);
    return 1;
}

int32_t menu_bar() {
    menu_record* record = state->building ? menu_get(state->current) : nullptr;
    return record && AppendMenuA(state->level_handle, MF_SEPARATOR, 0, nullptr) ? 1 : 0;
}

int32_t menu_set_item_state(object_number number, int32_t item, int32_t state) {
    menu_record* record = menu_get(number);
    if (!record) return 0;
    const UINT tick = state ? MF_CHECKED : MF_UNCHECKED;
    return CheckMenuItem(record->handle, UINT(item), MF_BYCOMMAND | tick) == DWORD(-1) ? 0 : 1;
}

int32_t menu_item_state(object_number number, int32_t item) {
    menu_record* record = menu_get(number);
    if (!record) return 0;
    const UINT flags = GetMenuState(record->handle, UINT(item), MF_BYCOMMAND);
    return flags != UINT(-1) && (flags & MF_CHECKED) ? 1 : 0;
}

int32_t menu_disable_item(object_number number, int32_t item, int32_t disable) {
    menu_record* record = menu_get(number);
    if (!record) return 0;
    const UINT grey = disable ? MF_GRAYED : MF_ENABLED;
    return EnableMenuItem(record->handle, UINT(item), MF_BYCOMMAND | grey) == -1 ? 0 : 1;
}

int32_t menu_insert_item(object_number number, int32_t before, int32_t item, const char* text) {
    menu_record* record = menu_get(number);
    if (!record) return 0;
    const UINT kind = text ? MF_STRING : MF_SEPARATOR;
    if (!InsertMenuA(record->handle, UINT(before), MF_BYCOMMAND | kind, UINT_PTR(item), text)) return 0;
    if (record->window) DrawMenuBar(record->window);
    return 1;
}

namespace {

// The drop-down holding the item and the item's place in it.
bool find_item(HMENU menu, UINT item, HMENU& holder, int& place) {
    const int count = GetMenuItemCount(menu);
    for (int at = 0; at < count; ++at) {
        if (HMENU drop_down = GetSubMenu(menu, at)) {
            if (find_item(drop_down, item, holder, place)) return true;
        } else if (GetMenuItemID(menu, at) == item) {
            holder = menu;
            place = at;
            return true;
        }
    }
    return false;
}

}  // namespace

int32_t menu_remove_separator_before(object_number number, int32_t before) {
    menu_record* record = menu_get(number);
    HMENU holder = nullptr;
    int place = 0;
    if (!record || !find_item(record->handle, UINT(before), holder, place) || place == 0) return 0;
    const UINT line = UINT(place - 1);
    if (!(GetMenuState(holder, line, MF_BYPOSITION) & MF_SEPARATOR)) return 0;
    return DeleteMenu(holder, line, MF_BYPOSITION) ? 1 : 0;
}

int32_t menu_remove_item(object_number number, int32_t item) {
    menu_record* record = menu_get(number);
    return record && DeleteMenu(record->handle, UINT(item), MF_BYCOMMAND) ? 1 : 0;
}

int32_t menu_free(object_number number) {
    menu_record* record = menu_get(number);
    if (!record) return 0;
    if (record->window && GetMenu(record->window) == record->handle)
        SetMenu(record->window, nullptr);
    DestroyMenu(record->handle);
    release(number, record);
    return 1;
}
