// PNG decoder: every colour type's pixel layout, interlacing, low-bit grey with tRNS, damaged
// and oversized files. Pictures are written here with libpng; relies on decoder_test_support.h.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>

#include "tests/image/decoder_test_support.h"

namespace {

using decoder_test::bytes;
using decoder_test::decode_file;
using decoder_test::decode_memory;
using decoder_test::decoded;
using pixel = std::vector<int>;

struct png_picture {
    int width = 0;
    int height = 0;
    int colour_type = 0;
    int bit_depth = 0;
    std::vector<bytes> rows;  // packed as stored in the file
    bool interlaced = false;
    std::vector<png_color> palette;
    bytes palette_alpha;
    bool grey_transparency = false;
};

void append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void set_extras(png_structp png, png_infop info, const png_picture& picture) {
    if (!picture.palette.empty()) png_set_PLTE(png, info, picture.palette.data(), int(picture.palette.size()));
    if (!picture.palette_alpha.empty()) {
        png_set_tRNS(png, info, picture.palette_alpha.data(), int(picture.palette_alpha.size()), nullptr);
    }
    if (picture.grey_transparency) {
        png_color_16 grey{};
        grey.gray = 1;
        png_set_tRNS(png, info, nullptr, 0, &grey);
    }
}

// No objects with destructors live in this frame: libpng may jump out of it.
bool write_png(const png_picture& picture, bytes* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, append, nullptr);
    png_set_compression_level(png, 0);  // stored blocks: truncation points map to rows
    png_set_IHDR(png, info, picture.width, picture.height, picture.bit_depth, picture.colour_type,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    set_extras(png, info, picture);
    png_write_info(png, info);
    int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (const bytes& row : picture.rows) png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

png_picture make_picture(int width, int height, int colour_type, int bit_depth, std::vector<bytes> rows) {
    png_picture picture;
    picture.width = width;
    picture.height = height;
    picture.colour_type = colour_type;
    picture.bit_depth = bit_depth;
    picture.rows = std::move(rows);
    return picture;
}

bytes encode(const png_picture& picture) {
    bytes out;
    EXPECT_TRUE(write_png(picture, &out));
    return out;
}

// A picture whose pixel (x, y) is (x * 40 + y, y * 50, 200 - x): R, G, B (and A) samples.
png_picture rgb_picture(int width, int height, bool alpha) {
    png_picture picture = make_picture(width, height, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, 8, {});
    for (int y = 0; y < height; ++y) {
        bytes row;
        for (int x = 0; x < width; ++x) {
            row.insert(row.end(), {uint8_t(x * 40 + y), uint8_t(y * 50), uint8_t(200 - x)});
            if (alpha) row.push_back(uint8_t(x * 60 + 3));
        }
        picture.rows.push_back(row);
    }
    return picture;
}

pixel expected_bgr(int x, int y) { return {200 - x, y * 50, x * 40 + y}; }

TEST(PngLayouts, RgbIsTwentyFourBitRightWayUpFromMemoryAndFile) {
    bytes data = encode(rgb_picture(3, 4, false));
    for (const decoded& d : {decode_memory(png_decoder, data), decode_file(png_decoder, data, ".png")}) {
        ASSERT_EQ(d.answer, probe_bgr24);
        ASSERT_EQ(d.stride, 12);
        EXPECT_EQ(d.result, 1);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 3; ++x) EXPECT_EQ(d.pixel(x, y), expected_bgr(x, y));
        }
    }
}

TEST(PngLayouts, RgbaKeepsAlphaFourth) {
    decoded d = decode_memory(png_decoder, encode(rgb_picture(3, 2, true)));
    ASSERT_EQ(d.answer, probe_bgra32);
    pixel expected = expected_bgr(2, 1);
    expected.push_back(2 * 60 + 3);
    EXPECT_EQ(d.pixel(2, 1), expected);
}

TEST(PngLayouts, PaletteWithTransparencyIsTwentyFourBit) {
    png_picture picture = make_picture(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1, 2}});
    picture.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    picture.palette_alpha = {0, 128};
    decoded d = decode_memory(png_decoder, encode(picture));
    ASSERT_EQ(d.answer, probe_bgr24);
    EXPECT_EQ(d.pixel(0, 0), (pixel{30, 20, 10}));
    EXPECT_EQ(d.pixel(1, 0), (pixel{60, 50, 40}));
    EXPECT_EQ(d.pixel(2, 0), (pixel{90, 80, 70}));
}

TEST(PngLayouts, SixteenBitSamplesKeepTheHighByte) {
    png_picture picture = make_picture(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x12, 0xAB, 0x34, 0xCD, 0x56, 0xEF}});
    EXPECT_EQ(decode_memory(png_decoder, encode(picture)).pixel(0, 0), (pixel{0x56, 0x34, 0x12}));
}

TEST(PngLayouts, OneBitGreyGivesBlackAndWhite) {
    png_picture picture = make_picture(3, 1, PNG_COLOR_TYPE_GRAY, 1, {{0xA0}});  // 1, 0, 1
    decoded d = decode_memory(png_decoder, encode(picture));
    ASSERT_EQ(d.answer, probe_bgr24);
    EXPECT_EQ(d.pixel(0, 0), (pixel{255, 255, 255}));
    EXPECT_EQ(d.pixel(1, 0), (pixel{0, 0, 0}));
    EXPECT_EQ(d.pixel(2, 0), (pixel{255, 255, 255}));
}

