// One picture saved in every format the file requester offers loads through the registry
// to the same pixels (JPEG within its error), in the depth each decoder promises.
#include <gtest/gtest.h>

#include "runtime/core/windows_host.h"

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

// Reserves the process's free address space in pieces of `piece` bytes while it lives, so
// that nothing of that size or larger can be had.
class address_space_hog {
public:
    static constexpr size_t piece = size_t(16) << 20;
    address_space_hog() {
        pieces_.reserve(1024);
        while (void* reserved = VirtualAlloc(nullptr, piece, MEM_RESERVE, PAGE_NOACCESS)) pieces_.push_back(reserved);
    }
    ~address_space_hog() {
        for (void* reserved : pieces_) VirtualFree(reserved, 0, MEM_RELEASE);
    }
    address_space_hog(const address_space_hog&) = delete;
    address_space_hog& operator=(const address_space_hog&) = delete;

private:
    std::vector<void*> pieces_;
};

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

// A picture accepted by its decoder but without room for its bitmap fails to load, and its
// decoder lets go of the file: it can be rewritten and loaded at once.
TEST(Formats, PictureWithoutRoomForItsBitmapLetsGoOfItsFile) {
    constexpr int32_t side = 2048;  // 32-bit rows: exactly one hog piece
    ASSERT_TRUE(write_tiff("large.tif", one_colour_picture(side, side, 1, 2, 3)));
    {
        address_space_hog hog;
        EXPECT_EQ(image_load(loaded, "large.tif"), 0);
    }
    ASSERT_TRUE(write_tiff("large.tif", original_picture()));
    ASSERT_NE(image_load(loaded, "large.tif"), 0);
    EXPECT_EQ(image_get(loaded)->width, width);
    image_free(loaded);
}
