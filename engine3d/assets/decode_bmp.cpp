// BMP pictures: uncompressed 24 and 32 bits, and 8 bits with a colour table; rows
// bottom-up or top-down. Every read goes through bounds checks on the block.
#include <cstring>

#include "engine3d/assets/picture.h"

namespace engine3d {
namespace {

constexpr size_t file_header_size = 14;
constexpr uint32_t uncompressed = 0;

uint32_t read32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

bool decode_bmp(const uint8_t* bytes, size_t size, texture_level& picture) {
    if (size < file_header_size + 40) return false;
    const uint8_t* header = bytes + file_header_size;
    uint32_t header_size = read32(header), pixels_at = read32(bytes + 10);
    int32_t width = int32_t(read32(header + 4)), height = int32_t(read32(header + 8));
    uint16_t bits = read16(header + 14);
    uint32_t compression = read32(header + 16);
    bool top_down = height < 0;
    int64_t rows = top_down ? -int64_t(height) : height;
    if (!picture_size_fits(width, rows)) return false;
    if (compression != uncompressed) return false;
    if (bits != 8 && bits != 24 && bits != 32) return false;

    size_t stride = (size_t(width) * bits / 8 + 3) & ~size_t(3);
    if (pixels_at > size || stride * rows > size - pixels_at) return false;
    uint32_t palette[256] = {};
    if (bits == 8) {
        uint32_t used = read32(header + 32);
        size_t count = used && used <= 256 ? used : 256;
        if (header_size > size - file_header_size) return false;
        size_t palette_at = file_header_size + header_size;
        if (count * 4 > size - palette_at) return false;
        for (size_t i = 0; i < count; ++i) palette[i] = read32(bytes + palette_at + 4 * i) & 0xFFFFFF;
    }

    picture.width = width;
    picture.height = int32_t(rows);
    picture.texels.resize(size_t(width) * rows);
    for (int64_t y = 0; y < rows; ++y) {
        const uint8_t* in = bytes + pixels_at + stride * size_t(top_down ? y : rows - 1 - y);
        uint32_t* out = &picture.texels[size_t(y) * width];
        for (int32_t x = 0; x < width; ++x) {
            if (bits == 8) out[x] = palette[in[x]];
            else if (bits == 24) out[x] = in[3 * x] | in[3 * x + 1] << 8 | in[3 * x + 2] << 16;
            else out[x] = read32(in + 4 * x) & 0xFFFFFF;
        }
    }
    return true;
}

}  // namespace engine3d
