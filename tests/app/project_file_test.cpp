// Project files and the command line, without the window: what is written is read back,
// pictures beside the project are kept relative, and what must not be read is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/windows_host.h"

#include "app/export/sets/spin_set.h"
#include "app/export/sets/view_set.h"
#include "app/project/box_shape.h"
#include "app/project/command_line.h"
#include "app/project/project_file.h"
#include "app/project/whole_file.h"
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
    p.box = {135, 190, 14.25};
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
    EXPECT_TRUE(read.box == saved.box) << "the millimetres";
    EXPECT_NE(text.find("DepthMm=14.25"), std::string::npos) << text;
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

// The undo history keeps the atlas whole or not at all: a file another program holds, or an
// empty one, gives no bytes that could later be written back over it.
TEST(ProjectFile, HistoryTakesAWholeAtlasOrNothing) {
    write_text("atlas.jpg", std::string(70000, 'a') + "end");
    const file_bytes whole = whole_file("atlas.jpg");
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->size(), 70003u);
    HANDLE held = CreateFileA("atlas.jpg", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(whole_file("atlas.jpg"), nullptr) << "held by another program";
    CloseHandle(held);
    write_text("empty.jpg", "");
    EXPECT_EQ(whole_file("empty.jpg"), nullptr);
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
    EXPECT_TRUE(mixed.box == box_size{}) << "an older file: the box is its steps";
    EXPECT_EQ(mixed.turn_angle, 100000);
    EXPECT_EQ(mixed.floor_colour, 0x00102030u);
    const path_problem expected[] = {path_problem::device, path_problem::device, path_problem::device, path_problem::folder};
    for (int face = 0; face < 4; ++face) EXPECT_EQ(reading.picture_problems[face], expected[face]) << "face " << face;
}

// Sizes that are no number, out of range or out of proportion keep the box, steps and all.
TEST(ProjectFile, RefusedSizesAreNamedAndKeepTheBox) {
    for (const char* sizes : {"WidthMm=nan", "WidthMm=1e400", "WidthMm=0", "WidthMm=-5", "WidthMm=12,5", "WidthMm=2000.5", "WidthMm=1500"}) {
        write_text("sizes.tessaryn", std::string("[Tessaryn]\r\nVersion=1\r\n[Box]\r\nDepth=2\r\nHeightMm=190\r\nDepthMm=10\r\n") + sizes + "\r\n");
        project kept = sample();
        const project_reading reading = project_read(full("sizes.tessaryn").c_str(), kept);
        EXPECT_NE(reading.sizes_refused.find(sizes), std::string::npos) << sizes << ": " << reading.sizes_refused;
        EXPECT_TRUE(kept.box == sample().box && kept.size_depth == 7) << sizes;
    }
}

// What the dialog takes and what a 300 ppi picture measures read back as saved, and allowed.
TEST(ProjectFile, SizesReadBackAsSavedAndAllowedAgain) {
    for (const box_size& box : {box_size{1.0004, 100.0399, 50}, box_size{1000 * 25.4 / 300, 60, 20}}) {
        project saved = sample();
        saved.box = box;
        ASSERT_EQ(project_write("exact.tessaryn", saved), project_save_failure::none);
        project read = {};
        const project_reading reading = project_read(full("exact.tessaryn").c_str(), read);
        EXPECT_TRUE(reading.sizes_refused.empty()) << reading.sizes_refused;
        EXPECT_TRUE(read.box == kept_box_size(box)) << read.box.width_mm << " x " << read.box.height_mm;
        EXPECT_NEAR(read.box.width_mm, box.width_mm, 0.0005);
        EXPECT_NEAR(read.box.height_mm, box.height_mm, 0.0005);
    }
}

