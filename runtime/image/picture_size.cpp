// Size checks shared by the decoders and the registry: a header's width and height are
// checked before anything is allocated for them.
#include "runtime/image/image.h"

namespace {
constexpr int64_t largest_side = 65535;               // image records keep 16-bit sizes
constexpr int64_t largest_buffer = int64_t(1) << 29;  // 512 MiB: beyond any 32-bit heap
}  // namespace

int32_t decoder_row_stride(int32_t probe_result, int32_t width) {
    return int32_t(bmp_row_stride(width, probe_result == probe_bgra32 ? 32 : 24));
}

bool picture_size_acceptable(int64_t width, int64_t height, int32_t bytes_per_pixel) {
    if (width < 1 || height < 1 || width > largest_side || height > largest_side) return false;
    return bmp_row_stride(width, 8 * bytes_per_pixel) * (height + 1) <= largest_buffer;
}
