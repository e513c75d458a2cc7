// Turning pictures upright by their Exif orientation: the tag read from a JPEG's APP1
// segment, and where each stored pixel lands in the upright picture. Host-neutral.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t orientation_upright = 1;

// The orientation (1 to 8) an APP1 segment's Exif data gives, without its marker and
// length bytes; 1 for anything else, however damaged.
int32_t exif_orientation(const uint8_t* segment, size_t length);

// Orientations 5 to 8 turn the picture a quarter: width and height change places.
bool orientation_swaps_sides(int32_t orientation);

// Stored pixel (x, y) goes to origin + x * step_x + y * step_y bytes into the upright
// picture, whose rows are `stride` bytes apart.
struct pixel_walk {
    ptrdiff_t origin;
    ptrdiff_t step_x;
    ptrdiff_t step_y;
};

pixel_walk orientation_walk(int32_t orientation, int32_t stored_width, int32_t stored_height,
                            int32_t stride, int32_t pixel_bytes);

// Puts stored row y, `width` pixels of pixel_bytes each, into the upright picture.
void orientation_place_row(const pixel_walk& walk, const uint8_t* row, int32_t width, int32_t y,
                           int32_t pixel_bytes, uint8_t* upright);
