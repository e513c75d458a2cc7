// Pictures read smaller than they are stored, one stored row at a time: each output pixel
// is the mean of the `factor` x `factor` stored pixels it covers (fewer at the right and
// bottom edges). Shared by the PNG and TIFF decoders; host-neutral.
#pragma once

#include <cstdint>

struct row_reduction {
    int32_t factor;
    int32_t stored_width;
    int32_t channels;
    int32_t reduced_width;
    int32_t rows_added;
    uint32_t* sums;  // per reduced sample; factor x factor x 255 stays far within 32 bits
};

// For 3 or 4 channels; false when the sums find no memory (the reduction is then empty).
bool row_reduction_start(row_reduction& reduction, int32_t factor, int32_t stored_width, int32_t channels);
void row_reduction_end(row_reduction& reduction);
// Adds one stored row of stored_width x channels bytes.
void row_reduction_add(row_reduction& reduction, const uint8_t* stored_row);
// Writes the mean of the rows added since the last put as one reduced row, and starts over.
void row_reduction_put(row_reduction& reduction, uint8_t* reduced_row);
// Adds stored row `row` of `stored_height`; once the rows of its reduced row are in (or the
// picture's last), writes that row into `reduced`, whose rows lie `stride` bytes apart.
void row_reduction_take(row_reduction& reduction, const uint8_t* stored_row, int32_t row, int32_t stored_height,
                        uint8_t* reduced, int32_t stride);
