// Gadgets driven as a user would: clicks, scroll bar arrows and thumb, focus changes,
// colours with their shared brushes, replacement under a number in use, containers.
#include "tests/gui/gui_test_support.h"

namespace {

using gadgets = window_test;

POINT centre_of(object_number gadget) {
    auto control = static_cast<HWND>(gadget_id(gadget));
    RECT client;
    GetClientRect(control, &client);
    return on_screen(control, client.right / 2, client.bottom / 2);
}

HBRUSH static_brush(HWND window, object_number gadget, COLORREF* back = nullptr) {
    HDC dc = GetDC(window);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(gadget_id(gadget))));
    if (back) *back = GetBkColor(dc);
    ReleaseDC(window, dc);
    return brush;
}

// Presses the thumb at the left end of a 200-pixel bar and drags it in steps to the right.
DWORD WINAPI drag_thumb_right(void* bar) {
    auto control = static_cast<HWND>(bar);
    int32_t arrow = GetSystemMetrics(SM_CXHSCROLL);
    mouse_move(on_screen(control, arrow + 4, 9));
    mouse_button(true);
    for (int32_t x = arrow + 30; x <= 200; x += 30) {
        Sleep(60);
        mouse_move(on_screen(control, x, 9));
    }
    Sleep(60);
    mouse_button(false);
    return 0;
}

TEST_F(gadgets, button_click_reports_its_number) {
    gadget_button(13, 20, 20, 120, 30, "Bild Speichern");
    click(centre_of(13));
    std::vector<polled_event> clicks = gadget_events(collect_events(), 13);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].type, 0);
}

TEST_F(gadgets, scroll_bar_arrow_click_gives_two_events_and_moves_by_one) {
    gadget_scrollbar(15, 20, 20, 110, 18, 1, 10, 1);
    gadget_set_state(15, 5);
    EXPECT_EQ(gadget_get_state(15), 5);
    auto bar = static_cast<HWND>(gadget_id(15));
    click(on_screen(bar, 110 - GetSystemMetrics(SM_CXHSCROLL) / 2, 9));
    EXPECT_EQ(gadget_events(collect_events(), 15).size(), 2u);
    EXPECT_EQ(gadget_get_state(15), 6);
}

TEST_F(gadgets, scroll_bar_positions_stop_a_page_before_the_maximum) {
    gadget_scrollbar(18, 20, 20, 110, 18, 1, 360, 5);
    gadget_set_state(18, 1000);
    EXPECT_EQ(gadget_get_state(18), 355);
    EXPECT_EQ(gadget_get_attribute(18, scrollbar_maximum), 360);
    // A lower maximum pulls the position in, as the host reports it too.
    gadget_set_attribute(18, scrollbar_maximum, 100);
    EXPECT_EQ(gadget_get_state(18), 95);
    EXPECT_EQ(GetScrollPos(static_cast<HWND>(gadget_id(18)), SB_CTL), 95);
}

TEST_F(gadgets, scroll_bar_thumb_drag_reports_each_step) {
    gadget_scrollbar(15, 20, 20, 200, 18, 1, 10, 1);
    gadget_set_state(15, 1);
    HANDLE mover = CreateThread(nullptr, 0, drag_thumb_right, gadget_id(15), 0, nullptr);
    // A loaded machine can pause the mover longer than any quiet spell: poll until it is done.
    std::vector<polled_event> events;
    for (int waited = 0; waited < 10000 && WaitForSingleObject(mover, 0) == WAIT_TIMEOUT; waited += 20) {
        std::vector<polled_event> more = collect_events(20);
        events.insert(events.end(), more.begin(), more.end());
    }
    CloseHandle(mover);
    std::vector<polled_event> rest = collect_events(200);
    events.insert(events.end(), rest.begin(), rest.end());
    // At least one track step, the thumb position and the end of scrolling.
    EXPECT_GE(gadget_events(events, 15).size(), 3u);
    EXPECT_EQ(gadget_get_state(15), 9);
}

TEST_F(gadgets, string_fields_report_focus_gained_and_lost) {
    gadget_string(30, 20, 20, 180, 25, "Bitte ein Bild Ausw\xE4hlen", string_read_only);
    gadget_string(31, 20, 50, 180, 25, "", 0);
    SetFocus(static_cast<HWND>(gadget_id(30)));
    SetFocus(static_cast<HWND>(gadget_id(31)));
    std::vector<polled_event> events = collect_events();
    std::vector<polled_event> first = gadget_events(events, 30);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].type, event_type_focus_gained);
    EXPECT_EQ(first[1].type, event_type_focus_lost);
    ASSERT_EQ(gadget_events(events, 31).size(), 1u);
    EXPECT_EQ(gadget_events(events, 31)[0].type, event_type_focus_gained);

    wchar_t shown[64] = {};
    GetWindowTextW(static_cast<HWND>(gadget_id(30)), shown, 64);
    EXPECT_STREQ(shown, L"Bitte ein Bild Ausw\x00E4hlen");
}

// The field tells its window of the new text at once, while no poll is running.
TEST_F(gadgets, text_set_outside_a_poll_raises_no_event_later) {
    gadget_string(30, 20, 20, 180, 25, "", string_read_only);
    gadget_button(13, 20, 60, 120, 30, "Bild Speichern");
    collect_events();
    gadget_set_text(30, "C:\\bilder\\oben.jpg");
    click(centre_of(13));
    const std::vector<polled_event> events = collect_events();
    EXPECT_EQ(count_code(events, event_code_gadget), 1);
    EXPECT_EQ(gadget_events(events, 13).size(), 1u);
}

