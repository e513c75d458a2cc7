// TGA decoder: packets, pixel formats, row order and damaged data, with pictures built
// byte by byte here. Relies on the decoder record and decoder_test_support.h.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/image/decoder_test_support.h"

namespace {

using decoder_test::bytes;
using decoder_test::decode_file;
using decoder_test::decode_memory;
using decoder_test::decoded;
using pixel = std::vector<int>;

constexpr uint8_t raw = 2;
constexpr uint8_t run_length = 10;
constexpr uint8_t top_first = 0x20;
constexpr uint8_t right_to_left = 0x10;

bytes header(uint8_t type, uint16_t width, uint16_t height, uint8_t depth, uint8_t descriptor) {
    return {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0,
            uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8), depth, descriptor};
}

bytes operator+(bytes a, const bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Pixel (x, y) of a test picture, as B, G, R.
bytes colour(int x, int y) { return {uint8_t(10 + x * 20), uint8_t(100 + y * 30), uint8_t(x * 7 + y * 11)}; }

// Uncompressed 24-bit rows, stored in the order the descriptor says.
bytes raw_picture(int width, int height, uint8_t descriptor) {
    bytes data = header(raw, width, height, 24, descriptor);
    for (int i = 0; i < height; ++i) {
        int y = descriptor & top_first ? i : height - 1 - i;
        for (int x = 0; x < width; ++x) data = data + colour(x, y);
    }
    return data;
}

// The same picture run-length encoded: alternating two-pixel raw packets and one-pixel runs
// across row ends.
bytes run_length_picture(int width, int height, uint8_t descriptor) {
    bytes stored;
    for (int i = 0; i < height; ++i) {
        int y = descriptor & top_first ? i : height - 1 - i;
        for (int x = 0; x < width; ++x) stored = stored + colour(x, y);
    }
    bytes data = header(run_length, width, height, 24, descriptor);
    size_t pixels = stored.size() / 3;
    for (size_t at = 0; at < pixels;) {
        size_t count = at % 2 == 0 && at + 1 < pixels ? 2 : 1;
        data.push_back(count == 2 ? 0x01 : 0x80);
        data.insert(data.end(), stored.begin() + at * 3, stored.begin() + (at + count) * 3);
        at += count;
    }
    return data;
}

pixel as_pixel(const bytes& b) { return pixel(b.begin(), b.end()); }

void expect_picture(const decoded& d, int width, int height) {
    ASSERT_EQ(d.answer, probe_bgr24);
    ASSERT_EQ(d.width, width);
    ASSERT_EQ(d.height, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) EXPECT_EQ(d.pixel(x, y), as_pixel(colour(x, y))) << x << "," << y;
    }
}

TEST(TgaPackets, RunAndRawPackets) {
    bytes data = header(run_length, 4, 2, 24, top_first) + bytes{0x83, 1, 2, 3} +
                 bytes{0x02, 4, 5, 6, 7, 8, 9, 10, 11, 12} + bytes{0x80, 13, 14, 15};
    decoded d = decode_memory(tga_decoder, data);
    ASSERT_EQ(d.answer, probe_bgr24);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.pixel(x, 0), (pixel{1, 2, 3}));
    EXPECT_EQ(d.pixel(0, 1), (pixel{4, 5, 6}));
    EXPECT_EQ(d.pixel(2, 1), (pixel{10, 11, 12}));
    EXPECT_EQ(d.pixel(3, 1), (pixel{13, 14, 15}));
}

TEST(TgaPackets, PacketPastTheLastPixelStopsThere) {
    bytes data = header(run_length, 2, 2, 24, top_first) + bytes{0xFF, 9, 8, 7};
    decoded d = decode_memory(tga_decoder, data);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) EXPECT_EQ(d.pixel(x, y), (pixel{9, 8, 7}));
    }
}

// Both stored row orders, and a width whose rows need padding (stride 16).
TEST(TgaPackets, WidthFiveRunLengthEqualsUncompressed) {
    for (uint8_t descriptor : {uint8_t(0), top_first}) {
        decoded plain = decode_memory(tga_decoder, raw_picture(5, 3, descriptor));
        decoded packed = decode_memory(tga_decoder, run_length_picture(5, 3, descriptor));
        ASSERT_EQ(packed.stride, 16);
        expect_picture(plain, 5, 3);
        expect_picture(packed, 5, 3);
    }
}

TEST(TgaPixels, SixteenAndThirtyTwoBitSources) {
    bytes data = header(raw, 4, 1, 16, top_first) + bytes{0xFF, 0x7F, 0x1F, 0x00, 0xFF, 0xFF} +
                 bytes{0x00, 0x7C};
    decoded d = decode_memory(tga_decoder, data);
    EXPECT_EQ(d.pixel(0, 0), (pixel{248, 248, 248}));
    EXPECT_EQ(d.pixel(1, 0), (pixel{248, 0, 0}));
    EXPECT_EQ(d.pixel(2, 0), (pixel{248, 248, 248}));  // attribute bit ignored
    EXPECT_EQ(d.pixel(3, 0), (pixel{0, 0, 248}));

    for (uint8_t depth : {15, 16}) {
        decoded run = decode_memory(tga_decoder, header(run_length, 3, 1, depth, top_first) + bytes{0x82, 0x00, 0x7C});
        for (int x = 0; x < 3; ++x) EXPECT_EQ(run.pixel(x, 0), (pixel{0, 0, 248})) << int(depth);
        decoded plain = decode_memory(tga_decoder, header(raw, 1, 1, depth, top_first) + bytes{0x1F, 0x00});
        EXPECT_EQ(plain.pixel(0, 0), (pixel{248, 0, 0})) << int(depth);
    }

    decoded alpha = decode_memory(tga_decoder, header(raw, 1, 1, 32, top_first) + bytes{1, 2, 3, 200});
    EXPECT_EQ(alpha.answer, probe_bgr24);
    EXPECT_EQ(alpha.pixel(0, 0), (pixel{1, 2, 3}));
}

