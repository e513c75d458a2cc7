// TIFF decoder: RGB and alpha pictures the right way up, refused compressions and sizes,
// and a memory client that stays inside its block. Pictures are written here with libtiff
// and then patched byte by byte; relies on decoder_test_support.h.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdlib>

#include "tests/image/decoder_test_support.h"

namespace {

using decoder_test::bytes;
using decoder_test::decode_file;
using decoder_test::decode_memory;
using decoder_test::decoded;
using pixel = std::vector<int>;

struct tiff_picture {
    uint32_t width;
    uint32_t height;
    uint16_t samples;
    uint16_t extra;  // EXTRASAMPLE_* of a fourth sample
    uint16_t compression;
    bytes pixels;  // rows top first, samples R, G, B(, A)
};

bytes read_whole(const std::string& path) {
    bytes data;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return data;
    uint8_t chunk[4096];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, file)) > 0;) data.insert(data.end(), chunk, chunk + got);
    fclose(file);
    return data;
}

bytes encode(const tiff_picture& picture) {
    std::string path = decoder_test::temporary_path(".tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif) return {};
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, picture.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, picture.height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, picture.samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, picture.compression);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
    if (picture.extra) TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &picture.extra);
    size_t row_bytes = size_t(picture.width) * picture.samples;
    for (uint32_t y = 0; y < picture.height; ++y) {
        bytes row(picture.pixels.begin() + y * row_bytes, picture.pixels.begin() + (y + 1) * row_bytes);
        TIFFWriteScanline(tif, row.data(), y, 0);
    }
    TIFFClose(tif);
    bytes data = read_whole(path);
    remove(path.c_str());
    return data;
}

// Pixel (x, y) is R = 30 x + 5, G = 40 y + 7, B = 100 + x + y.
tiff_picture rgb_picture(uint32_t width, uint32_t height, uint16_t compression) {
    tiff_picture picture{width, height, 3, 0, compression, {}};
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            picture.pixels.insert(picture.pixels.end(), {uint8_t(30 * x + 5), uint8_t(40 * y + 7), uint8_t(100 + x + y)});
        }
    }
    return picture;
}

pixel expected_bgra(int x, int y) { return {100 + x + y, 40 * y + 7, 30 * x + 5, 255}; }

uint16_t get16(const bytes& data, size_t at) { return uint16_t(data[at] | data[at + 1] << 8); }
uint32_t get32(const bytes& data, size_t at) { return get16(data, at) | uint32_t(get16(data, at + 2)) << 16; }

void put32(bytes& data, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) data[at + i] = uint8_t(value >> (8 * i));
}

constexpr uint16_t type_short = 3;
constexpr uint16_t type_long = 4;

// Offset of a tag's entry in the first IFD of a little-endian TIFF.
size_t tag_entry(const bytes& data, uint16_t tag) {
    size_t ifd = get32(data, 4);
    for (size_t i = 0, count = get16(data, ifd); i < count; ++i) {
        size_t entry = ifd + 2 + 12 * i;
        if (get16(data, entry) == tag) return entry;
    }
    ADD_FAILURE() << "no tag " << tag;
    return 0;
}

void set_short_tag(bytes& data, uint16_t tag, uint16_t value) {
    size_t entry = tag_entry(data, tag);
    data[entry + 8] = uint8_t(value);
    data[entry + 9] = uint8_t(value >> 8);
}

void set_long_tag(bytes& data, uint16_t tag, uint32_t value) {
    size_t entry = tag_entry(data, tag);
    data[entry + 2] = type_long;
    data[entry + 3] = 0;
    put32(data, entry + 8, value);
}

// Sets element `index` of an out-of-line SHORT or LONG array to far past any small file.
void set_array_far(bytes& data, uint16_t tag, size_t index) {
    size_t entry = tag_entry(data, tag);
    size_t at = get32(data, entry + 8);
    if (get16(data, entry + 2) == type_short) {
        data[at + 2 * index] = data[at + 2 * index + 1] = 0xFF;
    } else {
        put32(data, at + 4 * index, 0xFFFFFFF0u);
    }
}

void expect_rgb(const decoded& d, int width, int height) {
    ASSERT_EQ(d.answer, probe_bgra32);
    ASSERT_EQ(d.width, width);
    ASSERT_EQ(d.height, height);
    EXPECT_EQ(d.result, 1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) EXPECT_EQ(d.pixel(x, y), expected_bgra(x, y)) << x << "," << y;
    }
}