// Shapes and books read back as saved, a book's spine from its pages; a box's file names no
// shape; a case without sizes is a standard one; unknown words keep what was there.
TEST(ProjectFile, ShapesAndBooksReadBackAndAreCheckedLikeTheOtherKeys) {
    project saved = sample();
    saved.shape = box_shape::hardcover;
    saved.book = {320, book_paper::cream};
    saved.box = {152.4, 228.6, 99};
    ASSERT_EQ(project_write("book.tessaryn", saved), project_save_failure::none);
    project read = {};
    EXPECT_EQ(project_read(full("book.tessaryn").c_str(), read).values_not_taken, 0);
    EXPECT_TRUE(read.shape == box_shape::hardcover && read.book == saved.book);
    EXPECT_NEAR(read.box.depth_mm, 320 * 0.0025 * 25.4 + 5, 1e-9) << "the spine, not the depth written";
    ASSERT_EQ(project_write("box.tessaryn", sample()), project_save_failure::none);
    const std::vector<uint8_t> bytes = read_file("box.tessaryn");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find("Shape"), std::string::npos);
    EXPECT_EQ(project_read(full("box.tessaryn").c_str(), read).values_not_taken, 0);
    EXPECT_TRUE(read.shape == box_shape::box && read.book == book_setup{}) << "older files and boxes open as boxes";
    write_text("case.tessaryn", "[Tessaryn]\r\nVersion=1\r\n[Box]\r\nShape=bluray\r\n");
    EXPECT_EQ(project_read(full("case.tessaryn").c_str(), read).values_not_taken, 0);
    EXPECT_TRUE(read.shape == box_shape::bluray && read.box == standard_case_size(box_shape::bluray));
    write_text("trim.tessaryn", "[Tessaryn]\r\nVersion=1\r\n[Box]\r\nShape=paperback\r\nWidthMm=152.4\r\n"
                                "HeightMm=228.6\r\n[Book]\r\nPages=320\r\nPaper=cream\r\n");
    EXPECT_EQ(project_read(full("trim.tessaryn").c_str(), read).values_not_taken, 0);
    EXPECT_TRUE(read.box == box_size({152.4, 228.6, 20.32})) << "the trim and pages alone give the spine";
    write_text("odd.tessaryn", "[Tessaryn]\r\nVersion=1\r\n[Box]\r\nShape=scroll\r\n[Book]\r\nPages=9999\r\nPaper=gold\r\n");
    project kept = saved;
    EXPECT_EQ(project_read(full("odd.tessaryn").c_str(), kept).values_not_taken, 3);
    EXPECT_TRUE(kept.shape == saved.shape && kept.book == saved.book);
}

// A step is 20 mm while the largest side fits 9 of them, so older boxes keep their look.
TEST(BoxSize, StepsTextsAndLimits) {
    EXPECT_EQ(size_step_mm(box_size_of_steps(5, 5, 5)), 20.0);
    EXPECT_NEAR(size_step_mm({135, 190, 14}), 190.0 / 9, 1e-9);
    EXPECT_EQ(size_step_mm({10, 5, 5}), 10.0);
    EXPECT_EQ(nearest_size_step(14, 190.0 / 9), 1);
    double mm = 0;
    EXPECT_TRUE(mm_of_text(" 13,5 ", true, mm) && mm == 13.5);
    EXPECT_FALSE(mm_of_text("13,5", false, mm) || mm_of_text("1e3", true, mm) || mm_of_text("", true, mm) || mm_of_text(".", true, mm));
    EXPECT_EQ(text_of_mm(106.73469), "106.735");
    EXPECT_FALSE(box_size_allowed({1000, 9.99, 500}));
    EXPECT_EQ(side_allowed_beside(2, 1000, 500), 10.0);
    // A moved bar stays: its side is whole steps of the step after the move.
    const box_size moved = {side_of_size_step(8, 200, 100, 50), 100, 50};
    EXPECT_EQ(moved.width_mm, 160.0);
    EXPECT_EQ(nearest_size_step(moved.width_mm, size_step_mm(moved)), 8);
    EXPECT_NEAR(side_of_size_step(3, 200, 1000, 50), 1000.0 / 3, 1e-9) << "within a larger side, its step";
}

