// The procedure every runtime window and container runs through: it turns host messages
// into runtime events and hands control notifications to the gadget kinds.
#include "runtime/gui/gui_internal.h"

namespace {

constexpr WORD notification_accelerator = 1;
// Controls with this identifier report menu events.
constexpr object_number menu_control_id = -10000;

struct forwarded_message {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};

BOOL CALLBACK forward_to_child(HWND child, LPARAM data) {
    auto* sent = reinterpret_cast<forwarded_message*>(data);
    SendMessageA(child, sent->message, sent->wparam, sent->lparam);
    return TRUE;
}

void forward_to_children(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    forwarded_message what = {message, wparam, lparam};
    EnumChildWindows(window, forward_to_child, reinterpret_cast<LPARAM>(&what));
}

void report_menu(WPARAM wparam) {
    window_report_event(event_code_menu, LOWORD(wparam), 0, outside_poll::drop);
}

LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam) {
    auto control = reinterpret_cast<HWND>(lparam);
    if (control) {
        if (gadget_offer(control, window, WM_COMMAND, wparam, lparam) != not_handled_result)
            return 0;
        object_number id = GetWindowLongPtrA(control, GWLP_ID);
        if (id == menu_control_id) {
            report_menu(wparam);
            return 0;
        }
        window_report_event(event_code_gadget, id, HIWORD(wparam), outside_poll::drop);
        return 0;
    }
    WORD command = LOWORD(wparam);
    bool travel = command == command_focus_next || command == command_focus_previous;
    if (HIWORD(wparam) == notification_accelerator && travel)
        focus_travel(command == command_focus_next);
    else
        report_menu(wparam);
    return 0;
}

LRESULT on_erase(HWND window, window_record* record, HDC dc, object_number number) {
    LRESULT result = not_handled_result;
    if (record && record->back_brush) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, record->back_brush);
        result = 1;
    }
    window_queue_event(event_code_repaint, number);
    return result;
}

// The program's own windows hear of the session's end; without handlers the host decides.
LRESULT on_session_end(UINT message, WPARAM wparam) {
    const session_end_handlers& handlers = windows_state().session_end;
    if (message == WM_QUERYENDSESSION)
        return handlers.may_end ? LRESULT(handlers.may_end() ? TRUE : FALSE) : not_handled_result;
    if (!handlers.ends) return not_handled_result;
    handlers.ends(wparam != FALSE);
    return 0;
}

LRESULT handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    object_number number = -1;
    HWND owner = owning_window(window, &number);
    window_record* record = window_get(number);
    windows_state().last_event_window = number;

    switch (message) {
        case WM_MOVE:
            if (number != -1) window_queue_event(event_code_move, number);
            return 0;
        case WM_SIZE:
            if (window != owner) return 1;
            if (number == -1 || wparam == SIZE_MINIMIZED) return not_handled_result;
            window_queue_event(event_code_size, number);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam)) window_queue_event(event_code_activate, number);
            return 1;
        case WM_CLOSE:
            if (number != -1) window_queue_event(event_code_close, number);
            return 0;
        case WM_QUERYENDSESSION:
        case WM_ENDSESSION:
            return number != -1 ? on_session_end(message, wparam) : not_handled_result;
        case WM_ERASEBKGND:
            return on_erase(window, record, reinterpret_cast<HDC>(wparam), number);
        case WM_SYSCOLORCHANGE:
            forward_to_children(window, message, wparam, lparam);
            return not_handled_result;
        case WM_COMMAND:
            return on_command(window, wparam, lparam);
        case WM_NOTIFY:
            return gadget_offer(reinterpret_cast<NMHDR*>(lparam)->hwndFrom, window, message, wparam,
                                lparam);
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return gadget_offer(reinterpret_cast<HWND>(lparam), window, message, wparam, lparam);
        case msg_gadget_event:
            window_report_event(event_code_gadget, object_number(wparam), int32_t(lparam),
                                outside_poll::queue);
            return 0;
        default:
            return not_handled_result;
    }
}

}  // namespace

void window_on_session_end(const session_end_handlers& handlers) { windows_state().session_end = handlers; }

HWND owning_window(HWND window, object_number* number) {
    HWND desktop = GetDesktopWindow();
    for (HWND at = window; at && at != desktop; at = GetAncestor(at, GA_PARENT)) {
        if (auto stored = reinterpret_cast<object_number>(GetPropA(at, window_id_property))) {
            if (number) *number = stored - 1;
            return at;
        }
    }
    if (number) *number = -1;
    return nullptr;
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = live_sizing_handler(window, message, wparam, lparam);
    if (result == not_handled_result) result = handle(window, message, wparam, lparam);
    if (result == not_handled_result) return DefWindowProcA(window, message, wparam, lparam);
    return result;
}
