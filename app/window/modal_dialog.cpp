// The owner comes back before the dialog goes, so the system activates it, not another program.
#include "app/window/modal_dialog.h"

#include "app/app_state.h"
#include "app/scene/scene.h"
#include "runtime/core/windows_host.h"
#include "runtime/screen/screen.h"

namespace {

constexpr int32_t dialog_flags = 0x10C80002;  // caption, system menu, hidden, centred on its owner

enum class answer { none, taken, cancelled };

answer take_event(const modal_dialog& dialog, int32_t event) {
    if (event == event_code_close && event_window() == modal_dialog_window) return answer::cancelled;
    // The buttons send gadget events, Enter and Esc their shortcuts' menu events.
    if (event != event_code_gadget && event != event_code_menu) return answer::none;
    if (event_gadget() == dialog.cancel_button) return answer::cancelled;
    if (event_gadget() != dialog.ok_button) {
        if (dialog.clicked) dialog.clicked(event_gadget());
        return answer::none;
    }
    if (dialog.taken()) return answer::taken;
    MessageBeep(MB_ICONWARNING);
    return answer::none;
}

}  // namespace

bool modal_dialog_run(const modal_dialog& dialog) {
    const HWND owner = static_cast<HWND>(window_id(main_window));
    if (!window_open(modal_dialog_window, 0, 0, dialog.width, dialog.height, dialog.title, dialog_flags, owner))
        return false;
    gadget_list_create(window_id(modal_dialog_window));
    dialog.build();
    window_add_shortcut(modal_dialog_window, VK_RETURN, 0, dialog.ok_button);
    window_add_shortcut(modal_dialog_window, VK_ESCAPE, 0, dialog.cancel_button);
    EnableWindow(owner, FALSE);
    window_hide(modal_dialog_window, 0);
    SetFocus(static_cast<HWND>(gadget_id(dialog.first_focus)));
    answer given = answer::none;
    while (given == answer::none) {
        if (dialog.each_frame) dialog.each_frame();
        screen_flip_picture(scene_draw(), 1);
        for (int32_t event = window_event(); event != 0 && given == answer::none; event = window_event())
            given = take_event(dialog, event);
    }
    EnableWindow(owner, TRUE);
    window_free(modal_dialog_window);
    gadget_list_create(owner);
    return given == answer::taken;
}
