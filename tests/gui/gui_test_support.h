// Shared by the window system tests: a visible test window, collecting the events that
// polls return, user input through the host's input queue, and answering dialogs.
#pragma once

#include <gtest/gtest.h>

#include "runtime/core/windows_host.h"
// clang-format off: these depend on <windows.h> above.
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <richedit.h>
// clang-format on

#include <functional>
#include <vector>

#include "runtime/gui/gui.h"

struct polled_event {
    int32_t code;
    object_number gadget;
    object_number window;
    int32_t type;
};

// Polls until nothing more arrives for `quiet_ms` (or a second and a half passed); every
// code other than 0 is kept.
std::vector<polled_event> collect_events(int32_t quiet_ms = 150);
// The gadget events of one gadget among them.
std::vector<polled_event> gadget_events(const std::vector<polled_event>& events,
                                        object_number gadget);
int32_t count_code(const std::vector<polled_event>& events, int32_t code);

// Screen position of a point in a window's client area.
POINT on_screen(HWND window, int32_t x, int32_t y);
void mouse_move(POINT at);
void mouse_button(bool down);
void click(POINT at);
void key(WORD virtual_key, bool down);

// Runs `answer` on a second thread once a dialog of this process is open; join() waits.
class dialog_helper {
  public:
    explicit dialog_helper(std::function<void(HWND dialog)> answer);
    ~dialog_helper();
    dialog_helper(const dialog_helper&) = delete;
    dialog_helper& operator=(const dialog_helper&) = delete;

  private:
    HANDLE thread_;
    std::function<void(HWND)> answer_;
};

// Window 0, visible, in front and with the input focus; gadgets go into it.
class window_test : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    HWND window = nullptr;
};
