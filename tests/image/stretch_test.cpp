// The smooth stretch behind every face choice, checked pixel by pixel against a reference
// resample made here: the area each target pixel covers when shrinking, a blend of the two
// nearest source pixels (centres aligned) when enlarging.
#include <gtest/gtest.h>

#include "runtime/core/windows_host.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/support/test_runtime.h"

namespace {

constexpr object_number source_image = 80, target_image = 81;
constexpr uint32_t untouched = rgb(1, 2, 3);
constexpr int rounding_tolerance = 2;

// Busy enough that a shift of half a pixel changes every value by far more than rounding.
uint32_t source_colour(int x, int y) { return rgb((x * 37 + y * 11) % 256, (y * 53) % 256, (x * 29 + y * 67) % 256); }

struct tap {
    int position;
    double weight;
};

std::vector<std::vector<tap>> reference_taps(int source_size, int target_size) {
    auto taps = std::vector<std::vector<tap>>(size_t(target_size));
    double scale = double(source_size) / target_size;
    for (int t = 0; t < target_size; ++t) {
        if (scale >= 1.0) {
            double from = t * scale, to = from + scale;
            for (int s = int(from); s < source_size && s < to; ++s)
                taps[t].push_back({s, (std::min(to, s + 1.0) - std::max(from, double(s))) / scale});
        } else {
            double centre = std::clamp((t + 0.5) * scale - 0.5, 0.0, source_size - 1.0);
            int s = int(centre);
            double next = centre - s;
            taps[t].push_back({s, 1.0 - next});
            if (s + 1 < source_size) taps[t].push_back({s + 1, next});
        }
    }
    return taps;
}

uint32_t reference_pixel(const std::vector<tap>& columns, const std::vector<tap>& rows) {
    double channel[3] = {};
    for (const tap& row : rows) {
        for (const tap& column : columns) {
            uint32_t colour = source_colour(column.position, row.position);
            for (int c = 0; c < 3; ++c) channel[c] += row.weight * column.weight * ((colour >> (16 - 8 * c)) & 0xFF);
        }
    }
    return rgb(uint32_t(std::lround(channel[0])), uint32_t(std::lround(channel[1])), uint32_t(std::lround(channel[2])));
}

void make_source(int width, int height, int depth) {
    ASSERT_NE(image_create(source_image, width, height, depth), 0);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(source_colour(x, y));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    SetDIBits(dc, static_cast<HBITMAP>(image_handle(source_image)), 0, UINT(height), pixels.data(), &info,
              DIB_RGB_COLORS);
    DeleteDC(dc);
}

// Bottom-up targets come from image_create, top-down ones from a decoder (an all-black TGA).
void make_target(int width, int height, int depth, bool top_down) {
    if (top_down) {
        std::vector<uint8_t> tga(18 + size_t(width) * height * 3, 0);
        tga[2] = 2, tga[12] = uint8_t(width), tga[14] = uint8_t(height), tga[16] = 24, tga[17] = 0x20;
        ASSERT_NE(image_load_memory(target_image, tga.data(), tga.size()), 0);
    } else {
        ASSERT_NE(image_create(target_image, width, height, depth), 0);
    }
    draw_begin(image_output(target_image));
    draw_box(0, 0, width, height, color_rgb(1, 2, 3));
    draw_end();
}

struct stretch_case {
    int source_width, source_height, source_depth;
    int target_width, target_height, target_depth;
    bool top_down;
    int x, y, width, height;
};

}  // namespace

TEST(Stretch, MatchesTheReferenceResampleInsideTheTargetOnly) {
    const stretch_case cases[] = {
        {61, 47, 24, 40, 30, 32, false, 3, 2, 17, 13},     // shrinking a photo
        {61, 47, 32, 40, 30, 24, true, 25, -4, 17, 13},    // shrinking across two edges
        {7, 5, 32, 40, 30, 24, true, 4, 3, 23, 17},        // enlarging
        {7, 5, 24, 40, 30, 32, false, -6, 20, 23, 17},     // enlarging across two edges
    };
    for (const stretch_case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source_width << "x" << c.source_height << " (" << c.source_depth
                                        << " bits) into " << c.width << "x" << c.height << " at " << c.x << ","
                                        << c.y << (c.top_down ? ", top-down" : ", bottom-up"));
        make_source(c.source_width, c.source_height, c.source_depth);
        make_target(c.target_width, c.target_height, c.target_depth, c.top_down);
        draw_begin(image_output(target_image));
        draw_image(image_handle(source_image), c.x, c.y, c.width, c.height);
        draw_end();

        auto columns = reference_taps(c.source_width, c.width), rows = reference_taps(c.source_height, c.height);
        pixel_grid grid = read_image(target_image);
        int wrong = 0;
        for (int y = 0; y < c.target_height; ++y) {
            for (int x = 0; x < c.target_width; ++x) {
                int u = x - c.x, v = y - c.y;
                bool inside = u >= 0 && u < c.width && v >= 0 && v < c.height;
                uint32_t expected = inside ? reference_pixel(columns[u], rows[v]) : untouched;
                if (channel_distance(grid.at(x, y), expected) > rounding_tolerance && ++wrong <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << grid.at(x, y) << ", not "
                                  << expected;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    image_free(source_image);
    image_free(target_image);
}

// As an export draws its faces: a picture decoded away from the numbered images and drawn
// without the drawing state lands exactly where and as draw_image puts it.
TEST(Stretch, DecodedPictureDrawnWithoutTheDrawingStateMatchesDrawImage) {
    make_source(61, 47, 24);
    ASSERT_EQ(image_save(source_image, "stretch_source.jpg", plugin_jpeg, 10), 1);
    platform_handle picture = image_decode_sized("stretch_source.jpg", 0, 0);
    ASSERT_NE(picture, nullptr);
    make_target(40, 30, 32, false);
    draw_begin(image_output(target_image));
    draw_image(picture, -3, 2, 17, 13);
    draw_end();
    const pixel_grid drawn = read_image(target_image);

    make_target(40, 30, 32, false);
    pixel_target target{nullptr, 0, 40, 30};
    target.top_row = image_top_row(target_image, &target.pitch);
    EXPECT_TRUE(image_stretch_decoded(picture, target, -3, 2, 17, 13));
    EXPECT_EQ(read_image(target_image).pixels, drawn.pixels);
    EXPECT_FALSE(image_stretch_decoded(picture, target, 0, 0, 61, 47)) << "draw_image copies a picture of its own size";

    // A part at its own size is the picture's pixels there, as a print sheet's panel is cut.
    const picture_part part = {10.0 / 61, 20.0 / 47, 40.0 / 61, 1};
    EXPECT_TRUE(image_stretch_decoded(picture, target, 0, 0, 30, 27, part));
    const pixel_grid decoded = read_pixels(picture), cut = read_image(target_image);
    for (int y = 0; y < 27; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(cut.at(x, y), decoded.at(x + 10, y + 20)) << x << "," << y;
    int32_t width = 0, height = 0;
    EXPECT_TRUE(image_picture_size("stretch_source.jpg", &width, &height));
    EXPECT_EQ(width * 1000 + height, 61047);
    image_decoded_free(picture);
    image_free(source_image);
    image_free(target_image);
}