TEST_F(gadgets, texts_with_one_back_colour_share_one_brush) {
    gadget_text(22, 10, 10, 100, 20, "Tiefe der Box");
    gadget_text(23, 10, 40, 100, 20, "Breite der Box");
    gadget_set_color(22, color_back, 0x00123456);
    gadget_set_color(23, color_back, 0x00123456);
    COLORREF back = 0;
    HBRUSH shared = static_brush(window, 22, &back);
    EXPECT_EQ(back, 0x00123456u);
    EXPECT_EQ(static_brush(window, 23), shared);
    gadget_free(22);
    EXPECT_EQ(GetObjectType(shared), DWORD(OBJ_BRUSH));
    gadget_free(23);
    EXPECT_EQ(GetObjectType(shared), 0u);
}

TEST_F(gadgets, read_only_field_keeps_its_back_colour_but_not_when_disabled) {
    gadget_string(30, 20, 20, 180, 25, "x", string_read_only);
    gadget_set_color(30, color_back, 0x0000FF00);
    COLORREF back = 0;
    HBRUSH green = static_brush(window, 30, &back);
    EXPECT_NE(green, nullptr);
    EXPECT_EQ(back, 0x0000FF00u);
    gadget_disable(30, 1);
    EXPECT_NE(static_brush(window, 30), green);
    gadget_set_color(30, color_back, color_none);
    EXPECT_EQ(gadget_get_color(30, color_back), color_none);
}

TEST_F(gadgets, editor_background_follows_the_colour_and_returns_to_default) {
    gadget_editor(36, 135, 20, 30, 30);
    gadget_set_color(36, color_back, 0x00FFFFFF);
    auto editor = static_cast<HWND>(gadget_id(36));
    // The host answers the previous background colour.
    EXPECT_EQ(SendMessageA(editor, EM_SETBKGNDCOLOR, 0, 0x00010203), 0x00FFFFFF);
    gadget_set_attribute(36, editor_read_only, 1);
    EXPECT_EQ(gadget_get_attribute(36, editor_read_only), 1);
}

TEST_F(gadgets, editor_lines_are_items) {
    gadget_editor(36, 20, 20, 200, 100);
    gadget_add_item(36, -1, "one");
    gadget_add_item(36, -1, "three");
    gadget_add_item(36, 1, "two");
    EXPECT_EQ(gadget_count_items(36), 3);
    EXPECT_STREQ(gadget_get_item_text(36, 1, 0), "two");
    gadget_set_item_text(36, 2, "drei");
    gadget_remove_item(36, 0);
    EXPECT_STREQ(gadget_get_item_text(36, 1, 0), "drei");
    gadget_clear_items(36);
    EXPECT_EQ(gadget_count_items(36), 0);
}

TEST_F(gadgets, a_new_gadget_under_a_number_in_use_replaces_the_old_one) {
    gadget_scrollbar(15, 20, 20, 110, 18, 1, 10, 1);
    auto first = static_cast<HWND>(gadget_id(15));
    gadget_scrollbar(15, 20, 50, 110, 18, 1, 10, 1);
    EXPECT_FALSE(IsWindow(first));
    auto second = static_cast<HWND>(gadget_id(15));
    EXPECT_TRUE(IsWindow(second));
    EXPECT_NE(second, first);
    EXPECT_EQ(gadget_get_state(15), 1);
}

TEST_F(gadgets, hiding_a_container_hides_what_it_holds) {
    gadget_container(39, 200, 20, 150, 150);
    gadget_button(13, 10, 10, 80, 24, "inside");
    gadget_list_close();
    auto inside = static_cast<HWND>(gadget_id(13));
    EXPECT_EQ(GetParent(inside), gadget_id(39));
    gadget_hide(39, 1);
    EXPECT_FALSE(IsWindowVisible(inside));
    gadget_hide(39, 0);
    EXPECT_TRUE(IsWindowVisible(inside));
    click(centre_of(13));
    EXPECT_EQ(gadget_events(collect_events(), 13).size(), 1u);
    window_free(0);
    EXPECT_EQ(gadget_id(13), nullptr);
    EXPECT_EQ(gadget_id(39), nullptr);
}

TEST_F(gadgets, default_font_applies_to_gadgets_made_afterwards) {
    object_number bold = font_load(0, "arial", 14, font_bold);
    gadget_set_font(object_any, bold);
    gadget_button(42, 10, 10, 25, 25, "+");
    EXPECT_EQ(SendMessageA(static_cast<HWND>(gadget_id(42)), WM_GETFONT, 0, 0), bold);
    gadget_set_font(object_any, default_gui_font);
    gadget_button(43, 40, 10, 25, 25, "-");
    EXPECT_EQ(
        reinterpret_cast<HGDIOBJ>(SendMessageA(static_cast<HWND>(gadget_id(43)), WM_GETFONT, 0, 0)),
        GetStockObject(DEFAULT_GUI_FONT));
    font_free(0);
}

TEST_F(gadgets, freeing_or_replacing_the_default_font_gives_later_gadgets_the_host_font) {
    const auto host_font = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    auto font_of = [](object_number gadget) {
        return SendMessageA(static_cast<HWND>(gadget_id(gadget)), WM_GETFONT, 0, 0);
    };
    gadget_set_font(object_any, font_load(0, "arial", 9, font_bold));
    font_load(0, "arial", 14, font_bold);
    gadget_button(42, 10, 10, 25, 25, "+");
    EXPECT_EQ(font_of(42), host_font) << "replaced";
    gadget_set_font(object_any, font_load(1, "arial", 9, 0));
    font_free(1);
    gadget_button(43, 40, 10, 25, 25, "-");
    EXPECT_EQ(font_of(43), host_font) << "freed";
    font_free(0);
}

}  // namespace
