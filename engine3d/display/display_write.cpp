// Resolving the frame into the locked back buffer in whatever RGB layout it has: a pixel's
// four samples averaged, then 32-bit X8R8G8B8 written row by row, every other layout
// channel by channel from its masks.
#include "engine3d/display/display.h"

#include <emmintrin.h>

#include <algorithm>

#include "engine3d/win32.h"
#include <ddraw.h>

#include "engine3d/render/raster.h"

namespace engine3d {
namespace {

constexpr int32_t piece_pixels = 256;

struct channel {
    uint32_t shift = 0, bits = 0;
};

channel channel_of(uint32_t mask) {
    channel c;
    if (!mask) return c;
    while (!(mask & 1)) mask >>= 1, ++c.shift;
    while (mask & 1) mask >>= 1, ++c.bits;
    return c;
}

uint32_t place(uint32_t value8, channel c) {
    return c.bits >= 8 ? value8 << (c.shift + c.bits - 8) : (value8 >> (8 - c.bits)) << c.shift;
}

struct pixel_layout {
    uint32_t bytes;
    channel red, green, blue;
    bool native;  // 0x00RRGGBB in 32 bits: rows are copied as they are

    explicit pixel_layout(const locked_surface& format)
        : bytes(format.bits_per_pixel / 8),
          red(channel_of(format.red_mask)),
          green(channel_of(format.green_mask)),
          blue(channel_of(format.blue_mask)),
          native(bytes == 4 && format.red_mask == 0xFF0000 && format.green_mask == 0xFF00 &&
                 format.blue_mask == 0xFF) {}

    void write(const uint32_t* in, size_t count, uint8_t* out) const {
        for (size_t i = 0; i < count; ++i, out += bytes) {
            uint32_t c = in[i];
            uint32_t value = place(c >> 16 & 0xFF, red) | place(c >> 8 & 0xFF, green) |
                             place(c & 0xFF, blue);
            for (uint32_t b = 0; b < bytes; ++b) out[b] = uint8_t(value >> (8 * b));
        }
    }
};

// One row of the frame, its four samples per pixel averaged, 0x00RRGGBB per pixel.
void frame_resolve_row(const frame_buffer& frame, int32_t row, int32_t left, int32_t right,
                       uint32_t* out) {
    const __m128i zero = _mm_setzero_si128(), rounding = _mm_set1_epi16(2);
    const uint32_t* samples = &frame.colour[(size_t(row) * frame.width + left) * 4];
    for (int32_t column = left; column < right; ++column, samples += 4) {
        __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples));
        __m128i sum = _mm_add_epi16(_mm_unpacklo_epi8(four, zero), _mm_unpackhi_epi8(four, zero));
        sum = _mm_add_epi16(sum, _mm_srli_si128(sum, 8));
        sum = _mm_srli_epi16(_mm_add_epi16(sum, rounding), 2);
        *out++ = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(sum, zero))) & 0xFFFFFF;
    }
}

}  // namespace

bool display_lock(display& screen, locked_surface& target) {
    if (!screen.back) return false;
    DDSURFACEDESC2 surface = {};
    surface.dwSize = sizeof surface;
    // Readable too: a rendered frame is copied back out to be kept.
    auto lock = [&] {
        return screen.back->Lock(nullptr, &surface, DDLOCK_WAIT, nullptr);
    };
    HRESULT result = lock();
    if (result == DDERR_SURFACELOST && display_restore(screen)) result = lock();
    if (FAILED(result)) return false;
    const DDPIXELFORMAT& format = surface.ddpfPixelFormat;
    target = {static_cast<uint8_t*>(surface.lpSurface), int32_t(surface.lPitch),
              int32_t(surface.dwWidth), int32_t(surface.dwHeight), format.dwRGBBitCount,
              format.dwRBitMask, format.dwGBitMask, format.dwBBitMask};
    return true;
}

void display_unlock(display& screen) {
    if (screen.back) screen.back->Unlock(nullptr);
}

void surface_write_rows(const locked_surface& target, const frame_buffer& frame, row_share rows) {
    pixel_layout layout(target);
    int32_t width = std::min(frame.width, target.width), height = std::min(frame.height, target.height);
    for (int32_t y = rows.part; y < height; y += rows.parts) {
        uint8_t* out = target.bits + size_t(y) * target.pitch;
        if (layout.native) {
            frame_resolve_row(frame, y, 0, width, reinterpret_cast<uint32_t*>(out));
            continue;
        }
        // Converted a piece at a time through the stack: nothing here may fail to allocate.
        uint32_t piece[piece_pixels];
        for (int32_t left = 0; left < width; left += piece_pixels) {
            int32_t right = std::min(width, left + piece_pixels);
            frame_resolve_row(frame, y, left, right, piece);
            layout.write(piece, size_t(right - left), out + size_t(left) * layout.bytes);
        }
    }
}

}  // namespace engine3d
