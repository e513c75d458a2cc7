// The spin set as a seller makes it: a box with six colours written from the command line
// and from the "Datei" menu, its frames looked at one by one, its zip and animation read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/session.h"
#include "tests/support/zip_contents.h"

namespace {

using picture = pixel_grid;

constexpr int spin_item = 16;
const face_choice front = {0, "", "spin\\front.png", 0, 0, 220, 200, 20};
const face_choice left = {0, "", "spin\\left.png", 0, 0, 40, 60, 200};
const face_choice right = {0, "", "spin\\right.png", 0, 0, 30, 160, 40};
const face_choice back = {0, "", "spin\\back.png", 0, 0, 180, 40, 200};
const face_choice top = {0, "", "spin\\top.png", 0, 0, 200, 30, 30};
const face_choice bottom = {0, "", "spin\\bottom.png", 0, 0, 240, 140, 20};

uint32_t u16(const std::vector<uint8_t>& bytes, size_t at) { return uint32_t(bytes[at] | bytes[at + 1] << 8); }
uint32_t u32(const std::vector<uint8_t>& bytes, size_t at) { return u16(bytes, at) | u16(bytes, at + 2) << 16; }


// The frames of an animated WebP that loops for ever: its ANMF chunks; 0 for anything else.
int webp_frames(const std::vector<uint8_t>& webp) {
    const auto tag = [&](size_t at) { return std::string(webp.begin() + long(at), webp.begin() + long(at + 4)); };
    if (webp.size() < 30 || tag(8) != "WEBP" || tag(12) != "VP8X" || !(webp[20] & 2)) return 0;
    int frames = 0;
    for (size_t at = 12; at + 8 <= webp.size(); at += 8 + u32(webp, at + 4) + (u32(webp, at + 4) & 1)) {
        if (tag(at) == "ANIM" && u16(webp, at + 12) != 0) return 0;
        frames += tag(at) == "ANMF";
    }
    return frames;
}

bool shows(const picture& frame, int x, int y, const face_choice& face) {
    return channel_distance(frame.at(x, y) & 0xFFFFFF, rgb(face.r, face.g, face.b)) <= 16;
}

std::string frame_name(const std::string& base, int frame) {
    return base + (frame < 10 ? "-0" : "-") + std::to_string(frame) + ".png";
}

// Thirty-six frames from the command line: the front first, then counter-clockwise as seen
// from above: the front moves to the right and the side from the viewer's left comes round,
// facing the camera a quarter turn on. The box never moves: a cube a quarter turn on covers
// the same pixels. Uncut and centred, it fills 85 to 90 % at its widest.
TEST(SpinSet, CommandLineWritesTheFramesTheirZipTheAnimationAndThePage) {
    start_image_runtime();
    const std::string folder = full_path("spin");
    ASSERT_TRUE(prepare_model_folder(folder, {}));
    for (const face_choice& face : {front, left, right, back, top, bottom}) write_face_picture(face);
    const std::string project = "[Tessaryn]\r\nVersion=1\r\n[Faces]\r\nTop=top.png\r\nRight=right.png\r\n"
                                "Left=left.png\r\nFront=front.png\r\nBack=back.png\r\nBottom=bottom.png\r\n";
    write_file(folder + "\\box.tessaryn", std::vector<uint8_t>(project.begin(), project.end()));
    std::string said;
    EXPECT_EQ(run_from_command_line(folder, "box.tessaryn /export-spin box.png /frames 30", &said), 2u) << said;
    ASSERT_EQ(run_from_command_line(folder, "box.tessaryn /export-spin box.png", &said), 0u) << said;

    const std::string base = folder + "\\box";
    std::vector<std::string> names;
    RECT widest = {2048, 2048, 0, 0};
    std::vector<RECT> bounds;
    for (int frame = 1; frame <= 36; ++frame) {
        const picture shown = load_pixels(frame_name(base, frame).c_str(), true);
        ASSERT_EQ(shown.width, 2048) << frame;
        const RECT box = drawn_bounds(shown);
        EXPECT_TRUE(box.left > 0 && box.top > 0 && box.right < 2048 && box.bottom < 2048) << "cut in frame " << frame;
        bounds.push_back(box);
        widest = {std::min(widest.left, box.left), std::min(widest.top, box.top), std::max(widest.right, box.right),
                  std::max(widest.bottom, box.bottom)};
        const int middle = (box.top + box.bottom) / 2, side = (box.right - box.left) / 3;
        if (frame == 1) EXPECT_TRUE(shows(shown, 1024, middle, front)) << "the front first";
        if (frame == 4) EXPECT_TRUE(shows(shown, 1024 - side, middle, left) && shows(shown, 1024 + side / 2, middle, front));
        if (frame == 10) EXPECT_TRUE(shows(shown, 1024, middle, left)) << "a quarter turn on";
        names.push_back(frame_name("box", frame));
    }
    EXPECT_FALSE(file_exists(frame_name(base, 37)));
    for (size_t frame = 9; frame < bounds.size(); ++frame)
        EXPECT_TRUE(std::abs(bounds[frame].left - bounds[frame - 9].left) <= 2 &&
                    std::abs(bounds[frame].bottom - bounds[frame - 9].bottom) <= 2) << "moved in frame " << frame + 1;
    EXPECT_NEAR(widest.left + widest.right, 2048, 4);
    EXPECT_NEAR(widest.top + widest.bottom, 2048, 4);
    const LONG larger = std::max(widest.right - widest.left, widest.bottom - widest.top);
    EXPECT_TRUE(larger >= 2048 * 85 / 100 && larger <= 2048 * 90 / 100) << larger;

    std::vector<std::string> zipped;
    for (const zip_entry& entry : zip_entries(read_file(base + ".zip"))) {
        zipped.push_back(entry.name);
        EXPECT_TRUE(entry.local_header_matches && entry.crc_matches) << entry.name << ": stored, each whole";
    }
    EXPECT_EQ(zipped, names);
    EXPECT_EQ(webp_frames(read_file(base + ".webp")), 36);
    const std::vector<uint8_t> page = read_file(base + ".html");
    EXPECT_NE(std::string(page.begin(), page.end()).find("\"box-36.png\""), std::string::npos);
}

// Esc while the set is written: the frames written so far stay whole, and nothing else comes.
TEST(SpinSet, EscStopsAfterTheCurrentFrame) {
    session run("spin_stopped");
    ASSERT_NE(run.window(), nullptr);
    const std::string base = run.folder() + "\\stopped";
    for (int frame = 1; frame <= 72; ++frame) DeleteFileA(frame_name(base, frame).c_str());
    for (const char* other : {".zip", ".webp", ".html"}) DeleteFileA((base + other).c_str());
    PostMessageA(run.window(), WM_COMMAND, spin_item, 0);
    // The longest set, so that Esc comes long before its end.
    ASSERT_TRUE(answer_file_dialog(run.program(), "Rundumansicht exportieren", base, 11)) << "png 4096, 72 frames";
    ASSERT_TRUE(eventually(120000, [&] { return file_exists(frame_name(base, 1)); }));
    PostMessageA(run.window(), WM_KEYDOWN, VK_ESCAPE, 0);
    const std::string told = dismiss_message(run.program());
    EXPECT_NE(told.find("abgebrochen"), std::string::npos) << told;
    int written = 0;
    while (file_exists(frame_name(base, written + 1))) {
        EXPECT_EQ(load_pixels(frame_name(base, written + 1).c_str(), true).width, 4096);
        ++written;
    }
    EXPECT_GE(written, 1);
    EXPECT_LT(written, 72);
    EXPECT_NE(told.find(std::to_string(written) + " von 72"), std::string::npos) << told;
    for (const char* other : {".zip", ".webp", ".html"}) EXPECT_FALSE(file_exists(base + other)) << other;
}

}  // namespace
