// Writes test pictures in the formats that only other programs produce (PNG, TIFF, TGA),
// from top-down B, G, R rows, and JPEGs too large to hold, a row at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct bgr_picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rows;  // top row first, B, G, R per pixel, no padding
};

bgr_picture one_colour_picture(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b);
bool write_png(const char* name, const bgr_picture& picture);
bool write_tiff(const char* name, const bgr_picture& picture);
// One grey sample per pixel as a 32-bit float: a layout libtiff's RGBA interface refuses.
bool write_float_tiff(const char* name, int32_t width, int32_t height);
// Uncompressed, bottom row first.
void write_tga(const char* name, const bgr_picture& picture);
// Each row made by `row_of` (width x B, G, R) just before it is encoded, so that a picture
// past what memory holds is written without being held.
bool write_jpeg_rows(const char* name, int32_t width, int32_t height,
                     const std::function<void(int32_t y, uint8_t* row)>& row_of);
