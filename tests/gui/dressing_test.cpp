// Fonts by name and point size, the menu bar and the status bar with its fields.
#include "tests/gui/gui_test_support.h"

namespace {

LOGFONTA description(object_number font) {
    LOGFONTA logical = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(font), sizeof logical, &logical);
    return logical;
}

TEST(fonts, point_sizes_become_character_heights_at_96_dpi) {
    object_number first = font_load(0, "arial", 9, font_bold);
    object_number large = font_load(1, "arial", 14, font_bold);
    EXPECT_EQ(description(first).lfHeight, -12);
    EXPECT_EQ(description(first).lfWeight, FW_BOLD);
    EXPECT_EQ(description(large).lfHeight, -19);

    object_number again = font_load(0, "arial", 9, font_bold | font_italic | font_underline);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(first)), 0u);
    LOGFONTA styled = description(again);
    EXPECT_TRUE(styled.lfItalic);
    EXPECT_TRUE(styled.lfUnderline);
    EXPECT_FALSE(styled.lfStrikeOut);
    font_free_all();
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(large)), 0u);
}

using dressing = window_test;

TEST_F(dressing, menu_title_shows_the_bar_on_its_window) {
    object_number bar = menu_create(0, window);
    ASSERT_NE(bar, 0);
    EXPECT_EQ(GetMenu(window), nullptr);
    menu_title("Info");
    EXPECT_EQ(reinterpret_cast<object_number>(GetMenu(window)), bar);
    char title[16] = {};
    GetMenuStringA(GetMenu(window), 0, title, sizeof title, MF_BYPOSITION);
    EXPECT_STREQ(title, "Info");
    menu_item(1, "Eins");
    EXPECT_EQ(menu_bar(), 1);
    EXPECT_EQ(GetMenuState(GetSubMenu(GetMenu(window), 0), 1, MF_BYPOSITION) & MF_SEPARATOR,
              UINT(MF_SEPARATOR));
    menu_item(2, "Licht");
    EXPECT_EQ(menu_set_item_state(0, 2, 1), 1);
    EXPECT_EQ(menu_item_state(0, 2), 1);
    menu_set_item_state(0, 2, 0);
    EXPECT_EQ(menu_item_state(0, 2), 0);
    EXPECT_EQ(menu_set_item_state(0, 99, 1), 0) << "an item the bar does not hold";
    EXPECT_EQ(menu_insert_item(0, 2, 3, "Neu"), 1);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(GetMenu(window), 0), 2), 3u) << "before the item it names";
    menu_insert_item(0, 2, 0, nullptr);
    EXPECT_EQ(menu_remove_separator_before(0, 2), 1);
    EXPECT_EQ(menu_remove_separator_before(0, 2), 0) << "only a separating line";
    EXPECT_EQ(menu_disable_item(0, 3, 1), 1);
    EXPECT_TRUE(GetMenuState(GetMenu(window), 3, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(menu_remove_item(0, 3), 1);
    EXPECT_EQ(menu_remove_item(0, 3), 0) << "gone";
    window_free(0);
    EXPECT_EQ(menu_free(0), 0);
}

TEST_F(dressing, status_bar_fields_lie_side_by_side) {
    ASSERT_NE(statusbar_create(0, window), 0);
    statusbar_add_field(100);
    statusbar_add_field(50);
    statusbar_add_field(200);
    HWND bar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
    int edges[4] = {};
    ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 100);
    EXPECT_EQ(edges[1], 150);
    EXPECT_EQ(edges[2], 350);

    statusbar_set_text(0, 1, "Mitte", statusbar_centered | statusbar_right);
    char text[16] = {};
    SendMessageA(bar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "\tMitte");
}

// The bar's pixels as a screen copy shows them.
std::vector<COLORREF> bar_pixels(HWND bar) {
    RECT area;
    GetClientRect(bar, &area);
    HDC dc = GetDC(bar);
    std::vector<COLORREF> pixels;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(bar, dc);
    return pixels;
}

TEST_F(dressing, status_bar_text_changed_in_its_middle_shows_as_if_painted_whole) {
    ASSERT_NE(statusbar_create(0, window), 0);
    statusbar_add_field(300);
    HWND bar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
    statusbar_set_text(0, 0, "Box: 100 x 100 x 100 mm (Breite x H\xF6he x Tiefe)");
    statusbar_set_text(0, 0, "Box: 100 x 80 x 100 mm (Breite x H\xF6he x Tiefe)");
    const std::vector<COLORREF> changed = bar_pixels(bar);
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
    EXPECT_TRUE(changed == bar_pixels(bar)) << "the changed text differs from the whole bar painted again";
}

TEST_F(dressing, status_bar_follows_the_bottom_edge_until_freed) {
    ASSERT_NE(statusbar_create(0, window), 0);
    HWND bar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
    SetWindowPos(window, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    RECT client, area;
    GetClientRect(window, &client);
    GetWindowRect(bar, &area);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(area.bottom, client.bottom);
    statusbar_free(0);
    EXPECT_FALSE(IsWindow(bar));
    SetWindowPos(window, nullptr, 0, 0, 450, 350, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(statusbar_add_field(100), 0);
}

}  // namespace
