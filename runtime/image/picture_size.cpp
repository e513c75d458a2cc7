// Size checks shared by the decoders and the registry: a header's width and height are
// checked before anything is allocated for them.
#include <algorithm>

#include "runtime/image/image.h"

namespace {
constexpr int64_t largest_side = 65535;  // image records keep 16-bit sizes
// The program is large-address-aware: 4 GiB of address space on 64-bit hosts, 2 GiB on
// 32-bit ones. One load may hold 1.5 GiB at its peak; a load the address space cannot
// place after all fails cleanly when its bitmap can't be had.
constexpr int64_t largest_load = int64_t(3) << 29;
}  // namespace

int32_t decoder_row_stride(int32_t probe_result, int32_t width) {
    return int32_t(bmp_row_stride(width, probe_result == probe_bgra32 ? 32 : 24));
}

bool picture_size_acceptable(int64_t width, int64_t height, int32_t bytes_per_pixel, int64_t held_bytes) {
    if (width < 1 || height < 1 || width > largest_side || height > largest_side) return false;
    if (held_bytes < 0 || held_bytes > largest_load) return false;
    return bmp_row_stride(width, 8 * bytes_per_pixel) * (height + 1) <= largest_load - held_bytes;
}

bool picture_covers(int64_t width, int64_t height, const wanted_size& wanted) {
    if (wanted.width <= 0 || wanted.height <= 0) return true;
    if (wanted.cover == picture_cover::side_by_side) return width >= wanted.width && height >= wanted.height;
    return std::min(width, height) >= std::max(wanted.width, wanted.height);
}

int32_t picture_reduction(int64_t width, int64_t height, const wanted_size& wanted, int32_t bytes_per_pixel,
                          int64_t held_bytes) {
    if (width < 1 || height < 1 || width > largest_reduced_side || height > largest_reduced_side) return 0;
    const auto reduced = [](int64_t side, int64_t by) { return (side + by - 1) / by; };
    const auto fits = [&](int64_t by) {
        return picture_size_acceptable(reduced(width, by), reduced(height, by), bytes_per_pixel, held_bytes);
    };
    const bool sized = wanted.width > 0 && wanted.height > 0;
    if (!sized) return fits(1) ? 1 : 0;
    int64_t by = 1;
    while (by < std::max(width, height) && picture_covers(reduced(width, by + 1), reduced(height, by + 1), wanted)) ++by;
    while (!fits(by))
        if (++by > std::max(width, height)) return 0;
    return int32_t(by);
}
