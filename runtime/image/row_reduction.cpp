// Box reduction of stored rows as they are read, so a picture larger than memory allows is
// never held whole.
#include "runtime/image/row_reduction.h"

#include <cstdlib>
#include <cstring>

bool row_reduction_start(row_reduction& reduction, int32_t factor, int32_t stored_width, int32_t channels) {
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

void row_reduction_add(row_reduction& reduction, const uint8_t* stored_row) {
    const int32_t factor = reduction.factor, channels = reduction.channels;
    uint32_t* sum = reduction.sums;
    for (int32_t x = 0; x < reduction.stored_width; x += factor, sum += channels) {
        const int32_t columns = reduction.stored_width - x < factor ? reduction.stored_width - x : factor;
        for (int32_t column = 0; column < columns; ++column, stored_row += channels)
            for (int32_t c = 0; c < channels; ++c) sum[c] += stored_row[c];
    }
    ++reduction.rows_added;
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
