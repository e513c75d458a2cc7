// The face atlas and the floor texture, run in a scratch folder with its own model\
// folder: pictures land exactly in their face rectangles and nothing else changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "runtime/core/windows_host.h"

#include "app/faces/face_atlas.h"
#include "app/faces/picture_density.h"
#include "app/faces/print_net.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_runtime.h"

namespace {

constexpr const char* atlas = "model\\cube1.jpg";
constexpr object_number work_image = 60;
// JPEG at the highest quality keeps grey levels within a few steps.
constexpr int jpeg_tolerance = 6;
constexpr uint8_t background_grey = 40;
// An Exif segment whose one tag says the picture stands turned by 90 degrees (orientation 6).
constexpr uint8_t exif_turned[] = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0,
                                   0, 0, 1, 0, 0x12, 1, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};

bool contains(const face_rectangle& face, int32_t x, int32_t y) {
    return x >= face.x && x < face.x + face.width && y >= face.y && y < face.y + face.height;
}

uint32_t grey(uint8_t level) { return rgb(level, level, level); }
uint32_t grey_colorref(uint8_t level) { return color_rgb(level, level, level); }

// Saves a one-colour picture under `name` (BMP, or JPEG when plugin says so).
void save_plain_picture(const char* name, int32_t width, int32_t height, uint32_t colour,
                        uint32_t plugin = plugin_bmp) {
    ASSERT_NE(image_create(work_image, width, height), 0);
    draw_begin(image_output(work_image));
    draw_box(0, 0, width, height, colour);
    draw_end();
    ASSERT_EQ(image_save(work_image, name, plugin, 10), 1);
    image_free(work_image);
}

class FaceAtlas : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA("model", nullptr);
        SetFileAttributesA(atlas, FILE_ATTRIBUTE_NORMAL);
        save_plain_picture(atlas, atlas_width, atlas_height, grey_colorref(background_grey), plugin_jpeg);
    }
    void TearDown() override { SetFileAttributesA(atlas, FILE_ATTRIBUTE_NORMAL); }
};

}  // namespace

