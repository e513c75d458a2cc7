// The seven views of a set drawn by the program's own scene and Engine3D.dll: each shows the
// whole box with its shadow and mirror image, framed or not, and its own face.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/core/windows_host.h"

#include "app/app_state.h"
#include "app/engine/engine.h"
#include "app/export/stills/box_export.h"
#include "app/export/stills/box_framing.h"
#include "app/export/sets/view_set.h"
#include "app/faces/face_rectangles.h"
#include "app/scene/scene.h"
#include "tests/app/program_scene.h"
#include "runtime/core/core.h"
#include "runtime/image/image.h"

namespace {

constexpr int top_face = 0, right_face = 1, front_face = 2, back_face = 3, left_face = 5;
constexpr uint32_t visible_alpha = 8;  // a shadow 8 levels dark, a mirror image of 3 %
constexpr int probe = 512;

void shape_box(int depth, int width, int height, view_options look) {
    app.shape = box_shape::box;
    app.size_depth = depth, app.size_width = width, app.size_height = height;
    app.box = box_size_of_steps(depth, width, height);
    apply_box_size();
    app.view = look;
    apply_view_options();
}

// What the export's window shows, drawn small: straight colour, alpha in the top byte.
struct picture {
    int size;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size + x]; }
};

picture export_window(int size = probe) {
    picture drawn{size, std::vector<uint32_t>(size_t(size) * size)};
    engine.exports.RenderCameraRows(scene::camera, size, size, 4, 0, size, drawn.pixels.data(), size * 4);
    return drawn;
}

struct seen_extent {
    int left = probe, top = probe, right = -1, bottom = -1;
    bool at_border = false;
};

seen_extent visible_extent(const picture& drawn) {
    seen_extent e;
    for (int y = 0; y < drawn.size; ++y)
        for (int x = 0; x < drawn.size; ++x) {
            if (drawn.at(x, y) >> 24 < visible_alpha) continue;
            e.left = std::min(e.left, x), e.right = std::max(e.right, x);
            e.top = std::min(e.top, y), e.bottom = std::max(e.bottom, y);
            e.at_border = e.at_border || x == 0 || y == 0 || x == drawn.size - 1 || y == drawn.size - 1;
        }
    return e;
}

// Every view of a set shows the tall and the flat box whole with shadow and mirror image;
// framed, they fill 85 to 90 % of the picture, centred.
TEST(SetViews, ShowTheBoxWholeAndFramedFillsThePictureCentred) {
    ASSERT_TRUE(start_program_scene());
    const int boxes[2][3] = {{3, 6, 9}, {9, 9, 1}};
    for (const auto& box : boxes) {
        shape_box(box[0], box[1], box[2], {true, true, true, true, false});
        for (const set_view& view : set_views)
            for (bool fill : {false, true}) {
                pose_set_view(view);
                if (fill) frame_box(engine.exports, program_scene, -1);
                else hold_box(engine.exports, program_scene, -1);
                const seen_extent e = visible_extent(export_window());
                const std::string name = std::to_string(box[0]) + "x" + std::to_string(box[1]) + "x" +
                                         std::to_string(box[2]) + view.suffix + (fill ? " framed" : "");
                ASSERT_GE(e.right, 0) << name;
                EXPECT_FALSE(e.at_border) << name;
                if (!fill) continue;
                const double share = double(std::max(e.right - e.left, e.bottom - e.top) + 1) / probe;
                const double off_x = (e.left + e.right + 1) / 2.0 / probe - 0.5;
                const double off_y = (e.top + e.bottom + 1) / 2.0 / probe - 0.5;
                EXPECT_TRUE(share >= 0.85 && share <= 0.90) << name << ": " << share;
                EXPECT_LE(std::fabs(off_x), 0.02) << name;
                EXPECT_LE(std::fabs(off_y), 0.02) << name;
            }
    }
    restore_box_pose();
}

// The face most of the box's opaque pixels show, or -1.
int face_shown_most(const picture& drawn) {
    int counts[face_count] = {};
    for (uint32_t pixel : drawn.pixels)
        for (int f = 0; f < face_count; ++f) counts[f] += pixel == (0xFF000000 | face_colours[f]);
    const int most = int(std::max_element(counts, counts + face_count) - counts);
    return counts[most] ? most : -1;
}

// Each view of one face shows that face most: a back view turned as the front is caught.
TEST(SetViews, EachSideViewShowsItsOwnFace) {
    ASSERT_TRUE(start_program_scene());
    shape_box(5, 5, 5, {});
    // In the set's order; the user's own view and the corner view show two faces.
    constexpr int own_faces[set_view_count] = {-1, front_face, back_face, left_face, right_face, top_face, -1};
    for (int i = 0; i < set_view_count; ++i) {
        if (own_faces[i] < 0) continue;
        pose_set_view(set_views[i]);
        frame_box(engine.exports, program_scene, -1);
        EXPECT_EQ(face_shown_most(export_window(128)), own_faces[i]) << set_views[i].suffix;
    }
    restore_box_pose();
}

