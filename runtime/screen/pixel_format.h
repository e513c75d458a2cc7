// The display's pixel format as a small code, and colours turned into pixel values for it.
// Host-neutral, so the table is checked without a display.
#pragma once

#include <cstdint>

// 1 for depths without a table entry; 2/3 for 16 bits (3: 5-6-5 green); 4/5 for 24 bits and
// 6/7 for 32 bits (the even code: red in the low byte).
int32_t pixel_format_code(int32_t depth, uint32_t red_mask, uint32_t green_mask);
uint32_t pixel_from_rgb(int32_t depth, int32_t format_code, int32_t r, int32_t g, int32_t b);