// The atlas carries an orientation tag, as one saved by a photo editor may: it is still read
// as stored, as the engine reads it.
TEST_F(FaceAtlas, EveryFaceLandsInItsRectangleAndEarlierFacesStay) {
    std::vector<uint8_t> tagged = read_file(atlas);
    tagged.insert(tagged.begin() + 2, std::begin(exif_turned), std::end(exif_turned));
    write_file(atlas, tagged);
    for (int32_t face = 0; face < face_count; ++face) {
        save_plain_picture("face.bmp", 37 + face, 53, grey_colorref(uint8_t(80 + 30 * face)));
        ASSERT_EQ(compose_face("face.bmp", face), 1) << face;
    }
    pixel_grid grid = load_pixels(atlas);
    ASSERT_EQ(grid.width, atlas_width);
    ASSERT_EQ(grid.height, atlas_height);
    int wrong = 0;
    for (int32_t y = 0; y < atlas_height; ++y)
        for (int32_t x = 0; x < atlas_width; ++x) {
            uint8_t expected = background_grey;
            for (int32_t face = 0; face < face_count; ++face)
                if (contains(face_rectangles[face], x, y)) expected = uint8_t(80 + 30 * face);
            if (channel_distance(grid.at(x, y), grey(expected)) > jpeg_tolerance && ++wrong < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << grid.at(x, y);
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(FaceAtlas, PictureIsStretchedOverTheWholeRectangle) {
    // 100 x 100: left half white, right half black, bottom-right quarter grey
    ASSERT_NE(image_create(work_image, 100, 100), 0);
    draw_begin(image_output(work_image));
    draw_box(0, 0, 50, 100, grey_colorref(250));
    draw_box(50, 0, 50, 100, grey_colorref(0));
    draw_box(50, 50, 50, 50, grey_colorref(150));
    draw_end();
    ASSERT_EQ(image_save(work_image, "quarters.bmp", plugin_bmp, 0), 1);
    ASSERT_EQ(compose_face("quarters.bmp", 2), 1);

    pixel_grid grid = load_pixels(atlas);
    const face_rectangle& front = face_rectangles[2];  // 351 x 512 at (166, 511)
    auto close_to = [&](int32_t x, int32_t y, uint8_t level) {
        return channel_distance(grid.at(x, y), grey(level)) <= jpeg_tolerance;
    };
    EXPECT_TRUE(close_to(front.x + 2, front.y + 2, 250));
    EXPECT_TRUE(close_to(front.x + 170, front.y + 250, 250));
    EXPECT_TRUE(close_to(front.x + 180, front.y + 10, 0));
    EXPECT_TRUE(close_to(front.x + 348, front.y + 200, 0));
    EXPECT_TRUE(close_to(front.x + 180, front.y + 262, 150));
    EXPECT_TRUE(close_to(front.x + 350, front.y + 511, 150));
    EXPECT_TRUE(close_to(front.x + 351, front.y + 100, background_grey));  // the back face, untouched
}

// The template of a 700 x 500 x 400 mm box painted and loaded back: 26,055 x 15,425 pixels,
// past what one picture may take whole, yet each panel lands on its face.
TEST_F(FaceAtlas, SheetTooLargeToDecodeWholePutsEachPanelOnItsFace) {
    constexpr box_size box = {700, 500, 400};
    const print_net net = print_net_of(box);
    const int32_t width = net_pixels(net.width_mm), height = net_pixels(net.height_mm);
    const auto level = [](int32_t face) { return uint8_t(70 + 30 * face); };
    ASSERT_TRUE(write_jpeg_rows("large_sheet.jpg", width, height, [&](int32_t y, uint8_t* row) {
        std::fill(row, row + size_t(width) * 3, uint8_t(255));
        for (int32_t face = 0; face < face_count; ++face) {
            const pixel_rect panel = net_pixels(net.panels[face]);
            if (y >= panel.y && y < panel.y + panel.height)
                std::fill(row + size_t(panel.x) * 3, row + size_t(panel.x + panel.width) * 3, level(face));
        }
    }));
    int32_t measured_width = 0, measured_height = 0;
    ASSERT_TRUE(image_picture_size("large_sheet.jpg", &measured_width, &measured_height));
    EXPECT_EQ(measured_width, width);
    EXPECT_EQ(measured_height, height);
    EXPECT_FALSE(picture_size_acceptable(width, height, 3, jpeg_decoder_memory)) << "past a whole decode";

    const sheet_cut cut = print_sheet_cut(print_net_of(box), width, height);
    ASSERT_TRUE(cut.fits);
    face_picture_request requests[face_count];
    for (int32_t face = 0; face < face_count; ++face) requests[face] = {"large_sheet.jpg", face, false, cut.panels[face]};
    ASSERT_EQ(compose_faces(requests, face_count), face_failure::none);
    pixel_grid grid = load_pixels(atlas);
    for (int32_t face = 0; face < face_count; ++face) {
        const face_rectangle& r = face_rectangles[face];
        EXPECT_TRUE(requests[face].drawn) << "face " << face;
        EXPECT_LE(channel_distance(grid.at(r.x + r.width / 2, r.y + r.height / 2), grey(level(face))), jpeg_tolerance)
            << "face " << face << " shows " << std::hex << grid.at(r.x + r.width / 2, r.y + r.height / 2);
    }
}

TEST_F(FaceAtlas, RefusalsLeaveTheAtlasByteForByte) {
    std::vector<uint8_t> before = read_file(atlas);
    save_plain_picture("face.bmp", 10, 10, grey_colorref(200));
    EXPECT_EQ(compose_face("face.bmp", 6), 0);
    EXPECT_EQ(compose_face("face.bmp", -1), 0);
    EXPECT_EQ(compose_face("missing.png", 0), 0);
    write_file("damaged.jpg", {0xFF, 0xD8, 0xFF});
    face_failure failure = face_failure::none;
    EXPECT_EQ(compose_face("damaged.jpg", 1, &failure), 0);
    EXPECT_EQ(failure, face_failure::picture_unreadable);
    // a layout the TIFF decoder cannot render is refused, not drawn black
    ASSERT_TRUE(write_float_tiff("float.tif", 8, 8));
    EXPECT_EQ(compose_face("float.tif", 2), 0);
    EXPECT_EQ(read_file(atlas), before);
}

TEST_F(FaceAtlas, ReadOnlyOrMissingAtlasIsNotWritten) {
    std::vector<uint8_t> before = read_file(atlas);
    save_plain_picture("face.bmp", 10, 10, grey_colorref(200));
    SetFileAttributesA(atlas, FILE_ATTRIBUTE_READONLY);
    face_failure failure = face_failure::none;
    EXPECT_EQ(compose_face("face.bmp", 3, &failure), 0);
    EXPECT_EQ(failure, face_failure::atlas_not_written);
    EXPECT_EQ(read_file(atlas), before);

    SetFileAttributesA(atlas, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(atlas);
    EXPECT_EQ(compose_face("face.bmp", 3, &failure), 0);
    EXPECT_EQ(failure, face_failure::atlas_unreadable);
    EXPECT_FALSE(file_exists(atlas));
}

// Atlases stored by earlier runs hold their faces at these numbers, and box.mesh maps its
// corners to them in the 868 x 1023 atlas; neither reads face_rectangles.h.
TEST(FaceRectangles, AgreeWithStoredAtlasesAndTheBoxTextureCoordinates) {
    const int32_t stored[face_count][4] = {{175, 7, 167, 492},   {0, 511, 166, 512},
                                           {166, 511, 351, 512}, {517, 511, 351, 512},
                                           {342, 7, 167, 492},   {0, 0, 166, 511}};
    std::ifstream mesh(TESSARYN_BOX_MESH);
    std::vector<double> xs, ys;
    for (std::string line; std::getline(mesh, line);) {
        double u, v;
        if (std::sscanf(line.c_str(), "vt %lf %lf", &u, &v) != 2) continue;
        xs.push_back(u * 868), ys.push_back((1 - v) * 1023);
    }
    ASSERT_EQ(xs.size(), size_t(4 * face_count));
    const auto at = [](double a, int32_t b) { return std::fabs(a - b) < 0.01; };
    for (int32_t face = 0; face < face_count; ++face) {
        const face_rectangle& r = face_rectangles[face];
        EXPECT_EQ((std::vector<int32_t>{r.x, r.y, r.width, r.height}),
                  std::vector<int32_t>(stored[face], stored[face] + 4)) << "face " << face;
        for (size_t i = size_t(4 * face); i < size_t(4 * face + 4); ++i)
            EXPECT_TRUE((at(xs[i], r.x) || at(xs[i], r.x + r.width)) &&
                        (at(ys[i], r.y) || at(ys[i], r.y + r.height)))
                << "face " << face << ": corner at " << xs[i] << ", " << ys[i];
    }
}

TEST_F(FaceAtlas, BackgroundTextureIsOneColour) {
    const uint32_t colours[] = {0x000000FF, 0x00FFFFFF, 0x00804020};
    for (uint32_t colour : colours) {
        make_background_texture(colour);
        EXPECT_EQ(image_get(256), nullptr);
        pixel_grid grid = load_pixels("model\\land.jpg");
        ASSERT_EQ(grid.width, 1024);
        ASSERT_EQ(grid.height, 1024);
        uint32_t expected = rgb(colour & 0xFF, (colour >> 8) & 0xFF, colour >> 16);
        int worst = 0;
        for (uint32_t pixel : grid.pixels) worst = std::max(worst, channel_distance(pixel, expected));
        EXPECT_LE(worst, 3) << std::hex << colour;
    }
}

// The headers' densities in pixels per millimetre; an aspect ratio alone or a cut file is none.
TEST(PictureDensity, JfifPhysAndTiffResolution) {
    const struct {
        std::vector<uint8_t> bytes;
        double x_per_mm;  // 0: none
    } files[] = {
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 1, 0, 254, 0, 254}, 10.0},
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1}, 0},
        {{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 9, 'p', 'H', 'Y', 's', 0, 0, 0x27, 0x10, 0, 0, 0x27, 0x10, 1, 0, 0, 0, 0}, 10.0},
        {{'I', 'I', '*', 0, 8, 0, 0, 0, 2, 0, 26, 1, 5, 0, 1, 0, 0, 0, 38, 0, 0, 0, 27, 1, 5, 0, 1, 0, 0, 0, 38, 0, 0, 0,
          0, 0, 0, 0, 127, 0, 0, 0, 5, 0, 0, 0}, 1.0},
        {{'I', 'I', '*', 0, 0xFF, 0xFF, 0xFF, 0x7F}, 0},
        // a length whose step to the next chunk would wrap a 32-bit size to nothing
        {{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0xFF, 0xFF, 0xFF, 0xF4, 't', 'E', 'X', 't', 0, 0, 0, 0}, 0},
    };
    for (const auto& file : files) {
        write_file("density.bin", file.bytes);
        picture_density density = {};
        EXPECT_EQ(read_picture_density("density.bin", density), file.x_per_mm > 0) << int(&file - files);
        if (file.x_per_mm > 0) EXPECT_NEAR(density.x_per_mm, file.x_per_mm, 1e-9) << int(&file - files);
    }
}
