// JPEG pictures through libjpeg-turbo, read from memory. Errors jump back out of the
// library instead of ending the process.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "engine3d/assets/picture.h"

namespace engine3d {
namespace {

struct jump_errors {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

void error_exit(j_common_ptr info) { std::longjmp(reinterpret_cast<jump_errors*>(info->err)->back, 1); }
void output_message(j_common_ptr) {}

// Runs after setjmp: nothing with a destructor may live in this frame.
// The library writes each row straight into the texels as B, G, R and a filler byte, which
// on this little-endian machine reads as 0xXXRRGGBB; the filler is cleared afterwards.
bool read_rows(jpeg_decompress_struct& info, texture_level& picture) {
    jpeg_read_header(&info, TRUE);
    // Unscaled output has the header's size: checked before the library allocates for it.
    if (!picture_size_fits(info.image_width, info.image_height)) return false;
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    picture.width = int32_t(info.output_width);
    picture.height = int32_t(info.output_height);
    picture.texels.resize(size_t(picture.width) * picture.height);
    while (info.output_scanline < info.output_height) {
        uint32_t* out = &picture.texels[size_t(info.output_scanline) * picture.width];
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(out)};
        jpeg_read_scanlines(&info, rows, 1);
        for (int32_t x = 0; x < picture.width; ++x) out[x] &= 0xFFFFFF;
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

bool decode_jpeg(const uint8_t* bytes, size_t size, texture_level& picture) {
    jpeg_decompress_struct info;
    jump_errors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = error_exit;
    errors.base.output_message = output_message;
    jpeg_create_decompress(&info);
    bool done = false;
    if (!setjmp(errors.back)) {
        jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
        done = read_rows(info, picture);
    }
    jpeg_destroy_decompress(&info);
    return done;
}

}  // namespace engine3d