// The pixels a 256-pixel look at the upper left corner of the front, seen straight on, finds
// cut off within 100 of the corner: the look is a window 0.02 of the view wide.
int pixels_cut_at_corner() {
    pose_box(90, 0, 0);
    const drawn_bounds box = find_drawn_bounds(engine.exports, program_scene);
    if (!box.found) return -1;
    constexpr int side = 256, inner = side - 6;
    engine.exports.ExportViewWindow(box.left, box.top, 0.02f, 0.02f);
    const picture corner = export_window(side);
    engine.exports.ExportViewWindow(0, 0, 1, 1);
    const auto opaque = [&](int x, int y) { return corner.at(x, y) >> 24 >= 128; };
    int left = 0, top = 0;
    while (left < side - 1 && !opaque(left, inner)) ++left;
    while (top < side - 1 && !opaque(inner, top)) ++top;
    int cut = 0;
    for (int y = top; y < top + 100; ++y)
        for (int x = left; x < left + 100; ++x) cut += !opaque(x, y);
    return cut;
}

// The soft edges' radius is 2 % of the smallest side: the tall box's front (6 x 9, its
// smallest side 3) loses about 950 pixels at its corner; a radius a tenth of that about 8.
TEST(SetViews, SoftEdgesRoundTheCornerByTheirShare) {
    ASSERT_TRUE(start_program_scene());
    shape_box(3, 6, 9, {false, false, false, true, false});
    const int cut = pixels_cut_at_corner();
    EXPECT_TRUE(cut > 500 && cut < 1500) << cut << " pixels cut at the corner";
    restore_box_pose();
}

void shape_as(box_shape shape, const box_size& size) {
    app.shape = shape;
    app.book = {320, book_paper::cream};
    app.box = size;
    apply_box_size();
    app.view = {};
    apply_view_options();
}

// The share of the box's pixels that show a cover's colour, seen from straight above.
double covers_seen_from_above() {
    pose_box(90, 90, 0);
    frame_box(engine.exports, program_scene, -1);
    const picture drawn = export_window();
    int covers = 0, seen = 0;
    for (uint32_t pixel : drawn.pixels) {
        seen += pixel >> 24 == 0xFF;
        covers += pixel == (0xFF000000 | face_colours[front_face]) || pixel == (0xFF000000 | face_colours[back_face]);
    }
    return seen ? double(covers) / seen : -1;
}

// Seen from the front, a hardcover stands its boards' overhang taller and wider than a
// paperback of its trim and a case's corners are round; from above, a hardcover's boards stand over the pages
// while a box shows its top alone.
TEST(SetViews, BooksAndCasesShowTheirOwnSilhouettes) {
    ASSERT_TRUE(start_program_scene());
    const box_size trim = {152.4, 228.6, 25.3};
    double width[2], height[2];
    for (box_shape shape : {box_shape::paperback, box_shape::hardcover}) {
        shape_as(shape, trim);
        pose_box(90, 0, 0);
        const drawn_bounds seen = find_drawn_bounds(engine.exports, program_scene);
        ASSERT_TRUE(seen.found) << shape_key(shape);
        width[shape == box_shape::hardcover] = seen.right - seen.left;
        height[shape == box_shape::hardcover] = seen.bottom - seen.top;
    }
    // The rounded spine's outermost line lies halfway back, where the view draws it smaller.
    EXPECT_TRUE(width[1] / width[0] > 1.01 && width[1] / width[0] < 155.4 / 152.4 + 0.004) << width[1] / width[0];
    EXPECT_NEAR(height[1] / height[0], 234.6 / 228.6, 0.004);
    EXPECT_GT(covers_seen_from_above(), 0.05) << "the boards over the pages";
    shape_as(box_shape::dvd, standard_case_size(box_shape::dvd));
    const int case_cut = pixels_cut_at_corner();
    EXPECT_GT(case_cut, 500) << "a case's corner";
    shape_as(box_shape::box, trim);
    EXPECT_LT(pixels_cut_at_corner(), 50) << "a box's corner";
    EXPECT_LT(covers_seen_from_above(), 0.005) << "a box's top alone";
    restore_box_pose();
}

// The box looks as it did before books and cases came: a 2048 PNG of it, byte for byte.
TEST(SetViews, TheBoxExportIsAsBefore) {
    ASSERT_TRUE(start_program_scene());
    shape_box(4, 7, 9, {true, true, true, true, false});
    pose_set_view(set_views[6]);
    export_options options;
    options.fill = true;
    ASSERT_EQ(export_box(engine.exports, program_scene, "box.png", export_types[1], nullptr, nullptr, options),
              export_failure::none);
    uint32_t hash = 2166136261u;
    std::ifstream file("box.png", std::ios::binary);
    for (auto byte = std::istreambuf_iterator<char>(file); byte != std::istreambuf_iterator<char>(); ++byte)
        hash = (hash ^ uint8_t(*byte)) * 16777619u;
    EXPECT_EQ(hash, 0x2cf339d6u) << std::hex << hash;
    restore_box_pose();
}

}  // namespace
