// PNG pictures through libpng's simplified reader; alpha is dropped.
#include <png.h>

#include "engine3d/assets/picture.h"

namespace engine3d {

bool decode_png(const uint8_t* bytes, size_t size, texture_level& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, size)) return false;
    if (!picture_size_fits(image.width, image.height)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    picture.width = int32_t(image.width);
    picture.height = int32_t(image.height);
    picture.texels.resize(size_t(picture.width) * picture.height);
    if (!png_image_finish_read(&image, nullptr, picture.texels.data(), 0, nullptr)) return false;
    for (uint32_t& texel : picture.texels) texel &= 0xFFFFFF;
    return true;
}

}  // namespace engine3d
