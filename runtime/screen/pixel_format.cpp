// Pixel format codes and colour conversion for the screen's fills.
#include "runtime/screen/pixel_format.h"

namespace {

constexpr uint32_t red_in_low_byte = 0xFF;
constexpr uint32_t green_six_bits = 0x7E0;

bool red_first(int32_t format_code) { return format_code == 4 || format_code == 6; }

}  // namespace

int32_t pixel_format_code(int32_t depth, uint32_t red_mask, uint32_t green_mask) {
    switch (depth) {
    case 32: return red_mask == red_in_low_byte ? 6 : 7;
    case 24: return red_mask == red_in_low_byte ? 4 : 5;
    case 16: return green_mask == green_six_bits ? 3 : 2;
    default: return 1;
    }
}

uint32_t pixel_from_rgb(int32_t depth, int32_t format_code, int32_t r, int32_t g, int32_t b) {
    uint32_t red = uint32_t(r), green = uint32_t(g), blue = uint32_t(b);
    switch (depth) {
    case 15: return (red / 8) << 10 | (green / 8) << 5 | blue / 8;
    case 16: return (red / 8) << 11 | (green / 4) << 5 | blue / 8;
    case 24:
    case 32: return red_first(format_code) ? blue << 16 | green << 8 | red : red << 16 | green << 8 | blue;
    default: return 0;
    }
}
