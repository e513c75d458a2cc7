// What the user hears when an action fails: a message box naming the file, after which
// Tessaryn goes on as before and the face atlas is untouched.
#include <gtest/gtest.h>

#include "tests/e2e/dialog_answers.h"
#include "tests/e2e/tessaryn_process.h"
#include "tests/support/test_runtime.h"

namespace {

class FailureMessages : public testing::Test {
protected:
    void SetUp() override {
        start_image_runtime();
        folder_ = full_path("failures");
        ASSERT_TRUE(prepare_model_folder(folder_, {}));
        ASSERT_TRUE(program_.start(build_path("bin/Tessaryn.exe"), folder_));
        window_ = program_.main_window();
        ASSERT_NE(window_, nullptr);
        atlas_ = read_file(folder_ + "\\model\\cube1.jpg");
    }
    void TearDown() override {
        PostMessageA(window_, WM_CLOSE, 0, 0);
        EXPECT_EQ(program_.wait_for_exit(20000), 0u);
    }

    void click(int number) { PostMessageA(GetDlgItem(window_, number), BM_CLICK, 0, 0); }
    void expect_atlas_unchanged() {
        EXPECT_EQ(read_file(folder_ + "\\model\\cube1.jpg"), atlas_);
    }

    tessaryn_process program_;
    std::string folder_;
    HWND window_ = nullptr;
    std::vector<uint8_t> atlas_;
};

TEST_F(FailureMessages, UnreadablePictureIsNamedAndTheFaceKeepsItsPicture) {
    const std::string picture = full_path("damaged.jpg");
    write_file(picture, {0xFF, 0xD8, 0xFF, 0x00});
    click(7);
    ASSERT_TRUE(answer_file_dialog(program_, "Bild f\xFCr die Rechteseite", picture));
    const std::string message = dismiss_message(program_);
    EXPECT_NE(message.find(picture), std::string::npos) << message;
    EXPECT_NE(message.find("nicht gelesen"), std::string::npos) << message;
    expect_atlas_unchanged();
}

// A viewer keeps the atlas open, letting others read it but not replace it, for longer
// than a save waits: the choice is told as lost to the other program.
TEST_F(FailureMessages, AtlasHeldByAnotherProgramIsNamedAsInUse) {
    const std::string picture = full_path("held_face.bmp");
    ASSERT_NE(image_create(900, 8, 8), 0);
    ASSERT_EQ(image_save(900, picture.c_str(), plugin_bmp, 0), 1);
    image_free(900);
    HANDLE viewer = CreateFileA((folder_ + "\\model\\cube1.jpg").c_str(), GENERIC_READ,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    click(7);
    ASSERT_TRUE(answer_file_dialog(program_, "Bild f\xFCr die Rechteseite", picture));
    const std::string message = dismiss_message(program_);
    CloseHandle(viewer);
    EXPECT_NE(message.find("anderen Programm"), std::string::npos) << message;
    expect_atlas_unchanged();
}

TEST_F(FailureMessages, SnapshotIntoAFolderThatRefusesItIsNamed) {
    const std::string folder = locked_folder();
    if (folder.empty()) GTEST_SKIP() << "no folder that refuses new files here";
    const std::string snapshot = folder + "\\snapshot.jpg";
    click(13);
    ASSERT_TRUE(answer_file_dialog(program_, "Bild Abspeichern", snapshot));
    const std::string message = dismiss_message(program_);
    EXPECT_NE(message.find(snapshot), std::string::npos) << message;
    EXPECT_NE(message.find("nicht gespeichert"), std::string::npos) << message;
    EXPECT_FALSE(file_exists(snapshot));
    click(13);
    ASSERT_TRUE(answer_file_dialog(program_, "Bild Abspeichern", folder + "\\export", 2));
    const std::string export_message = dismiss_message(program_);
    EXPECT_NE(export_message.find(folder + "\\export.png"), std::string::npos) << export_message;
    EXPECT_FALSE(file_exists(folder + "\\export.png"));
    expect_atlas_unchanged();
}

}  // namespace
