// The polled event queue: window events queued by the window procedure, and one host
// message fetched, translated and dispatched per poll when the queue is empty.
#include <cstring>

#include "runtime/gui/gui_internal.h"

namespace {

window_event_node* take_oldest(window_state& state) {
    window_event_node* node = state.queue_head;
    state.queue_head = node->next;
    if (!state.queue_head) state.queue_tail = nullptr;
    return node;
}

bool fetch_message(MSG& message, int32_t timeout) {
    if (timeout == -1) return GetMessageA(&message, nullptr, 0, 0) != -1;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return true;
    if (timeout == 0) return false;
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(timeout), QS_ALLINPUT) == WAIT_TIMEOUT)
        return false;
    return PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD) != 0;
}

bool key_down(int key) { return GetKeyState(key) < 0; }

// Tab typed into an editable rich edit is text, not focus travel.
bool tab_for_rich_edit() {
    if (!key_down(VK_TAB) || key_down(VK_CONTROL) || key_down(VK_SHIFT) || key_down(VK_MENU))
        return false;
    HWND focus = GetFocus();
    char name[8] = {};
    if (!focus || !GetClassNameA(focus, name, sizeof name)) return false;
    return std::strncmp(name, "Rich", 4) == 0 && !(GetWindowLongA(focus, GWL_STYLE) & ES_READONLY);
}

HACCEL active_accelerators() {
    if (tab_for_rich_edit()) return nullptr;
    HWND active = GetActiveWindow();
    if (!active) return nullptr;
    auto stored = reinterpret_cast<object_number>(GetPropA(active, window_id_property));
    if (!stored) return nullptr;
    window_record* record = window_get(stored - 1);
    return record && record->handle == active ? record->accel_table : nullptr;
}

}  // namespace

namespace {

bool carries_gadget(int32_t code) { return code == event_code_gadget || code == event_code_menu; }

void queue_node(int32_t code, object_number window, object_number gadget, int32_t type) {
    window_state& state = windows_state();
    window_event_node* newest = state.queue_tail;
    if (newest && newest->code == code && newest->window == window && newest->gadget == gadget &&
        newest->type == type)
        return;
    auto* node =
        static_cast<window_event_node*>(heap_alloc(main_heap(), sizeof(window_event_node)));
    if (!node) return;
    *node = {nullptr, code, window, gadget, type};
    if (newest)
        newest->next = node;
    else
        state.queue_head = node;
    state.queue_tail = node;
}

}  // namespace

void window_queue_event(int32_t code, object_number window) { queue_node(code, window, 0, 0); }

void window_report_event(int32_t code, object_number gadget, int32_t type, outside_poll outside) {
    window_state& state = windows_state();
    if (!state.dispatching) {
        if (outside == outside_poll::queue) queue_node(code, state.last_event_window, gadget, type);
        return;
    }
    state.pending_event = code;
    state.last_event_gadget = gadget;
    if (code == event_code_gadget) state.last_event_type = type;
}

void window_dispatch(const MSG& message) {
    window_state& state = windows_state();
    ++state.dispatching;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    --state.dispatching;
}

int32_t window_wait_event(int32_t timeout) {
    window_state& state = windows_state();
    state.last_event_type = -1;
    if (state.queue_head) {
        window_event_node* node = take_oldest(state);
        int32_t code = node->code;
        state.last_event_window = node->window;
        if (carries_gadget(code)) {
            state.last_event_gadget = node->gadget;
            if (code == event_code_gadget) state.last_event_type = node->type;
        }
        state.pending_event = 0;
        heap_free(main_heap(), node);
        return code;
    }
    MSG message = {};
    if (!fetch_message(message, timeout)) return 0;
    HACCEL accelerators = active_accelerators();
    if (!accelerators) {
        window_dispatch(message);
    } else {
        ++state.dispatching;
        bool translated = TranslateAcceleratorA(GetActiveWindow(), accelerators, &message);
        --state.dispatching;
        if (!translated) window_dispatch(message);
    }
    if (int32_t code = state.pending_event) {
        state.pending_event = 0;
        return code;
    }
    // A message the procedure queued an event for is answered by that event alone: a posted
    // WM_CLOSE would else come twice, as its own code (event_code_close) and from the queue.
    if (state.queue_head) return window_wait_event(0);
    state.last_wparam = message.wParam;
    state.last_lparam = message.lParam;
    return int32_t(message.message);
}

int32_t window_event() { return window_wait_event(0); }
object_number event_gadget() { return windows_state().last_event_gadget; }
object_number event_window() { return windows_state().last_event_window; }
int32_t event_type() { return windows_state().last_event_type; }
void delay(int32_t milliseconds) { Sleep(DWORD(milliseconds)); }