TEST(TiffPictures, RgbIsOpaqueThirtyTwoBitTopRowFirst) {
    bytes data = encode(rgb_picture(3, 4, COMPRESSION_NONE));
    expect_rgb(decode_memory(tiff_decoder, data), 3, 4);
    expect_rgb(decode_file(tiff_decoder, data, ".tif"), 3, 4);
    expect_rgb(decode_memory(tiff_decoder, encode(rgb_picture(5, 3, COMPRESSION_LZW))), 5, 3);
}

// The RGBA interface delivers associated alpha: associated samples pass through, and
// unassociated ones come back multiplied by their alpha.
TEST(TiffPictures, AlphaIsKeptFourth) {
    tiff_picture associated{2, 1, 4, EXTRASAMPLE_ASSOCALPHA, COMPRESSION_NONE, {60, 40, 20, 128, 9, 8, 7, 0}};
    decoded d = decode_memory(tiff_decoder, encode(associated));
    ASSERT_EQ(d.answer, probe_bgra32);
    EXPECT_EQ(d.pixel(0, 0), (pixel{20, 40, 60, 128}));

    tiff_picture unassociated{2, 1, 4, EXTRASAMPLE_UNASSALPHA, COMPRESSION_NONE, {200, 100, 50, 128, 9, 8, 7, 255}};
    d = decode_memory(tiff_decoder, encode(unassociated));
    EXPECT_EQ(d.pixel(1, 0), (pixel{7, 8, 9, 255}));
    pixel half = d.pixel(0, 0);
    EXPECT_EQ(half[3], 128);
    EXPECT_NEAR(half[2], 100, 1);
    EXPECT_NEAR(half[0], 25, 1);
}

TEST(TiffProbe, RefusesOldJpegAndOldDeflate) {
    bytes good = encode(rgb_picture(2, 2, COMPRESSION_NONE));
    for (uint16_t compression : {uint16_t(COMPRESSION_OJPEG), uint16_t(COMPRESSION_DEFLATE)}) {
        bytes data = good;
        set_short_tag(data, TIFFTAG_COMPRESSION, compression);
        EXPECT_EQ(decode_memory(tiff_decoder, data).answer, probe_refused) << compression;
        EXPECT_EQ(decode_file(tiff_decoder, data, ".tif").answer, probe_refused) << compression;
    }
}

TEST(TiffProbe, RefusesOversizedAndForeignData) {
    bytes data = encode(rgb_picture(2, 2, COMPRESSION_NONE));
    bytes wide = data;
    set_long_tag(wide, TIFFTAG_IMAGEWIDTH, 70000);
    EXPECT_EQ(decode_memory(tiff_decoder, wide).answer, probe_refused);
    EXPECT_EQ(decode_memory(tiff_decoder, bytes{'I', 'I', 42, 0}).answer, probe_refused);
    EXPECT_EQ(decode_memory(tiff_decoder, bytes(64, 0x89)).answer, probe_refused);
}

TEST(TiffMemory, DirectoryPastTheEndIsRefused) {
    bytes data = encode(rgb_picture(2, 2, COMPRESSION_NONE));
    put32(data, 4, uint32_t(data.size()) + 100);
    EXPECT_EQ(decode_memory(tiff_decoder, data).answer, probe_refused);
    put32(data, 4, 0xFFFFFFF0u);
    EXPECT_EQ(decode_memory(tiff_decoder, data).answer, probe_refused);
}

// A strip that starts or runs past the block's end: nothing outside the block is read
// (the block ends with its heap allocation), and the rows before it still arrive.
TEST(TiffMemory, StripsPastTheEndStayInside) {
    bytes data = encode(rgb_picture(2, 3, COMPRESSION_NONE));
    set_array_far(data, TIFFTAG_STRIPOFFSETS, 2);
    set_array_far(data, TIFFTAG_STRIPBYTECOUNTS, 1);
    decoded d = decode_memory(tiff_decoder, data);
    ASSERT_EQ(d.answer, probe_bgra32);
    EXPECT_EQ(d.pixel(1, 0), expected_bgra(1, 0));
}

TEST(TiffMemory, EveryTruncationIsRefusedOrGivesPartOfThePicture) {
    bytes data = encode(rgb_picture(4, 3, COMPRESSION_LZW));
    decoded whole = decode_memory(tiff_decoder, data);
    for (size_t length = 0; length < data.size(); ++length) {
        decoded d = decode_memory(tiff_decoder, bytes(data.begin(), data.begin() + length));
        if (d.answer == probe_refused) continue;
        expect_part_of(d, whole.pixels, length);
        EXPECT_EQ(d.result, 1) << length;
    }
}

}  // namespace
