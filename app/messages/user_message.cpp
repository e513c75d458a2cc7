// Message boxes or console lines, chosen once at start.
#include "app/messages/user_message.h"

#include "app/app_state.h"
#include "app/messages/console_output.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"

namespace {

bool on_console = false;

}  // namespace

void message_tell(const std::string& text, message_kind kind) {
    if (on_console) {
        console_write(text, true);
        return;
    }
    if (kind == message_kind::error) {
        MessageBoxA(nullptr, text.c_str(), "Tessaryn", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
        return;
    }
    MessageBoxA(static_cast<HWND>(window_id(main_window)), text.c_str(), "Tessaryn", MB_OK | MB_ICONWARNING);
}

message_answer message_ask(const std::string& text, bool with_cancel) {
    const UINT buttons = with_cancel ? MB_YESNOCANCEL : MB_YESNO;
    // The preview's DirectDraw surface would paint over the question.
    gadget_hide(gadget::preview, 1);
    const int answer = MessageBoxA(static_cast<HWND>(window_id(main_window)), text.c_str(), "Tessaryn",
                                   buttons | MB_ICONQUESTION);
    gadget_hide(gadget::preview, 0);
    if (answer == IDYES) return message_answer::yes;
    return answer == IDNO ? message_answer::no : message_answer::cancel;
}

void message_to_console() { on_console = true; }
