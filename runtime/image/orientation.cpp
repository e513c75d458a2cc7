// Where stored pixels land when a picture is turned upright by its Exif orientation:
// 2 mirrors, 3 turns half round, 4 flips, 5 transposes, 6 turns a quarter clockwise,
// 7 transposes across the other diagonal, 8 turns a quarter anticlockwise.
#include <cstring>

#include "runtime/image/orientation.h"

bool orientation_swaps_sides(int32_t orientation) { return orientation >= 5 && orientation <= 8; }

pixel_walk orientation_walk(int32_t orientation, int32_t stored_width, int32_t stored_height,
                            int32_t stride, int32_t pixel_bytes) {
    const ptrdiff_t pixel = pixel_bytes, row = stride;
    const ptrdiff_t last_x = stored_width - 1, last_y = stored_height - 1;
    switch (orientation) {
        case 2: return {last_x * pixel, -pixel, row};
        case 3: return {last_y * row + last_x * pixel, -pixel, -row};
        case 4: return {last_y * row, pixel, -row};
        case 5: return {0, row, pixel};
        case 6: return {last_y * pixel, row, -pixel};
        case 7: return {last_x * row + last_y * pixel, -row, -pixel};
        case 8: return {last_x * row, -row, pixel};
        default: return {0, pixel, row};
    }
}

void orientation_place_row(const pixel_walk& walk, const uint8_t* row, int32_t width, int32_t y,
                           int32_t pixel_bytes, uint8_t* upright) {
    uint8_t* out = upright + walk.origin + y * walk.step_y;
    for (int32_t x = 0; x < width; ++x, row += pixel_bytes, out += walk.step_x) std::memcpy(out, row, size_t(pixel_bytes));
}