TEST(PngLayouts, GreyWithAlphaIsThirtyTwoBit) {
    png_picture picture = make_picture(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{77, 9}});
    decoded d = decode_memory(png_decoder, encode(picture));
    ASSERT_EQ(d.answer, probe_bgra32);
    EXPECT_EQ(d.pixel(0, 0), (pixel{77, 77, 77, 9}));
}

// Widening 2-bit grey must not grow an alpha channel from tRNS behind the probe's back:
// whatever the answer, the pixels fit it (the buffer is exact, so ASan sees overruns).
TEST(PngLayouts, LowBitGreyWithTransparencyFitsTheAnswer) {
    png_picture picture = make_picture(5, 1, PNG_COLOR_TYPE_GRAY, 2, {{0x1B, 0x40}});  // 0, 1, 2, 3, 1
    picture.grey_transparency = true;
    for (const decoded& d : {decode_memory(png_decoder, encode(picture)),
                             decode_file(png_decoder, encode(picture), ".png")}) {
        ASSERT_EQ(d.answer, probe_bgr24);
        EXPECT_EQ(d.result, 1);
        const int greys[] = {0, 85, 170, 255, 85};
        for (int x = 0; x < 5; ++x) EXPECT_EQ(d.pixel(x, 0), (pixel{greys[x], greys[x], greys[x]}));
    }
}

TEST(PngLayouts, InterlacedEqualsPlain) {
    png_picture picture = rgb_picture(9, 7, true);
    decoded plain = decode_memory(png_decoder, encode(picture));
    picture.interlaced = true;
    decoded interlaced = decode_memory(png_decoder, encode(picture));
    ASSERT_EQ(interlaced.answer, probe_bgra32);
    EXPECT_EQ(interlaced.result, 1);
    EXPECT_EQ(interlaced.pixels, plain.pixels);
}

TEST(PngDamage, TruncatedDataKeepsTheRowsRead) {
    // Wider than libpng's 8 KiB reads, so that the first reads succeed.
    png_picture picture = rgb_picture(200, 40, false);
    bytes whole = encode(picture);
    decoded d = decode_memory(png_decoder, bytes(whole.begin(), whole.begin() + whole.size() / 2));
    ASSERT_EQ(d.answer, probe_bgr24);
    EXPECT_EQ(d.result, 0);
    EXPECT_EQ(d.pixel(3, 0), expected_bgr(3, 0));
    EXPECT_EQ(d.pixel(3, 39), (pixel{0, 0, 0}));
}

TEST(PngDamage, EveryTruncationIsRefusedOrGivesPartOfThePicture) {
    png_picture picture = rgb_picture(6, 5, true);
    picture.interlaced = true;
    bytes data = encode(picture);
    decoded whole = decode_memory(png_decoder, data);
    ASSERT_EQ(whole.result, 1);
    for (size_t length = 0; length < data.size(); ++length) {
        decoded d = decode_memory(png_decoder, bytes(data.begin(), data.begin() + length));
        if (d.answer == probe_refused) continue;
        EXPECT_EQ(d.answer, probe_bgra32);
        expect_part_of(d, whole.pixels, length);
        // success only for a whole picture
        if (d.result) EXPECT_EQ(d.pixels, whole.pixels) << length;
    }
}

void set_header_size(bytes& data, uint32_t width, uint32_t height) {
    constexpr size_t ihdr_type = 12, ihdr_data = 16, ihdr_length = 13;
    for (int i = 0; i < 4; ++i) {
        data[ihdr_data + i] = uint8_t(width >> (24 - 8 * i));
        data[ihdr_data + 4 + i] = uint8_t(height >> (24 - 8 * i));
    }
    uint32_t crc = uint32_t(crc32(0, data.data() + ihdr_type, 4 + ihdr_length));
    for (int i = 0; i < 4; ++i) data[ihdr_data + ihdr_length + i] = uint8_t(crc >> (24 - 8 * i));
}

TEST(PngProbe, RefusesOtherFormatsAndOversizedPictures) {
    bytes data = encode(rgb_picture(2, 2, true));
    EXPECT_EQ(decode_memory(png_decoder, bytes(data.begin(), data.begin() + 7)).answer, probe_refused);
    bytes not_png = data;
    not_png[1] = 'Q';
    EXPECT_EQ(decode_memory(png_decoder, not_png).answer, probe_refused);
    bytes too_wide = data;
    set_header_size(too_wide, 65536, 1);
    EXPECT_EQ(decode_memory(png_decoder, too_wide).answer, probe_refused);
    bytes too_big = data;
    set_header_size(too_big, 40000, 40000);
    EXPECT_EQ(decode_memory(png_decoder, too_big).answer, probe_refused);
    bytes acceptable = data;
    set_header_size(acceptable, 3, 2);
    EXPECT_EQ(decode_memory(png_decoder, acceptable).answer, probe_bgra32);
}

}  // namespace
