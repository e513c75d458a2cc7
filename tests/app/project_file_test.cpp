// Project files and the command line, without the window: what is written is read back,
// pictures beside the project are kept relative, and what must not be read is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/windows_host.h"

#include "app/export/view_set.h"
#include "app/project/command_line.h"
#include "app/project/project_file.h"
#include "tests/support/test_runtime.h"

namespace {

std::string full(const char* name) {
    char path[MAX_PATH] = {};
    GetFullPathNameA(name, MAX_PATH, path, nullptr);
    return path;
}

void write_text(const char* name, const std::string& text) { write_file(name, std::vector<uint8_t>(text.begin(), text.end())); }

project sample() {
    project p = {};
    p.size_depth = 7;
    p.turn_angle = -30;
    p.camera_distance = 52;
    p.floor_colour = 0x00102030;
    p.view.shadow = true;
    p.view.soft_edges = true;
    return p;
}

TEST(ProjectFile, WrittenProjectReadsBackWithPicturesBesideItRelative) {
    CreateDirectoryA("moving", nullptr);
    write_text("moving\\front.jpg", "x");
    project saved = sample();
    saved.pictures[3] = full("moving\\front.jpg");
    saved.pictures[4] = full("elsewhere.jpg");
    saved.sheet = full("moving\\sheet.jpg");
    ASSERT_EQ(project_write("moving\\box.tessaryn", saved), project_save_failure::none);
    const std::vector<uint8_t> bytes = read_file("moving\\box.tessaryn");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.find("[Tessaryn]\r\nVersion=1"), 0u) << text;
    EXPECT_NE(text.find("Front=front.jpg"), std::string::npos) << text;
    EXPECT_NE(text.find("Sheet=sheet.jpg"), std::string::npos) << text;

    project read = {};
    const project_reading reading = project_read(full("moving\\box.tessaryn").c_str(), read);
    EXPECT_EQ(reading.refusal, project_refusal::none);
    EXPECT_EQ(reading.values_not_taken, 0);
    EXPECT_EQ(read.pictures[3], saved.pictures[3]);
    EXPECT_EQ(read.sheet, saved.sheet);
    EXPECT_EQ(reading.picture_problems[4], path_problem::missing);
    EXPECT_EQ(read.size_depth, 7);
    EXPECT_EQ(read.turn_angle, -30);
    EXPECT_EQ(read.camera_distance, 52);
    EXPECT_EQ(read.floor_colour, 0x00102030u);
    EXPECT_TRUE(read.view.shadow && read.view.soft_edges && !read.view.light);
}

