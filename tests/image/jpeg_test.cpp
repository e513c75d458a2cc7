// Tests of the JPEG decoder and encoder records: round trips, greyscale and four-component
// pictures, cut-short, damaged and oversized data, quality mapping and safe saving.
// Test pictures are made here with libjpeg; files go to a folder of each test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/image/image.h"
#include "runtime/image/jpeg_glue.h"
#include "tests/image/decoder_test_support.h"

namespace fs = std::filesystem;

namespace {

using decoder_test::bytes;
using decoder_test::decoded;

constexpr int best_quality_error = 5;
constexpr int lossy_error = 6;
constexpr uint8_t start_of_frame = 0xC0;

// Rows top-down, samples in libjpeg's order; `pattern` gives sample i of row y.
bytes compress_in_memory(int width, int height, int components, J_COLOR_SPACE space,
                         const std::function<uint8_t(int y, int i)>& pattern,
                         const std::function<void(jpeg_compress_struct&)>& adjust = {}) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    if (adjust) adjust(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    bytes row(size_t(width) * components);
    for (int y = 0; y < height; ++y) {
        for (size_t i = 0; i < row.size(); ++i) row[i] = pattern(y, int(i));
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    bytes result(out, out + size);
    std::free(out);
    jpeg_destroy_compress(&cinfo);
    return result;
}

// Busy enough that the scan data, not the headers, makes up most of the file.
bytes textured_jpeg() {
    return compress_in_memory(48, 64, 3, JCS_RGB, [](int y, int i) { return i * 37 + y * 11; });
}

decoded decode_memory(const bytes& data) { return decoder_test::decode_memory(jpeg_decoder, data); }

void expect_bgr_near(const uint8_t* pixel, int b, int g, int r, int tolerance) {
    EXPECT_NEAR(pixel[0], b, tolerance);
    EXPECT_NEAR(pixel[1], g, tolerance);
    EXPECT_NEAR(pixel[2], r, tolerance);
}

// Offset of the frame header among the segments before the scan.
size_t frame_header(const bytes& data) {
    size_t at = 2;
    while (at + 4 <= data.size() && data[at + 1] != start_of_frame)
        at += 2 + (data[at + 2] << 8 | data[at + 3]);
    return at;
}

class JpegFiles : public testing::Test {
protected:
    void SetUp() override {
        const char* test = testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = fs::current_path() / ("jpeg-" + std::string(test));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string path(const char* name) const { return (folder / name).string(); }

    fs::path folder;
};

bytes read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file(const std::string& name, const bytes& data) {
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

decoded decode_file(const std::string& name) {
    decoded out;
    FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) return out;
    out.answer = jpeg_decoder.probe(file, name.c_str(), nullptr, 0);
    if (out.answer != probe_refused) decoder_test::decode_accepted(jpeg_decoder, out);
    std::fclose(file);
    return out;
}

// Encoder input: bottom-up B, G, R rows; green climbs from the bottom row upwards.
struct bottom_up {
    int32_t width, height, stride;
    bytes data;
    const uint8_t* at(int x, int row) const { return &data[size_t(row) * stride + x * 3]; }
};

bottom_up gradient(int32_t width, int32_t height) {
    bottom_up picture{width, height, int32_t(bmp_row_stride(width, 24)), {}};
    picture.data.assign(size_t(picture.stride) * height, 0);
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = &picture.data[size_t(row) * picture.stride + x * 3];
            pixel[0] = uint8_t(40 + 200 * x / (width - 1));
            pixel[1] = uint8_t(40 + 200 * row / (height - 1));
            pixel[2] = uint8_t((pixel[0] + pixel[1]) / 2);
        }
    }
    return picture;
}

int32_t encode(const std::string& name, const bottom_up& picture, int32_t flags) {
    return jpeg_encoder.encode(name.c_str(), picture.data.data(), picture.width,
                               picture.height, picture.stride, flags);
}

TEST_F(JpegFiles, BestQualityRoundTripPutsTheLastInputRowOnTop) {
    bottom_up picture = gradient(37, 29);
    ASSERT_EQ(encode(path("round.jpg"), picture, 10), 1);
    decoded out = decode_file(path("round.jpg"));
    ASSERT_EQ(out.answer, probe_bgr24);
    ASSERT_EQ(out.width, picture.width);
    ASSERT_EQ(out.height, picture.height);
    EXPECT_EQ(out.result, 1);
    for (int y = 0; y < out.height; ++y) {
        EXPECT_EQ(out.pixels[size_t(y) * out.stride + out.width * 3], 0);  // row padding
        for (int x = 0; x < out.width; ++x) {
            const uint8_t* source = picture.at(x, picture.height - 1 - y);
            expect_bgr_near(out.at(x, y), source[0], source[1], source[2], best_quality_error);
        }
    }
}

TEST(JpegDecoder, GreyscaleGivesEqualBlueGreenRed) {
    decoded out = decode_memory(
        compress_in_memory(16, 8, 1, JCS_GRAYSCALE, [](int, int x) { return 30 + 12 * x; }));
    ASSERT_EQ(out.result, 1);
    for (int x = 0; x < out.width; ++x) {
        EXPECT_EQ(out.at(x, 3)[0], out.at(x, 3)[1]);
        EXPECT_EQ(out.at(x, 3)[1], out.at(x, 3)[2]);
        EXPECT_NEAR(out.at(x, 3)[0], 30 + 12 * x, lossy_error);
    }
}

// Ink C 0, M 128, Y 255, K 64 lets through red 191, green 95, blue 0. Files with an Adobe
// marker hold the inverted amounts, as Photoshop writes them.
TEST(JpegDecoder, FourComponentInkComesOutAsRgb) {
    const uint8_t ink[] = {0, 128, 255, 64};
    for (J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
        for (bool adobe : {true, false}) {
            if (stored == JCS_YCCK && !adobe) continue;  // YCCK is only told by the marker
            SCOPED_TRACE(testing::Message() << "colour space " << stored << " adobe " << adobe);
            auto sample = [&](int, int i) { return adobe ? 255 - ink[i % 4] : ink[i % 4]; };
            decoded out = decode_memory(
                compress_in_memory(16, 16, 4, JCS_CMYK, sample, [&](jpeg_compress_struct& c) {
                    jpeg_set_colorspace(&c, stored);
                    c.write_Adobe_marker = adobe;
                }));
            ASSERT_EQ(out.result, 1);
            expect_bgr_near(out.at(5, 9), 0, 95, 191, lossy_error);
        }
    }
}

// The JPEG with an APP1 segment right after its start-of-image marker, carrying an Exif
// directory of one entry: the orientation tag, in either byte order.
bytes with_exif_orientation(const bytes& jpeg, uint16_t orientation, bool big_endian) {
    bytes tiff;
    auto put = [&](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) tiff.push_back(uint8_t(value >> 8 * (big_endian ? size - 1 - i : i)));
    };
    tiff = big_endian ? bytes{'M', 'M'} : bytes{'I', 'I'};
    put(42, 2), put(8, 4), put(1, 2);                 // header, then a directory of one entry
    put(0x0112, 2), put(3, 2), put(1, 4), put(orientation, 2), put(0, 2);
    put(0, 4);                                        // no further directory
    bytes segment = {'E', 'x', 'i', 'f', 0, 0};
    segment.insert(segment.end(), tiff.begin(), tiff.end());
    size_t length = segment.size() + 2;
    bytes out = {0xFF, 0xD8, 0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)};
    out.insert(out.end(), segment.begin(), segment.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

// Stored 32 x 16, grey with a red top-left and a green top-right 8 x 8 corner; each
// orientation puts them in the corners a photo viewer shows them in.
TEST(JpegExif, EveryOrientationComesOutUpright) {
    constexpr int corner_tolerance = 60;  // chroma subsampling bleeds grey into the corners
    enum corner { top_left, top_right, bottom_right, bottom_left };
    const corner red_at[9] = {top_left, top_left, top_right, bottom_right, bottom_left,
                              top_left, top_right, bottom_right, bottom_left};
    const corner green_at[9] = {top_right, top_right, top_left, bottom_left, bottom_right,
                                bottom_left, bottom_right, top_right, top_left};
    bytes stored = compress_in_memory(32, 16, 3, JCS_RGB, [](int y, int i) {
        int x = i / 3, channel = i % 3;
        if (y < 8 && x < 8) return channel == 0 ? 255 : 0;
        if (y < 8 && x >= 24) return channel == 1 ? 255 : 0;
        return 128;
    });
    for (uint16_t orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(testing::Message() << "orientation " << orientation);
        decoded out = decode_memory(with_exif_orientation(stored, orientation, orientation % 2 == 0));
        ASSERT_EQ(out.result, 1);
        bool turned = orientation >= 5;
        ASSERT_EQ(out.width, turned ? 16 : 32);
        ASSERT_EQ(out.height, turned ? 32 : 16);
        auto centre_of = [&](corner c) {
            int x = c == top_left || c == bottom_left ? 4 : out.width - 4;
            int y = c == top_left || c == top_right ? 4 : out.height - 4;
            return out.at(x, y);
        };
        expect_bgr_near(centre_of(red_at[orientation]), 0, 0, 255, corner_tolerance);
        expect_bgr_near(centre_of(green_at[orientation]), 0, 255, 0, corner_tolerance);
    }
}

// Cut anywhere before the end of its orientation entry (the last 4 bytes point to no
// further directory), the segment names no orientation: the picture stays as stored.
TEST(JpegExif, DamagedSegmentLeavesThePictureAsStored) {
    bytes stored = textured_jpeg(), full = with_exif_orientation(stored, 6, false);
    size_t segment_length = full[4] << 8 | full[5];
    for (size_t kept = 2; kept < segment_length - 4; ++kept) {
        bytes cut(full.begin(), full.begin() + 4 + kept);
        cut[4] = uint8_t(kept >> 8), cut[5] = uint8_t(kept);
        cut.insert(cut.end(), stored.begin() + 2, stored.end());
        decoded out = decode_memory(cut);
        EXPECT_EQ(out.width, 48) << kept;
    }
}

TEST(JpegMemorySource, NeverHandsOutBytesPastTheBlock) {
    bytes block = {0xFF, 0xD8, 1, 2, 3};
    const bytes end_marker = {0xFF, 0xD9};
    jpeg_decompress_struct cinfo{};
    jpeg_jump_error error;
    cinfo.err = jpeg_jump_error_init(error);
    jpeg_create_decompress(&cinfo);
    auto handed = [&] {
        return bytes(cinfo.src->next_input_byte,
                     cinfo.src->next_input_byte + cinfo.src->bytes_in_buffer);
    };
    jpeg_memory_source(&cinfo, block.data(), block.size());
    cinfo.src->skip_input_data(&cinfo, 3);
    EXPECT_EQ(handed(), bytes({2, 3}));
    EXPECT_TRUE(cinfo.src->fill_input_buffer(&cinfo));
    EXPECT_EQ(handed(), end_marker);
    EXPECT_EQ(cinfo.err->num_warnings, 1);

    jpeg_memory_source(&cinfo, block.data(), block.size());
    cinfo.src->skip_input_data(&cinfo, 1000);
    EXPECT_EQ(handed(), end_marker);
    jpeg_destroy_decompress(&cinfo);
}

TEST(JpegDecoder, CutShortDataStillDecodes) {
    bytes full = textured_jpeg();
    decoded whole = decode_memory(full);
    decoded cut = decode_memory(bytes(full.begin(), full.begin() + full.size() / 2));
    ASSERT_EQ(cut.answer, probe_bgr24);
    EXPECT_EQ(cut.result, 1);
    EXPECT_EQ(bytes(cut.at(0, 0), cut.at(0, 1)), bytes(whole.at(0, 0), whole.at(0, 1)));
}

TEST(JpegDecoder, LibraryErrorWhileDecodingKeepsTheRowsWritten) {
    bytes data = textured_jpeg();
    // A second frame header after the scan is an error only once decoding reaches it.
    size_t frame = frame_header(data);
    size_t frame_size = 2 + (data[frame + 2] << 8 | data[frame + 3]);
    bytes damaged(data.begin(), data.end() - 2);
    damaged.insert(damaged.end(), data.begin() + frame, data.begin() + frame + frame_size);
    damaged.insert(damaged.end(), data.end() - 2, data.end());
    decoded out = decode_memory(damaged);
    ASSERT_EQ(out.answer, probe_bgr24);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.pixels, decode_memory(data).pixels);
}

