// JPEG encoder behind the codec registry: writes bottom-up B, G, R rows as a JPEG file of
// the chosen quality. Relies on libjpeg's stdio destination and on staged_file, so that a
// save that fails part way leaves the previous file as it was.
#include <algorithm>
#include <cstddef>

#include "runtime/image/image.h"
#include "runtime/image/jpeg_glue.h"
#include "runtime/image/staged_file.h"

namespace {

constexpr int32_t bgr_samples = 3;
constexpr int32_t best_quality_flag = 10;
constexpr int quality_per_flag = 10;

void set_parameters(jpeg_compress_struct* picture, int32_t width, int32_t height,
                    int32_t flags) {
    picture->image_width = JDIMENSION(width);
    picture->image_height = JDIMENSION(height);
    picture->input_components = bgr_samples;
    picture->in_color_space = JCS_EXT_BGR;  // the rows are read as they lie
    jpeg_set_defaults(picture);
    int quality = std::clamp(flags, 0, best_quality_flag) * quality_per_flag;
    jpeg_set_quality(picture, quality, FALSE);
}

// The input runs bottom-up, the file top-down.
void write_rows(jpeg_compress_struct* picture, const uint8_t* buffer, int32_t stride) {
    int32_t height = int32_t(picture->image_height);
    for (int32_t i = 0; i < height; ++i) {
        JSAMPROW row = const_cast<uint8_t*>(buffer + ptrdiff_t(height - 1 - i) * stride);
        jpeg_write_scanlines(picture, &row, 1);
    }
}

bool compress(FILE* stream, const uint8_t* buffer, int32_t width, int32_t height,
              int32_t stride, int32_t flags) {
    // Zeroed so that destroying after an early error finds no memory manager.
    jpeg_compress_struct picture{};
    jpeg_jump_error error;
    picture.err = jpeg_jump_error_init(error);
    if (setjmp(error.target)) {
        jpeg_destroy_compress(&picture);
        return false;
    }
    jpeg_create_compress(&picture);
    jpeg_stdio_dest(&picture, stream);
    set_parameters(&picture, width, height, flags);
    jpeg_start_compress(&picture, TRUE);
    write_rows(&picture, buffer, stride);
    jpeg_finish_compress(&picture);
    jpeg_destroy_compress(&picture);
    return true;
}

int32_t encode(const char* name, const uint8_t* buffer, int32_t width, int32_t height,
               int32_t stride, int32_t flags) {
    if (!name || !buffer || width <= 0 || height <= 0) return 0;
    staged_file file(name);
    if (!file.stream() || !compress(file.stream(), buffer, width, height, stride, flags))
        return 0;
    return file.commit() ? 1 : 0;
}

}  // namespace

const image_encoder jpeg_encoder = {plugin_jpeg, encode};
