// Reading a surface into the 24-bit bottom-up rows that the BMP writer and the encoders
// take. Channels come from the surface's own masks, so formats other than the display's
// (32-bit sprites on a 16-bit display, red in the low byte) read back in the right colours.
#include <cstring>

#include "runtime/screen/screen_internal.h"

namespace {

struct channel {
    uint32_t mask;
    int shift;
    int bits;

    explicit channel(uint32_t channel_mask) : mask(channel_mask), shift(0), bits(0) {
        for (; channel_mask && !(channel_mask & 1); channel_mask >>= 1) ++shift;
        for (; channel_mask & 1; channel_mask >>= 1) ++bits;
    }
    // The top bits of the byte, as 5-6-5 pixels have always been widened.
    uint8_t from(uint32_t pixel) const {
        uint32_t value = (pixel & mask) >> shift;
        return uint8_t(bits >= 8 ? value >> (bits - 8) : value << (8 - bits));
    }
};

struct masks {
    uint32_t red, green, blue;
};

// Surfaces that state no masks have the usual ones of their depth.
masks masks_of(const DDPIXELFORMAT& format, int32_t bits) {
    if (format.dwRBitMask) return {format.dwRBitMask, format.dwGBitMask, format.dwBBitMask};
    if (bits == 16) return {0xF800, 0x07E0, 0x001F};
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

void convert_locked(const DDSURFACEDESC2& locked, int32_t width, int32_t height, int32_t stride,
                    uint8_t* buffer) {
    int32_t bits = int32_t(locked.ddpfPixelFormat.dwRGBBitCount);
    int32_t bytes_per_pixel = bits / 8;
    masks m = masks_of(locked.ddpfPixelFormat, bits);
    channel red(m.red), green(m.green), blue(m.blue);
    const auto* surface = static_cast<const uint8_t*>(locked.lpSurface);
    for (int32_t row = height - 1; row >= 0; --row, buffer += stride) {
        const uint8_t* source = surface + size_t(row) * size_t(locked.lPitch);
        uint8_t* out = buffer;
        for (int32_t x = 0; x < width; ++x, source += bytes_per_pixel) {
            uint32_t pixel = 0;
            std::memcpy(&pixel, source, size_t(bytes_per_pixel));
            *out++ = blue.from(pixel);
            *out++ = green.from(pixel);
            *out++ = red.from(pixel);
        }
    }
}

bool read_through_dc(IDirectDrawSurface7* surface, int32_t width, int32_t height, int32_t stride,
                     uint8_t* buffer) {
    HDC dc;
    if (FAILED(surface->GetDC(&dc))) return false;
    for (int32_t row = height - 1; row >= 0; --row, buffer += stride) {
        uint8_t* out = buffer;
        for (int32_t x = 0; x < width; ++x) {
            COLORREF colour = GetPixel(dc, x, row);
            *out++ = GetBValue(colour);
            *out++ = GetGValue(colour);
            *out++ = GetRValue(colour);
        }
    }
    surface->ReleaseDC(dc);
    return true;
}

bool readable_directly(int32_t bits) { return bits == 16 || bits == 24 || bits == 32; }

}  // namespace

bool sprite_read_pixels(IDirectDrawSurface7* surface, int32_t width, int32_t height,
                        int32_t stride, uint8_t* buffer) {
    auto locked = described<DDSURFACEDESC2>();
    if (FAILED(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) return false;
    int32_t bits = int32_t(locked.ddpfPixelFormat.dwRGBBitCount);
    if (readable_directly(bits)) convert_locked(locked, width, height, stride, buffer);
    surface->Unlock(nullptr);
    return readable_directly(bits) || read_through_dc(surface, width, height, stride, buffer);
}
