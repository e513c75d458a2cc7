// Image objects and drawing: creation, replacement, freeing, drawing outputs, boxes and
// images copied or stretched into rectangles.
#include <gtest/gtest.h>

#include "runtime/core/windows_host.h"

#include "tests/support/test_runtime.h"

namespace {

constexpr object_number scratch = 40;
constexpr object_number other = 41;

int display_bits_per_pixel() {
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    int bits = GetDeviceCaps(display, BITSPIXEL);
    DeleteDC(display);
    return bits;
}

bool all_pixels_are(const pixel_grid& grid, uint32_t colour) {
    for (uint32_t pixel : grid.pixels)
        if (pixel != colour) return false;
    return !grid.pixels.empty();
}

// Draws one box on an image and ends the drawing.
void paint_box(object_number image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    ASSERT_NE(draw_begin(image_output(image)), nullptr);
    draw_box(x, y, w, h, colour);
    draw_end();
}

}  // namespace

TEST(ImageCreate, DisplayCompatibleImageIsBlackWithTheDisplayDepth) {
    ASSERT_NE(image_create(256, 1024, 1024), 0);
    const image_record* record = image_get(256);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->width, 1024);
    EXPECT_EQ(record->height, 1024);
    EXPECT_EQ(record->flags, image_display_compatible);
    EXPECT_EQ(record->depth, display_bits_per_pixel());
    EXPECT_TRUE(all_pixels_are(read_image(256), 0));
    image_free(256);
}

TEST(ImageCreate, ExplicitDepthGivesBottomUpDibSection) {
    ASSERT_NE(image_create(scratch, 7, 5, 24), 0);
    const image_record* record = image_get(scratch);
    EXPECT_EQ(record->depth, 24);
    EXPECT_EQ(record->flags, 0);
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectA(record->handle, sizeof section, &section), int(sizeof section));
    EXPECT_GT(section.dsBmih.biHeight, 0);
    EXPECT_TRUE(all_pixels_are(read_image(scratch), 0));
    image_free(scratch);
}

TEST(ImageCreate, ReplacingANumberFreesTheOldBitmapFirst) {
    auto first = reinterpret_cast<HGDIOBJ>(image_create(scratch, 4, 4));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(image_create(scratch, 8, 8), 0);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(image_get(scratch)->width, 8);
    image_free(scratch);
    EXPECT_EQ(image_handle(scratch), nullptr);
}

TEST(ImageCreate, DynamicImagesAreNamedByTheirIdentity) {
    object_number identity = image_create(object_any, 3, 3);
    ASSERT_NE(identity, 0);
    ASSERT_NE(image_get(identity), nullptr);
    EXPECT_EQ(image_get(identity)->width, 3);
    image_free(identity);
    EXPECT_EQ(image_get(identity), nullptr);
}

TEST(ImageCreate, OperationsOnMissingImagesDoNothing) {
    EXPECT_EQ(image_free(object_any), 0);
    EXPECT_EQ(image_free(99), 0);
    EXPECT_EQ(image_handle(99), nullptr);
    EXPECT_EQ(image_save(99, "never.bmp", plugin_bmp, 0), 0);
    EXPECT_FALSE(file_exists("never.bmp"));
}

TEST(ImageOutput, NewOutputReleasesThePreviousDeviceContext) {
    ASSERT_NE(image_create(scratch, 4, 4), 0);
    draw_output* output = image_output(scratch);
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->kind, draw_kind_image);
    auto dc = static_cast<HDC>(output->dc);
    EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC));
    EXPECT_EQ(image_output(99), nullptr);
    EXPECT_EQ(GetObjectType(dc), 0u);
    image_free(scratch);
}

TEST(Drawing, BoxFillsExactlyItsPixels) {
    ASSERT_NE(image_create(scratch, 1024, 1024), 0);
    paint_box(scratch, 0, 0, 1024, 1024, 0x00336699);
    EXPECT_TRUE(all_pixels_are(read_image(scratch), rgb(0x99, 0x66, 0x33)));

    ASSERT_NE(image_create(scratch, 10, 10), 0);
    paint_box(scratch, 2, 3, 4, 5, 0x000000FF);
    pixel_grid grid = read_image(scratch);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
            EXPECT_EQ(grid.at(x, y), inside ? rgb(255, 0, 0) : 0u) << x << "," << y;
        }
    image_free(scratch);
}

