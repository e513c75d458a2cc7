// Windows and the event queue: placement, the close request, merged moves and what a
// poll returns.
#include "tests/gui/gui_test_support.h"

namespace {

constexpr int32_t main_window_flags = 0x10CA0001;

SIZE outer_size(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    return {area.right - area.left, area.bottom - area.top};
}

TEST(window_open, centres_on_the_screen_and_stays_hidden_until_shown) {
    ASSERT_NE(window_open(3, 382, 308, 650, 500, "Tessaryn", main_window_flags), 0);
    auto window = static_cast<HWND>(window_id(3));
    EXPECT_FALSE(IsWindowVisible(window));
    RECT client, area;
    GetClientRect(window, &client);
    GetWindowRect(window, &area);
    EXPECT_EQ(client.right, 650);
    EXPECT_EQ(client.bottom, 500);
    SIZE outer = outer_size(window);
    EXPECT_EQ(area.left, (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2);
    EXPECT_EQ(area.top, (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME);
    window_hide(3, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    window_free(3);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(window_id(3), nullptr);
}

TEST(window_open, centred_window_larger_than_the_screen_is_made_the_screen_size) {
    const int32_t screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int32_t screen_height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_NE(window_open(5, 0, 0, screen_width + 300, screen_height + 200, "gross",
                          main_window_flags),
              0);
    auto window = static_cast<HWND>(window_id(5));
    RECT area;
    GetWindowRect(window, &area);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right - area.left, screen_width);
    EXPECT_EQ(area.bottom - area.top, screen_height);
    window_free(5);
}

TEST(window_open, plain_flags_give_a_captioned_window_where_asked) {
    ASSERT_NE(window_open(4, 70, 80, 200, 100, nullptr, 0), 0);
    auto window = static_cast<HWND>(window_id(4));
    RECT area;
    GetWindowRect(window, &area);
    EXPECT_EQ(area.left, 70);
    EXPECT_EQ(area.top, 80);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(IsWindowVisible(window));
    window_free(4);
}

using window_events = window_test;

TEST_F(window_events, close_box_queues_close_and_leaves_the_window_open) {
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(window_event(), event_code_close);
    EXPECT_EQ(event_window(), 0);
    EXPECT_TRUE(IsWindow(window));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(count_code(collect_events(), event_code_close), 1) << "a posted close is one event";
}

TEST_F(window_events, moves_during_one_dispatch_merge_into_one_event) {
    SetWindowPos(window, nullptr, 90, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(window, nullptr, 120, 95, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    std::vector<polled_event> events = collect_events();
    EXPECT_EQ(count_code(events, event_code_move), 1);
}

TEST_F(window_events, poll_answers_zero_when_idle_and_the_host_code_otherwise) {
    EXPECT_EQ(window_event(), 0);
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    EXPECT_EQ(window_event(), WM_MOUSEMOVE);
    EXPECT_EQ(window_event(), 0);
}

TEST_F(window_events, tab_and_shift_tab_wrap_round_the_tab_stops) {
    gadget_button(10, 10, 10, 80, 24, "a");
    gadget_button(11, 10, 40, 80, 24, "b");
    gadget_button(12, 10, 70, 80, 24, "c");
    SetFocus(static_cast<HWND>(gadget_id(12)));
    key(VK_TAB, true);
    key(VK_TAB, false);
    collect_events();
    EXPECT_EQ(GetFocus(), gadget_id(10));
    key(VK_SHIFT, true);
    key(VK_TAB, true);
    key(VK_TAB, false);
    key(VK_SHIFT, false);
    collect_events();
    EXPECT_EQ(GetFocus(), gadget_id(12));
}

TEST_F(window_events, tab_in_an_editable_editor_types_a_tab) {
    gadget_button(10, 10, 10, 80, 24, "a");
    gadget_editor(11, 10, 40, 200, 60);
    SetFocus(static_cast<HWND>(gadget_id(11)));
    key(VK_TAB, true);
    key(VK_TAB, false);
    collect_events();
    EXPECT_EQ(GetFocus(), gadget_id(11));
    EXPECT_STREQ(gadget_get_text(11, 0), "\t");
}

}  // namespace
