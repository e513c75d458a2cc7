// Pictures written a band at a time: PNG keeps straight alpha, JPEG keeps colour at full
// resolution, and a writer that did not finish leaves the target as it was.
#include <fstream>
#include <iterator>

#include "tests/image/decoder_test_support.h"

namespace {

using decoder_test::bytes;

bytes file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), {});
}

// Columns alternating between two colours, each pixel's alpha its column number times 20.
std::vector<uint32_t> stripes(int width, int height, uint32_t even, uint32_t odd) {
    std::vector<uint32_t> pixels(size_t(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (i % width % 2 ? odd : even) | uint32_t(i % width * 20) << 24;
    return pixels;
}

bool write_in_bands(const std::string& path, uint32_t plugin, const std::vector<uint32_t>& pixels,
                    int width, int height, int rows_given) {
    image_writer* writer = image_writer_open(path.c_str(), plugin, width, height);
    if (!writer) return false;
    auto* bytes_at = reinterpret_cast<const uint8_t*>(pixels.data());
    for (int row = 0; row < rows_given; row += 2)
        image_writer_rows(writer, bytes_at + size_t(row) * width * 4, width * 4, std::min(2, rows_given - row));
    return image_writer_close(writer, 1) == 1;
}

TEST(ImageWriter, PngKeepsStraightAlphaAndJpegKeepsFullResolutionColour) {
    const int width = 12, height = 5;
    const auto pixels = stripes(width, height, 0xFF2010, 0x1040F0);
    const std::string png = decoder_test::temporary_path(".png"), jpeg = decoder_test::temporary_path(".jpg");
    ASSERT_TRUE(write_in_bands(png, plugin_png, pixels, width, height, height));
    auto decoded = decoder_test::decode_file(png_decoder, file_bytes(png), ".png");
    ASSERT_EQ(decoded.answer, probe_bgra32);
    for (int x = 0; x < width; ++x)
        EXPECT_EQ(*reinterpret_cast<const uint32_t*>(decoded.at(x, height - 1)), pixels[x]) << x;

    ASSERT_TRUE(write_in_bands(jpeg, plugin_jpeg, pixels, width, height, height));
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

}  // namespace