// A failed save leaves no file behind, or the old one whole.
TEST(ProjectFile, FailedSavesLeaveNothingOrTheOldFile) {
    EXPECT_NE(project_write("no_such_folder\\box.tessaryn", sample()), project_save_failure::none);
    EXPECT_FALSE(file_exists("no_such_folder\\box.tessaryn"));
    SetFileAttributesA("kept.tessaryn", FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(project_write("kept.tessaryn", sample()), project_save_failure::none);
    const std::vector<uint8_t> old = read_file("kept.tessaryn");
    SetFileAttributesA("kept.tessaryn", FILE_ATTRIBUTE_READONLY);
    project changed = sample();
    changed.size_depth = 2;
    EXPECT_EQ(project_write("kept.tessaryn", changed), project_save_failure::refused);
    EXPECT_EQ(read_file("kept.tessaryn"), old);
    SetFileAttributesA("kept.tessaryn", FILE_ATTRIBUTE_NORMAL);
}

// Refused files leave the project as it was; taken ones keep what is unusable as it was.
TEST(ProjectFile, HostileFilesAreRefusedOrTakenInPart) {
    CreateDirectoryA("folder.tessaryn", nullptr);
    write_text("later.tessaryn", "[Tessaryn]\r\nVersion=2\r\n");
    write_text("text.tessaryn", "hello");
    write_text("mixed.tessaryn", "[Tessaryn]\r\nVersion=1\r\n[Box]\r\nDepth=12x\r\n[View]\r\nTurnAngle=999999999\r\n"
                                 "FloorColour=1000000\r\n[Faces]\r\nTop=CON\r\nRight=\\\\.\\C:\r\nLeft=COM3.jpg\r\n"
                                 "Front=.\r\nBack=\\\\server\\share\\b.jpg\r\n");
    const struct {
        const char* file;
        project_refusal refusal;
    } refused[] = {{"folder.tessaryn", project_refusal::unreadable}, {"NUL", project_refusal::unreadable},
                   {"later.tessaryn", project_refusal::later_version}, {"text.tessaryn", project_refusal::not_a_project}};
    for (const auto& file : refused) {
        project kept = sample();
        EXPECT_EQ(project_read(file.file, kept).refusal, file.refusal) << file.file;
        EXPECT_EQ(kept.size_depth, 7) << file.file;
    }
    project mixed = sample();
    const project_reading reading = project_read(full("mixed.tessaryn").c_str(), mixed, network_pictures::held);
    EXPECT_EQ(reading.values_not_taken, 3);
    EXPECT_EQ(reading.picture_problems[4], path_problem::network) << "not looked at before the user agreed";
    EXPECT_FALSE(mixed.view.shadow) << "left out: the program's default, not what was there";
    EXPECT_FALSE(project_equal(mixed, sample()));
    EXPECT_EQ(mixed.size_depth, 7);
    EXPECT_EQ(mixed.turn_angle, 100000);
    EXPECT_EQ(mixed.floor_colour, 0x00102030u);
    const path_problem expected[] = {path_problem::device, path_problem::device, path_problem::device, path_problem::folder};
    for (int face = 0; face < 4; ++face) EXPECT_EQ(reading.picture_problems[face], expected[face]) << "face " << face;
}

TEST(CommandLine, ArgumentsChooseTheRun) {
    const struct {
        std::vector<const char*> arguments;
        command_mode mode;
        int32_t size;
    } cases[] = {
        {{}, command_mode::window, 0},
        {{"/?"}, command_mode::usage, 0},
        {{"box.tessaryn"}, command_mode::window_with_project, 0},
        {{"box.tessaryn", "/export", "b.png"}, command_mode::export_project, 2048},
        {{"box.tessaryn", "/EXPORT", "B.PNG", "/size", "4096"}, command_mode::export_project, 4096},
        {{"box.tessaryn", "/export", "b.jpg", "/size", "295"}, command_mode::export_project, 295},
        {{"box.tessaryn", "/export", "b.png", "/size", "295"}, command_mode::wrong, 0},
        {{"box.tessaryn", "/export", "b.gif"}, command_mode::wrong, 0},
        {{"box.tessaryn", "/size", "4096"}, command_mode::wrong, 0},
        {{"box.tessaryn", "/export"}, command_mode::wrong, 0},
        {{"box.tessaryn", "/export-set", "shop\\b.jpg", "/nofill"}, command_mode::export_project, 2048},
        {{"box.tessaryn", "/export-set", "b.jpg", "/size", "295"}, command_mode::wrong, 0},
        {{"box.tessaryn", "/fill"}, command_mode::wrong, 0},
        {{"/x"}, command_mode::wrong, 0},
    };
    for (const auto& c : cases) {
        const command read = command_read(int(c.arguments.size()), c.arguments.data());
        const std::string call = c.arguments.empty() ? "(none)" : c.arguments.back();
        EXPECT_EQ(read.mode, c.mode) << call;
        EXPECT_EQ(read.size, c.size) << call;
        EXPECT_EQ(read.mode == command_mode::wrong, !read.complaint.empty()) << call;
        const bool png = read.mode == command_mode::export_project && call != "295" && call != "/nofill";
        EXPECT_EQ(read.transparent, png) << call;
        EXPECT_EQ(read.view_set, call == "/nofill") << call;
    }
    const char* const fill[] = {"box.tessaryn", "/export-set", "b.png", "/FILL"};
    EXPECT_EQ(command_read(4, fill).fill, fill_choice::on);
    const char* const print_template[] = {"box.tessaryn", "/export-template", "vorlage.png"};
    EXPECT_TRUE(command_read(3, print_template).print_template);
    const char* const not_png[] = {"box.tessaryn", "/export-template", "vorlage.jpg"};
    EXPECT_EQ(command_read(3, not_png).mode, command_mode::wrong);
    EXPECT_EQ(set_file_name("shop\\box.jpg", export_types[1], set_views[6]), "shop\\box-rechts-vorne.png");
}

}  // namespace
