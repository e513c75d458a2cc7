// Choosing a decoder by signature, the size limit, and the mip chain of a texture.
#include "engine3d/assets/picture.h"

#include <algorithm>
#include <cstring>

namespace engine3d {
namespace {

constexpr int64_t largest_side = 16384;
constexpr int64_t largest_area = int64_t(64) << 20;

bool starts_with(const std::vector<uint8_t>& bytes, const char* signature, size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), signature, length) == 0;
}

uint32_t average_of_four(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    uint32_t red_blue = (a & 0xFF00FF) + (b & 0xFF00FF) + (c & 0xFF00FF) + (d & 0xFF00FF);
    uint32_t green = (a & 0xFF00) + (b & 0xFF00) + (c & 0xFF00) + (d & 0xFF00);
    return (((red_blue + 0x20002) >> 2) & 0xFF00FF) | (((green + 0x200) >> 2) & 0xFF00);
}

// Each texel of the next level averages a 2 x 2 block. Halving drops an odd last row or
// column, so a block only reaches past the picture when that side is a single texel:
// then the one texel stands for both.
texture_level half_size(const texture_level& level) {
    texture_level half;
    half.width = level.width > 1 ? level.width / 2 : 1;
    half.height = level.height > 1 ? level.height / 2 : 1;
    half.texels.resize(size_t(half.width) * half.height);
    const int32_t right = level.width > 1 ? 1 : 0, down = level.height > 1 ? level.width : 0;
    for (int32_t y = 0; y < half.height; ++y) {
        const uint32_t* row0 = &level.texels[size_t(2 * y) * level.width];
        const uint32_t* row1 = row0 + down;
        uint32_t* out = &half.texels[size_t(y) * half.width];
        for (int32_t x = 0; x < half.width; ++x)
            out[x] = average_of_four(row0[2 * x], row0[2 * x + right], row1[2 * x], row1[2 * x + right]);
    }
    return half;
}

}  // namespace

bool picture_size_fits(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= largest_side && height <= largest_side &&
           width * height <= largest_area;
}

bool decode_picture(const std::vector<uint8_t>& bytes, texture_level& picture) {
    if (starts_with(bytes, "\x89PNG\r\n\x1a\n", 8)) return decode_png(bytes.data(), bytes.size(), picture);
    if (starts_with(bytes, "\xFF\xD8\xFF", 3)) return decode_jpeg(bytes.data(), bytes.size(), picture);
    if (starts_with(bytes, "BM", 2)) return decode_bmp(bytes.data(), bytes.size(), picture);
    return false;
}

std::vector<texture_level> mip_chain(texture_level picture) {
    std::vector<texture_level> levels;
    const uint32_t first = picture.texels.empty() ? 0 : picture.texels[0];
    picture.one_colour = std::all_of(picture.texels.begin(), picture.texels.end(),
                                     [first](uint32_t texel) { return texel == first; });
    levels.push_back(std::move(picture));
    while (levels.back().width > 1 || levels.back().height > 1) {
        levels.push_back(half_size(levels.back()));
        levels.back().one_colour = levels.front().one_colour;
    }
    return levels;
}

}  // namespace engine3d