// The spine as print-on-demand services publish it (a 6 x 9 in cream paperback of 320 pages
// has a 0.8 in spine); white and cream swapped is the usual fault of calculators.
TEST(BoxSize, BookSpinesAndCaseSizes) {
    EXPECT_NEAR(spine_mm(box_shape::paperback, {320, book_paper::cream}), 0.8 * 25.4, 1e-9);
    EXPECT_NEAR(spine_mm(box_shape::paperback, {100, book_paper::white}), 0.2252 * 25.4, 1e-9);
    EXPECT_NEAR(spine_mm(box_shape::paperback, {200, book_paper::colour}), 0.4694 * 25.4, 1e-9);
    EXPECT_NEAR(spine_mm(box_shape::hardcover, {320, book_paper::cream}), 0.8 * 25.4 + 5, 1e-9) << "two boards";
    EXPECT_EQ(spine_mm(box_shape::dvd, {320, book_paper::cream}), 0.0);
    EXPECT_TRUE(standard_case_size(box_shape::dvd) == box_size({135, 190, 14}));
    EXPECT_TRUE(shape_extent(box_shape::hardcover, {152.4, 228.6, 25}) == box_size({155.4, 234.6, 25}));
    box_shape shape = box_shape::box;
    EXPECT_TRUE(shape_of_key("bluray", shape) && shape == box_shape::bluray);
    EXPECT_FALSE(shape_of_key("Bluray", shape));
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
        {{"box.tessaryn", "/export-glb", "shop\\b.GLB"}, command_mode::export_project, 0},
        {{"box.tessaryn", "/export-glb", "b.glb", "/fill"}, command_mode::wrong, 0},
        {{"box.tessaryn", "/export-glb", "b.png"}, command_mode::wrong, 0},
        {{"box.tessaryn", "/export", "b.jpg", "/size", "295", "/fill"}, command_mode::wrong, 0},
        {{"box.tessaryn", "/export-spin", "s\\b.png", "/frames", "72"}, command_mode::export_project, 2048},
        {{"box.tessaryn", "/export-spin", "b.png", "/frames", "30"}, command_mode::wrong, 0},
        {{"box.tessaryn", "/export", "b.png", "/frames", "36"}, command_mode::wrong, 0},
        {{"box.tessaryn", "/export-spin", "b.jpg", "/size", "295"}, command_mode::wrong, 0},
        {{"/x"}, command_mode::wrong, 0},
        {{"/catalogue", "p.csv", "/out", "o", "/profile", "GS1", "/shard", "1/2"}, command_mode::catalogue, 0},
        {{"/catalogue", "p.csv", "/out", "o", "/shard", "2/2"}, command_mode::wrong, 0},
        {{"/catalogue", "p.csv", "/profile", "ebay"}, command_mode::wrong, 0},
        {{"/catalogue", "p.csv"}, command_mode::wrong, 0},
    };
    for (const auto& c : cases) {
        const command read = command_read(int(c.arguments.size()), c.arguments.data());
        const std::string call = c.arguments.empty() ? "(none)" : c.arguments.back();
        EXPECT_EQ(read.mode, c.mode) << call;
        EXPECT_EQ(read.size, c.size) << call;
        EXPECT_EQ(read.mode == command_mode::wrong, !read.complaint.empty()) << call;
        const bool model = read.mode == command_mode::export_project && read.size == 0;
        EXPECT_EQ(read.model, model) << call;
        const bool png = read.mode == command_mode::export_project && call != "295" && call != "/nofill" && !model;
        EXPECT_EQ(read.transparent, png) << call;
        EXPECT_EQ(read.view_set, call == "/nofill") << call;
    }
    const char* const shard[] = {"/catalogue", "p.csv", "/shard", "3/4", "/out", "o"};
    const command sharded = command_read(6, shard);
    EXPECT_EQ(sharded.shard * 10 + sharded.shards, 34);
    EXPECT_EQ(sharded.project + sharded.target, "p.csvo");
    const char* const fill[] = {"box.tessaryn", "/export-set", "b.png", "/FILL"};
    EXPECT_EQ(command_read(4, fill).fill, fill_choice::on);
    const char* const print_template[] = {"box.tessaryn", "/export-template", "vorlage.png"};
    EXPECT_TRUE(command_read(3, print_template).print_template);
    const char* const not_png[] = {"box.tessaryn", "/export-template", "vorlage.jpg"};
    EXPECT_EQ(command_read(3, not_png).mode, command_mode::wrong);
    EXPECT_EQ(set_file_name("shop\\box.jpg", export_types[1], set_views[6]), "shop\\box-rechts-vorne.png");
    const char* const spin[] = {"box.tessaryn", "/export-spin", "b.jpg"};
    EXPECT_TRUE(command_read(3, spin).spin && command_read(3, spin).frames == 36);
    const spin_files files = spin_file_names("shop\\box.jpg", export_types[1], 100);
    EXPECT_EQ(files.frames[0], "shop\\box-001.png");
    EXPECT_EQ(spin_file_names("box", export_types[0], 24).frames[23] + files.zip + files.animation + files.page,
              "box-24.jpgshop\\box.zipshop\\box.webpshop\\box.html");
}

}  // namespace