TEST_F(JpegFiles, RefusesTooLargeShortAndForeignData) {
    bytes huge = textured_jpeg();
    // 60000 x 60000 pixels: more than a 32-bit process can hold.
    for (size_t side : {frame_header(huge) + 5, frame_header(huge) + 7}) {
        huge[side] = 0xEA;
        huge[side + 1] = 0x60;
    }
    EXPECT_EQ(decode_memory(huge).answer, probe_refused);
    EXPECT_EQ(decode_memory({0xFF, 0xD8}).answer, probe_refused);
    EXPECT_EQ(decode_memory({0xFF}).answer, probe_refused);
    EXPECT_EQ(decode_memory({'B', 'M', 0xFF, 0xD8}).answer, probe_refused);
    write_file(path("text.jpg"), {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'});
    EXPECT_EQ(decode_file(path("text.jpg")).answer, probe_refused);
    write_file(path("empty.jpg"), {});
    EXPECT_EQ(decode_file(path("empty.jpg")).answer, probe_refused);
    EXPECT_EQ(decode_memory(textured_jpeg()).result, 1);
}

// The first luminance divisor: 16 at quality 50, scaled by the library's quality curve.
int first_divisor(const bytes& file) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    int divisor = cinfo.quant_tbl_ptrs[0]->quantval[0];
    jpeg_destroy_decompress(&cinfo);
    return divisor;
}

// Quality 0 counts as 1 (divisor 800, beyond baseline's 255); 10 gives 80, 90 gives 3.
TEST_F(JpegFiles, FlagsChooseTheLibraryQuality) {
    const std::pair<int32_t, int> mapping[] = {{-3, 800}, {1, 80}, {5, 16}, {9, 3}, {10, 1},
                                               {15, 1}};
    for (auto [flags, divisor] : mapping) {
        SCOPED_TRACE(testing::Message() << "flags " << flags);
        ASSERT_EQ(encode(path("quality.jpg"), gradient(8, 8), flags), 1);
        EXPECT_EQ(first_divisor(read_file(path("quality.jpg"))), divisor);
    }
}

TEST_F(JpegFiles, FailedSavesLeaveTheTargetAsItWas) {
    bottom_up picture = gradient(4, 4);
    EXPECT_EQ(encode(path("missing/out.jpg"), picture, 10), 0);
    EXPECT_EQ(encode(path("empty.jpg"), bottom_up{0, 4, 12, picture.data}, 10), 0);
    EXPECT_FALSE(fs::exists(path("empty.jpg")));

    const bytes previous = {1, 2, 3, 4, 5};
    write_file(path("kept.jpg"), previous);
    // Wider than any JPEG may be: the library fails when compression starts.
    constexpr int32_t too_wide = 70000;
    bottom_up row{too_wide, 1, too_wide * 3, bytes(too_wide * 3)};
    EXPECT_EQ(encode(path("kept.jpg"), row, 10), 0);
    EXPECT_EQ(read_file(path("kept.jpg")), previous);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

}  // namespace
