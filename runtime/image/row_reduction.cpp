// Box reduction of stored rows as they are read, so a picture larger than memory allows is
// never held whole.
#include "runtime/image/row_reduction.h"

#include <cstdlib>
#include <cstring>

bool row_reduction_start(row_reduction& reduction, int32_t factor, int32_t stored_width, int32_t channels) {
    reduction = {};
    if (channels != 3 && channels != 4) return false;
    const int32_t reduced_width = (stored_width + factor - 1) / factor;
    const size_t samples = size_t(reduced_width) * size_t(channels);
    reduction = {factor, stored_width, channels, reduced_width, 0,
                 static_cast<uint32_t*>(std::calloc(samples, sizeof(uint32_t)))};
    return reduction.sums != nullptr;
}

void row_reduction_end(row_reduction& reduction) {
    std::free(reduction.sums);
    reduction = {};
}

namespace {

// One block of stored pixels into its sums, the channels written out: the loop per pixel is
// the only one left.
template <int32_t channels>
void add_block(uint32_t* sum, const uint8_t* pixel, int32_t count) {
    for (const uint8_t* end = pixel + count * channels; pixel < end; pixel += channels) {
        sum[0] += pixel[0];
        sum[1] += pixel[1];
        sum[2] += pixel[2];
        if constexpr (channels == 4) sum[3] += pixel[3];
    }
}

template <int32_t channels>
void add_row(row_reduction& reduction, const uint8_t* stored_row) {
    const int32_t factor = reduction.factor, whole_blocks = reduction.stored_width / factor;
    uint32_t* sum = reduction.sums;
    for (int32_t block = 0; block < whole_blocks; ++block, sum += channels, stored_row += factor * channels)
        add_block<channels>(sum, stored_row, factor);
    add_block<channels>(sum, stored_row, reduction.stored_width - whole_blocks * factor);
}

}  // namespace

void row_reduction_add(row_reduction& reduction, const uint8_t* stored_row) {
    if (reduction.channels == 4) add_row<4>(reduction, stored_row);
    else add_row<3>(reduction, stored_row);
    ++reduction.rows_added;
}

void row_reduction_take(row_reduction& reduction, const uint8_t* stored_row, int32_t row, int32_t stored_height,
                        uint8_t* reduced, int32_t stride) {
    row_reduction_add(reduction, stored_row);
    if (reduction.rows_added == reduction.factor || row + 1 == stored_height)
        row_reduction_put(reduction, reduced + size_t(row / reduction.factor) * size_t(stride));
}

void row_reduction_put(row_reduction& reduction, uint8_t* reduced_row) {
    const int32_t factor = reduction.factor, channels = reduction.channels;
    const uint32_t rows = uint32_t(reduction.rows_added > 0 ? reduction.rows_added : 1);
    const uint32_t* sum = reduction.sums;
    for (int32_t x = 0; x < reduction.reduced_width; ++x, sum += channels, reduced_row += channels) {
        const int32_t left = reduction.stored_width - x * factor;
        const uint32_t count = rows * uint32_t(left < factor ? left : factor);
        for (int32_t c = 0; c < channels; ++c) reduced_row[c] = uint8_t((sum[c] + count / 2) / count);
    }
    std::memset(reduction.sums, 0, size_t(reduction.reduced_width) * size_t(channels) * sizeof(uint32_t));
    reduction.rows_added = 0;
}
