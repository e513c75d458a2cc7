// The keyboard's answers through its states: before any poll, with a key held down by
// SendInput, after the acquisition was lost to another window, and once it is back.
#include <gtest/gtest.h>

#include "tests/screen/screen_test_support.h"

namespace {

constexpr int32_t dik_up = 200, dik_down = 208;
constexpr WORD up_scan_code = 0x48;  // extended: DIK_UP

void send_up_arrow(bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_UP;
    input.ki.wScan = up_scan_code;
    input.ki.dwFlags = KEYEVENTF_EXTENDEDKEY | (down ? 0 : KEYEVENTF_KEYUP);
    SendInput(1, &input, sizeof input);
}

// DirectInput sees input on a thread of its own: give it a moment.
void settle() {
    for (int turn = 0; turn < 10; ++turn) {
        pump_messages();
        Sleep(10);
    }
}

void bring_forward(const test_window& window) {
    SetForegroundWindow(window.handle());
    settle();
}

TEST(Keyboard, AnswersFollowThePollsAndTheAcquisition) {
    EXPECT_EQ(keyboard_key_down(dik_up), 0);
    EXPECT_EQ(keyboard_key_down(keyboard_any_key), 0);

    test_window& window = shared_window(100, 100, 200, 150);
    ASSERT_EQ(screen_open_windowed(window.handle(), 0, 0, 100, 100, 0, 0, 0), 1);
    bring_forward(window);
    ASSERT_EQ(keyboard_poll(), 1);
    EXPECT_EQ(keyboard_key_down(keyboard_any_key), 0);

    send_up_arrow(true);
    settle();
    ASSERT_EQ(keyboard_poll(), 1);
    EXPECT_EQ(keyboard_key_down(dik_up), 128);
    EXPECT_EQ(keyboard_key_down(keyboard_any_key), 1);
    EXPECT_EQ(keyboard_key_down(dik_down), 0);
    EXPECT_EQ(keyboard_key_down(256), 0);

    {
        test_window other(350, 100, 100, 100);
        bring_forward(other);
        EXPECT_EQ(keyboard_poll(), 0);
        EXPECT_EQ(keyboard_key_down(dik_up), 0);
        bring_forward(window);
    }
    send_up_arrow(false);
    settle();
    EXPECT_EQ(keyboard_poll(), 1);
    EXPECT_EQ(keyboard_key_down(dik_up), 0);
    EXPECT_EQ(keyboard_init(), 1);
    EXPECT_EQ(mouse_init(), 1);
    mouse_end();
    screen_close();
}

}  // namespace
