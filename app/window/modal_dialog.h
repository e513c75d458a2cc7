// A small window of the gui library's own gadgets over the main window, kept modal by
// disabling the main window while its own event loop runs and keeps the preview presented.
// Enter answers OK and Esc Abbrechen, through the window's shortcuts.
#pragma once

#include <cstdint>
#include <functional>

#include "runtime/gui/gui.h"

constexpr object_number modal_dialog_window = 1;

struct modal_dialog {
    const char* title;
    int32_t width, height;
    object_number first_focus, ok_button, cancel_button;
    std::function<void()> build;       // the gadgets, on the dialog's own gadget list
    std::function<bool()> taken;       // on OK: whether the answer stands; if not, it said why
    std::function<void()> each_frame;  // optional: what follows the user's typing
    std::function<void(object_number gadget)> clicked;  // optional: any other gadget's event
};

// True when OK was answered and taken; false when cancelled or the window could not open.
bool modal_dialog_run(const modal_dialog& dialog);
