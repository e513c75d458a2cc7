// Pictures written a band at a time: PNG keeps every pixel with straight alpha, JPEG keeps
// colour at full resolution, a writer that did not finish leaves the target as it was, and
// one that finds no memory says so.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "runtime/core/windows_host.h"
#include "tests/image/decoder_test_support.h"
#include "tests/support/test_runtime.h"

namespace {

using decoder_test::bytes;

bytes file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), {});
}

bool contains(const bytes& file, const std::string& part) {
    const bytes wanted(part.begin(), part.end());
    return std::search(file.begin(), file.end(), wanted.begin(), wanted.end()) != file.end();
}

// Columns alternating between two colours, each pixel's alpha its column number times 20.
std::vector<uint32_t> stripes(int width, int height, uint32_t even, uint32_t odd) {
    std::vector<uint32_t> pixels(size_t(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (i % width % 2 ? odd : even) | uint32_t(i % width * 20) << 24;
    return pixels;
}

// Holds every free stretch of address space of 64 KiB or more, and the heap's free blocks
// of that size, while it lives: larger allocations and new threads fail, small ones do not.
class address_space_taken {
public:
    address_space_taken() {
        constexpr size_t smallest = size_t(1) << 16, largest = size_t(1) << 28, most = 1 << 16;
        regions_.reserve(most);
        blocks_.reserve(most);
        for (size_t size = largest; size >= smallest; size /= 2)
            while (regions_.size() < most)
                if (void* region = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS)) regions_.push_back(region);
                else break;
        while (blocks_.size() < most)
            if (void* block = std::malloc(smallest)) blocks_.push_back(block);
            else break;
    }
    ~address_space_taken() {
        for (void* block : blocks_) std::free(block);
        for (void* region : regions_) VirtualFree(region, 0, MEM_RELEASE);
    }
    address_space_taken(const address_space_taken&) = delete;
    address_space_taken& operator=(const address_space_taken&) = delete;

private:
    std::vector<void*> regions_, blocks_;
};

bool write_in_bands(const std::string& path, uint32_t plugin, const std::vector<uint32_t>& pixels,
                    int width, int height, int rows_given, int32_t pixels_per_inch = 0) {
    image_writer* writer = image_writer_open(path.c_str(), plugin, width, height, pixels_per_inch);
    if (!writer) return false;
    auto* bytes_at = reinterpret_cast<const uint8_t*>(pixels.data());
    for (int row = 0; row < rows_given; row += 2)
        image_writer_rows(writer, bytes_at + size_t(row) * width * 4, width * 4, std::min(2, rows_given - row));
    return image_writer_close(writer, 1) == 1;
}

// Tall enough that the rows reach the encoder in several parts.
TEST(ImageWriter, PngKeepsEveryPixelWithStraightAlphaAndJpegKeepsFullResolutionColour) {
    const int width = 300, height = 1000;
    const auto pixels = stripes(width, height, 0xFF2010, 0x1040F0);
    const std::string png = decoder_test::temporary_path(".png"), jpeg = decoder_test::temporary_path(".jpg");
    ASSERT_TRUE(write_in_bands(png, plugin_png, pixels, width, height, height));
    EXPECT_FALSE(contains(file_bytes(png), "sRGB")) << "untagged unless asked";
    ASSERT_TRUE(write_in_bands(png, plugin_png, pixels, width, height, height, 300));
    EXPECT_TRUE(contains(file_bytes(png), "sRGB"));
    EXPECT_TRUE(contains(file_bytes(png), std::string("pHYs\0\0\x2E\x23\0\0\x2E\x23\x01", 13))) << "11811 per metre";
    auto decoded = decoder_test::decode_file(png_decoder, file_bytes(png), ".png");
    ASSERT_EQ(decoded.answer, probe_bgra32);
    for (int y = 0; y < height; ++y)
        if (std::memcmp(decoded.at(0, y), &pixels[size_t(y) * width], size_t(width) * 4) != 0) {
            ADD_FAILURE() << "row " << y << " differs from the one written";
            break;
        }

    ASSERT_TRUE(write_in_bands(jpeg, plugin_jpeg, pixels, width, height, height, 150));
    EXPECT_TRUE(contains(file_bytes(jpeg), std::string("JFIF\0\x01\x01\x01\0\x96\0\x96", 12))) << "150 per inch";
    decoded = decoder_test::decode_file(jpeg_decoder, file_bytes(jpeg), ".jpg");
    ASSERT_EQ(decoded.width, width);
    EXPECT_NEAR(decoded.pixel(4, 2)[0], 0x10, 24) << "blue of a red column, smeared by subsampling?";
    EXPECT_NEAR(decoded.pixel(5, 2)[0], 0xF0, 24);

    const bytes before = file_bytes(png);
    EXPECT_FALSE(write_in_bands(png, plugin_png, pixels, width, height, height - 1));
    EXPECT_EQ(file_bytes(png), before);
    std::remove(png.c_str());
    std::remove(jpeg.c_str());
}

// Nothing may allocate between taking the memory and giving it back but the writer itself.
TEST(ImageWriter, WriterWithoutMemoryNamesMemoryAndWritesNothing) {
    const int width = 4096, height = 2;
    const auto pixels = stripes(width, height, 0xFF2010, 0x1040F0);
    const std::string png = decoder_test::temporary_path(".png");
    int32_t closed = 0;
    image_save_failure reason = image_save_failure::none;
    {
        address_space_taken taken;
        image_writer* writer = image_writer_open(png.c_str(), plugin_png, width, height);
        if (writer) image_writer_rows(writer, reinterpret_cast<const uint8_t*>(pixels.data()), width * 4, height);
        closed = image_writer_close(writer, 1);
        reason = image_last_save_failure();
    }
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(reason, image_save_failure::no_memory) << "reason " << int(reason);
    EXPECT_FALSE(file_exists(png));
}

}  // namespace