TEST(Drawing, OnePixelBoxAndBlackBoxes) {
    ASSERT_NE(image_create(scratch, 5, 5), 0);
    paint_box(scratch, 0, 0, 5, 5, 0x00FFFFFF);
    paint_box(scratch, 1, 1, 3, 3, 0);  // the default black pen and brush
    paint_box(scratch, 2, 2, 1, 1, 0x0000FF00);
    pixel_grid grid = read_image(scratch);
    EXPECT_EQ(grid.at(0, 0), rgb(255, 255, 255));
    EXPECT_EQ(grid.at(1, 1), 0u);
    EXPECT_EQ(grid.at(3, 3), 0u);
    EXPECT_EQ(grid.at(2, 2), rgb(0, 255, 0));
    EXPECT_EQ(grid.at(4, 4), rgb(255, 255, 255));
    image_free(scratch);
}

TEST(Drawing, NothingHappensOutsideADrawing) {
    ASSERT_NE(image_create(scratch, 4, 4), 0);
    EXPECT_EQ(draw_begin(nullptr), nullptr);
    draw_box(0, 0, 4, 4, 0x00FFFFFF);
    paint_box(scratch, 0, 0, 1, 1, 0x00FFFFFF);
    draw_box(0, 0, 4, 4, 0x00FFFFFF);  // after draw_end
    pixel_grid grid = read_image(scratch);
    EXPECT_EQ(grid.at(0, 0), rgb(255, 255, 255));
    EXPECT_EQ(grid.at(3, 3), 0u);
    image_free(scratch);
}

TEST(Drawing, ImageAtItsOwnSizeIsCopiedExactly) {
    ASSERT_NE(image_create(other, 3, 2), 0);
    paint_box(other, 0, 0, 1, 1, 0x00010203);
    paint_box(other, 2, 1, 1, 1, 0x00FFFFFF);
    ASSERT_NE(image_create(scratch, 8, 8), 0);
    ASSERT_NE(draw_begin(image_output(scratch)), nullptr);
    draw_image(image_handle(other), 4, 5, 0, 50);  // a zero means the own size in both directions
    draw_end();
    pixel_grid grid = read_image(scratch);
    EXPECT_EQ(grid.at(4, 5), rgb(3, 2, 1));
    EXPECT_EQ(grid.at(6, 6), rgb(255, 255, 255));
    EXPECT_EQ(grid.at(7, 7), 0u);
    EXPECT_EQ(grid.at(3, 5), 0u);
    image_free(scratch);
    image_free(other);
}

TEST(Drawing, StretchedImageFillsTheWholeTargetRectangle) {
    ASSERT_NE(image_create(other, 2, 2), 0);
    paint_box(other, 0, 0, 2, 2, 0x00FFFFFF);
    paint_box(other, 1, 1, 1, 1, 0x000000FF);
    ASSERT_NE(image_create(scratch, 40, 40), 0);
    ASSERT_NE(draw_begin(image_output(scratch)), nullptr);
    draw_image(image_handle(other), 10, 10, 20, 16);
    draw_end();
    pixel_grid grid = read_image(scratch);
    EXPECT_EQ(grid.at(9, 9), 0u);
    EXPECT_EQ(grid.at(30, 26), 0u);
    // the halftone filter may soften colours a little
    EXPECT_LE(channel_distance(grid.at(11, 11), rgb(255, 255, 255)), 8);
    EXPECT_LE(channel_distance(grid.at(28, 24), rgb(255, 0, 0)), 8);
    EXPECT_NE(grid.at(29, 25), 0u);  // last column and row of the target are drawn
    EXPECT_EQ(grid.at(30, 25), 0u);
    image_free(scratch);
    image_free(other);
}
