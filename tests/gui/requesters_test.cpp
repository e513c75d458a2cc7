// The requesters, answered by a second thread that finds the open dialog: the default
// file's folder and name, the selected pattern, cancelling, and the disabled windows.
#include <cstring>
#include <string>

#include "tests/gui/gui_test_support.h"

namespace {

constexpr const char* picture_pattern =
    "JPG|*.jpg;*.jpeg|Bitmap|*.bmp|PNG|*.png|TGA|*.tga|TIF|*.tif";

struct seen_dialog {
    std::string folder;
    std::string name;
    std::string title;
    LRESULT pattern = -1;
    bool other_window_enabled = true;
};

void look(HWND dialog, seen_dialog& seen, HWND other) {
    char text[MAX_PATH] = {};
    SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(text));
    seen.folder = text;
    text[0] = 0;
    SendMessageA(dialog, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(text));
    seen.name = text;
    GetWindowTextA(dialog, text, MAX_PATH);
    seen.title = text;
    seen.pattern = SendDlgItemMessageA(dialog, cmb1, CB_GETCURSEL, 0, 0);
    if (other) seen.other_window_enabled = IsWindowEnabled(other);
}

class requesters : public window_test {
  protected:
    void SetUp() override {
        window_test::SetUp();
        CreateDirectoryA("C:\\Prog", nullptr);
    }
};

TEST_F(requesters, default_file_gives_folder_and_name_and_confirming_returns_the_path) {
    ASSERT_NE(window_open(1, 500, 60, 100, 80, "other", 0x00CA0000), 0);
    auto other = static_cast<HWND>(window_id(1));
    SetForegroundWindow(window);
    seen_dialog seen;
    char* result;
    {
        dialog_helper helper([&](HWND dialog) {
            look(dialog, seen, other);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        result = requester_open_file("Bild f\xFCr die Oberseite", "C:\\Prog\\Box.jpg",
                                     picture_pattern, 4, 0);
    }
    EXPECT_EQ(seen.folder, "C:\\Prog");
    EXPECT_EQ(seen.name, "Box.jpg");
    EXPECT_EQ(seen.title, "Bild f\xFCr die Oberseite");
    EXPECT_EQ(seen.pattern, 4);
    EXPECT_EQ(requester_chosen_pattern(), 4);
    EXPECT_FALSE(seen.other_window_enabled);
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_STREQ(result, "C:\\Prog\\Box.jpg");
    EXPECT_EQ(temp_string().temp_length, int32_t(std::strlen(result)));
    temp_drop(temp_string().temp_length);
}

TEST_F(requesters, invalid_names_are_dropped_and_cancel_gives_the_empty_string) {
    const char* defaults[] = {"a:b", "\\x.jpg", "C:\\Prog\\"};
    for (const char* default_file : defaults) {
        seen_dialog seen;
        char* result;
        {
            dialog_helper helper([&](HWND dialog) {
                look(dialog, seen, nullptr);
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            });
            result =
                requester_save_file("Bild Abspeichern", default_file, "jpg (*.jpg)|*.jpg", 0, 0);
        }
        EXPECT_EQ(seen.name, "") << default_file;
        EXPECT_EQ(seen.pattern, 0);
        EXPECT_STREQ(result, "");
        temp_drop(temp_string().temp_length);
    }
}

TEST_F(requesters, colour_requester_answers_the_colour_or_none_when_cancelled) {
    uint32_t chosen;
    {
        dialog_helper helper([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
        chosen = requester_color(0x00123456);
    }
    EXPECT_EQ(chosen, 0x00123456u);
    {
        dialog_helper helper([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        chosen = requester_color();
    }
    EXPECT_EQ(chosen, color_none);
}

TEST(current_directory, ends_in_one_backslash) {
    SetCurrentDirectoryA("C:\\");
    EXPECT_STREQ(file_current_directory(0), "C:\\");
    temp_drop(temp_string().temp_length);
}

}  // namespace