TEST(TgaPixels, UnsupportedDepthDecodesNothing) {
    for (uint8_t type : {raw, run_length}) {
        decoded d = decode_memory(tga_decoder, header(type, 3, 2, 8, 0) + bytes(64, 0x81));
        ASSERT_EQ(d.answer, probe_bgr24);
        EXPECT_EQ(d.width, 3);
        EXPECT_EQ(d.height, 2);
        EXPECT_EQ(d.result, 1);
        EXPECT_EQ(d.pixels, bytes(d.pixels.size(), 0));
    }
}

// Right-to-left order mirrors every row, stored either way and with padded rows.
TEST(TgaRows, RightToLeftRowsAreMirroredOnBothPaths) {
    for (uint8_t descriptor : {uint8_t(0), top_first}) {
        bytes plain = raw_picture(5, 3, descriptor), packed = run_length_picture(5, 3, descriptor);
        plain[17] = packed[17] = descriptor | right_to_left;
        for (const bytes& data : {plain, packed}) {
            decoded d = decode_memory(tga_decoder, data);
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 5; ++x) EXPECT_EQ(d.pixel(4 - x, y), as_pixel(colour(x, y))) << x << "," << y;
            }
        }
    }
}

// Entries take whole bytes: 15-bit ones are stored in 2.
TEST(TgaRows, IdFieldAndColourMapAreSkipped) {
    for (uint8_t entry_bits : {15, 24}) {
        bytes data = header(raw, 1, 1, 24, top_first);
        data[0] = 3;  // ID length
        data[5] = 2;  // colour map length
        data[7] = entry_bits;
        data = data + bytes(3 + 2 * ((entry_bits + 7) / 8), 0xEE) + bytes{1, 2, 3};
        EXPECT_EQ(decode_memory(tga_decoder, data).pixel(0, 0), (pixel{1, 2, 3})) << int(entry_bits);
    }
}

TEST(TgaDamage, ShortUncompressedDataKeepsWhatWasRead) {
    // Bottom row first: the two stored pixels land in the last row.
    bytes data = header(raw, 2, 2, 24, 0) + bytes{1, 2, 3, 4, 5, 6, 7, 8};
    decoded d = decode_memory(tga_decoder, data);
    EXPECT_EQ(d.pixel(0, 1), (pixel{1, 2, 3}));
    EXPECT_EQ(d.pixel(1, 1), (pixel{4, 5, 6}));
    EXPECT_EQ(d.pixel(0, 0), (pixel{0, 0, 0}));
    EXPECT_EQ(d.pixel(1, 0), (pixel{0, 0, 0}));
}

TEST(TgaDamage, ShortRunLengthDataKeepsPackedUnflippedPixels) {
    // 2 x 2, stride 8: three packed pixels sit at bytes 0 to 8, unspread and unflipped.
    bytes data = header(run_length, 2, 2, 24, 0) + bytes{0x81, 1, 2, 3, 0x00, 4, 5, 6, 0x81, 7};
    decoded d = decode_memory(tga_decoder, data);
    EXPECT_EQ(d.pixels, (bytes{1, 2, 3, 1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0, 0}));
}

// A stream cut short leaves the pixels decoded so far packed and unflipped, in stored order.
TEST(TgaDamage, EveryTruncationKeepsThePackedPixelsDecodedSoFar) {
    for (uint8_t depth : {16, 24, 32}) {
        bytes packets = bytes{0x84} + bytes(depth / 8, 0x55) + bytes{0x09} + bytes(10 * depth / 8, 0x66);
        bytes full = header(run_length, 5, 3, depth, 0) + packets;
        // top row first: the whole picture's rows in stored order, then unpadded
        decoded stored = decode_memory(tga_decoder, header(run_length, 5, 3, depth, top_first) + packets);
        bytes packed(stored.pixels.size(), 0);
        for (int32_t row = 0; row < 3; ++row)
            std::copy_n(stored.at(0, row), 15, packed.begin() + 15 * row);
        for (size_t length = 18; length < full.size(); ++length) {
            decoded d = decode_memory(tga_decoder, bytes(full.begin(), full.begin() + length));
            ASSERT_EQ(d.answer, probe_bgr24);
            expect_part_of(d, packed, length);
        }
    }
}

TEST(TgaProbe, RefusesWhatItCannotRead) {
    bytes good = raw_picture(2, 2, 0);
    EXPECT_EQ(decode_memory(tga_decoder, bytes(good.begin(), good.begin() + 17)).answer, probe_refused);
    for (uint8_t type : {0, 1, 3, 9, 11}) {
        bytes data = good;
        data[2] = type;
        EXPECT_EQ(decode_memory(tga_decoder, data).answer, probe_refused) << int(type);
    }
    EXPECT_EQ(decode_memory(tga_decoder, header(raw, 0, 5, 24, 0)).answer, probe_refused);
    EXPECT_EQ(decode_memory(tga_decoder, header(raw, 65535, 65535, 24, 0)).answer, probe_refused);
}

TEST(TgaFile, FileFormMatchesMemoryForm) {
    bytes data = run_length_picture(5, 3, 0);
    decoded from_file = decode_file(tga_decoder, data, ".tga");
    expect_picture(from_file, 5, 3);
    EXPECT_EQ(decode_file(tga_decoder, bytes(data.begin(), data.begin() + 10), ".tga").answer, probe_refused);
}

}  // namespace
