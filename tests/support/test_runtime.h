// Shared by the Windows test programs: starting the runtime the way the program does,
// reading pixels back from bitmaps, and small file helpers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "harness/harness.h"
#include "runtime/image/image.h"

// A picture read back as 32-bit pixels 0x00RRGGBB, top row first.
struct pixel_grid {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int32_t x, int32_t y) const { return pixels[size_t(y) * width + x]; }
};

// With keep_alpha the fourth byte of 32-bit pictures stays in the top byte.
pixel_grid read_pixels(platform_handle bitmap, bool keep_alpha = false);
pixel_grid read_image(object_number number);
pixel_grid load_pixels(const char* file, bool keep_alpha = false);

// 0x00RRGGBB as read back, from red, green and blue.
constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

std::vector<uint8_t> read_file(const std::string& name);
void write_file(const std::string& name, const std::vector<uint8_t>& bytes);
bool file_exists(const std::string& name);

// The Windows path of the folder the test run locked: it refuses new files and holds the
// writable file target.bmp. Empty where no such folder could be made.
std::string locked_folder();
