// One picture saved in every format the file requester offers loads through the registry
// to the same pixels (JPEG within its error), in the depth each decoder promises.
#include <gtest/gtest.h>

#include "tests/support/picture_files.h"
#include "tests/support/test_runtime.h"

namespace {

constexpr int32_t width = 13, height = 7;
constexpr object_number original = 70, loaded = 71;

uint8_t red_at(int x, int y) { return uint8_t(20 + x * 15); }
uint8_t green_at(int x, int y) { return uint8_t(200 - y * 25); }
uint8_t blue_at(int x, int y) { return uint8_t(60 + x * 5 + y * 10); }

bgr_picture original_picture() {
    bgr_picture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.rows.insert(picture.rows.end(), {blue_at(x, y), green_at(x, y), red_at(x, y)});
    return picture;
}

void make_original() {
    ASSERT_NE(image_create(original, width, height, 24), 0);
    draw_begin(image_output(original));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) draw_box(x, y, 1, 1, color_rgb(red_at(x, y), green_at(x, y), blue_at(x, y)));
    draw_end();
}

int worst_difference(const pixel_grid& a, const pixel_grid& b) {
    int worst = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) worst = std::max(worst, channel_distance(a.pixels[i], b.pixels[i]));
    return worst;
}

}  // namespace

TEST(Formats, EveryRequesterFormatLoadsTheSamePicture) {
    make_original();
    pixel_grid expected = read_image(original);
    ASSERT_EQ(image_save(original, "same.bmp", plugin_bmp, 0), 1);
    ASSERT_EQ(image_save(original, "same.jpg", plugin_jpeg, 10), 1);
    const bgr_picture picture = original_picture();
    ASSERT_TRUE(write_png("same.png", picture));
    ASSERT_TRUE(write_tiff("same.tif", picture));
    write_tga("same.tga", picture);

    struct format {
        const char* file;
        int depth;
        int tolerance;  // JPEG halves the chroma resolution
    };
    const format formats[] = {
        {"same.bmp", 24, 0}, {"same.jpg", 24, 16}, {"same.png", 24, 0}, {"same.tga", 24, 0}, {"same.tif", 32, 0},
    };
    for (const format& each : formats) {
        ASSERT_NE(image_load(loaded, each.file), 0) << each.file;
        EXPECT_EQ(image_get(loaded)->depth, each.depth) << each.file;
        pixel_grid grid = read_image(loaded);
        ASSERT_EQ(grid.width, width) << each.file;
        ASSERT_EQ(grid.height, height) << each.file;
        EXPECT_LE(worst_difference(grid, expected), each.tolerance) << each.file;
    }
    image_free(original);
    image_free(loaded);
}
