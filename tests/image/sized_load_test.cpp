// Loading a picture for the size it will be drawn at: a large JPEG comes out smaller yet
// drawn into its rectangle within a few levels of the full picture; small ones and other
// formats keep their own size.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "runtime/core/windows_host.h"

#include "tests/support/picture_files.h"
#include "tests/support/test_runtime.h"

namespace {

constexpr object_number photo = 80, full = 81, sized = 82, drawn = 83;
constexpr int32_t face_width = 351, face_height = 512;

// Smooth shading with a fine grain in every channel, written as a JPEG like a camera's.
void save_photo(const char* name, int32_t width, int32_t height) {
    ASSERT_NE(image_create(photo, width, height, 24), 0);
    DIBSECTION section = {};
    ASSERT_TRUE(GetObjectA(image_handle(photo), sizeof section, &section));
    auto* bits = static_cast<uint8_t*>(section.dsBm.bmBits);
    uint32_t noise = 1;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* pixel = bits + size_t(y) * section.dsBm.bmWidthBytes + x * 3;
            double wave = std::sin(x * 0.011) * std::cos(y * 0.017);
            for (int c = 0; c < 3; ++c) {
                noise = noise * 1664525u + 1013904223u;
                pixel[c] = uint8_t(std::lround(110 + 70 * wave + 30 * c * x / width + int(noise >> 28) - 8));
            }
        }
    ASSERT_EQ(image_save(photo, name, plugin_jpeg, 9), 1);
    image_free(photo);
}

pixel_grid drawn_as_face(object_number picture) {
    image_create(drawn, face_width, face_height, 24);
    draw_begin(image_output(drawn));
    draw_image(image_handle(picture), 0, 0, face_width, face_height);
    draw_end();
    return read_image(drawn);
}

}  // namespace

TEST(SizedLoad, LargeJpegShrinksButDrawsLikeTheFullPicture) {
    save_photo("photo.jpg", 1600, 1200);
    ASSERT_NE(image_load(full, "photo.jpg"), 0);
    ASSERT_NE(image_load_sized(sized, "photo.jpg", face_width, face_height), 0);
    // Half size is the smallest eighth whose short side still covers the face's long one.
    EXPECT_EQ(image_get(sized)->width, 800);
    EXPECT_EQ(image_get(sized)->height, 600);

    pixel_grid expected = drawn_as_face(full), got = drawn_as_face(sized);
    ASSERT_EQ(got.pixels.size(), expected.pixels.size());
    int worst = 0;
    long total = 0;
    for (size_t i = 0; i < got.pixels.size(); ++i) {
        int distance = channel_distance(got.pixels[i], expected.pixels[i]);
        worst = std::max(worst, distance);
        total += distance;
    }
    EXPECT_LE(worst, 6);
    EXPECT_LT(double(total) / double(got.pixels.size()), 1.5);
}

TEST(SizedLoad, SmallJpegAndOtherFormatsKeepTheirSize) {
    save_photo("small.jpg", 200, 150);
    write_tga("large.tga", one_colour_picture(1600, 1200, 10, 20, 30));
    ASSERT_NE(image_load_sized(sized, "small.jpg", face_width, face_height), 0);
    EXPECT_EQ(image_get(sized)->width, 200);
    ASSERT_NE(image_load_sized(sized, "large.tga", face_width, face_height), 0);
    EXPECT_EQ(image_get(sized)->width, 1600);
    // The wanted size holds for one load only.
    save_photo("photo.jpg", 1600, 1200);
    ASSERT_NE(image_load(full, "photo.jpg"), 0);
    EXPECT_EQ(image_get(full)->width, 1600);
}

// PNG and TIFF rows are averaged as they are read: a picture wider than any image may be
// is measured from its header and taken at the largest size that can be decoded.
TEST(SizedLoad, PngAndTiffShrinkWhileReadEvenPastTheLargestSide) {
    const bgr_picture large = one_colour_picture(1600, 1200, 10, 20, 30);
    ASSERT_TRUE(write_png("large.png", large));
    ASSERT_TRUE(write_tiff("large.tif", large));
    for (const char* name : {"large.png", "large.tif"}) {
        ASSERT_NE(image_load_sized(sized, name, face_width, face_height), 0) << name;
        EXPECT_EQ(image_get(sized)->width, 800) << name;
        EXPECT_EQ(image_get(sized)->height, 600) << name;
        EXPECT_EQ(read_image(sized).pixels[0], rgb(10, 20, 30)) << name;
    }

    ASSERT_TRUE(write_png("wide.png", one_colour_picture(70001, 3, 200, 100, 50)));
    int32_t width = 0, height = 0;
    ASSERT_TRUE(image_picture_size("wide.png", &width, &height));
    EXPECT_EQ(width, 70001);
    EXPECT_EQ(image_load(full, "wide.png"), 0) << "too wide to load whole";
    platform_handle wide = image_decode_sized("wide.png", 1000, 3, picture_cover::side_by_side);
    DIBSECTION section = {};
    ASSERT_TRUE(wide && GetObjectA(wide, sizeof section, &section));
    EXPECT_EQ(section.dsBm.bmWidth, 35001);
    EXPECT_EQ(section.dsBm.bmHeight, 2);
    const uint8_t* last = static_cast<uint8_t*>(section.dsBm.bmBits) + 35000 * 3;
    EXPECT_EQ(rgb(last[2], last[1], last[0]), rgb(200, 100, 50)) << "the edge's narrower block";
    image_decoded_free(wide);
}
