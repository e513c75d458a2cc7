// Gadget library state: the parent that new gadgets go into, the stack of parents that
// containers push, and the font that new gadgets get.
#include "runtime/gui/gui_internal.h"

namespace {

constexpr int32_t stack_step = 10;

struct gadget_state {
    HWND parent;
    HFONT font;
    HWND* parent_stack;
    int32_t stack_depth;
    int32_t stack_capacity;
};

gadget_state* state = nullptr;

void init_stack(void* block) {
    auto* fresh = static_cast<gadget_state*>(block);
    fresh->parent_stack = static_cast<HWND*>(heap_alloc(main_heap(), sizeof(HWND) * stack_step));
    fresh->stack_capacity = fresh->parent_stack ? stack_step : 0;
}

}  // namespace

void gadget_library_init() {
    brush_cache_init();
    gadget_table_init();
    state = static_cast<gadget_state*>(state_block_alloc(sizeof(gadget_state), init_stack));
    state->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND gadget_parent() { return state->parent; }
// Fonts may be freed before the gadget library starts or after it has no state.
HFONT gadget_default_font() { return state ? state->font : nullptr; }
void gadget_set_default_font(HFONT font) {
    if (state) state->font = font;
}

platform_handle gadget_list_create(platform_handle window) {
    state->parent = static_cast<HWND>(window);
    return window;
}

void gadget_parent_push(HWND parent) {
    if (state->stack_depth == state->stack_capacity) {
        int32_t capacity = state->stack_capacity + stack_step;
        void* grown =
            heap_resize(main_heap(), state->parent_stack, sizeof(HWND) * size_t(capacity));
        if (!grown) return;
        state->parent_stack = static_cast<HWND*>(grown);
        state->stack_capacity = capacity;
    }
    state->parent_stack[state->stack_depth++] = state->parent;
    state->parent = parent;
}

void gadget_list_close() {
    if (state->stack_depth == 0) return;
    state->parent = state->parent_stack[--state->stack_depth];
}
