// JPEG rows through libjpeg: quality 100 and every colour component at full resolution,
// for exports that must stay sharp. The alpha byte of each pixel is skipped by libjpeg.
#include "runtime/image/jpeg_glue.h"
#include "runtime/image/row_encoder.h"

namespace {

constexpr int bgra_samples = 4;
constexpr int best_quality = 100;
constexpr UINT8 dots_per_inch = 1;  // the JFIF header's density unit

class jpeg_rows final : public row_encoder {
public:
    jpeg_rows(FILE* stream, int32_t width, int32_t height, int32_t pixels_per_inch) {
        picture_.err = jpeg_jump_error_init(error_);
        if (!start(stream, width, height, pixels_per_inch)) failure();
    }
    ~jpeg_rows() override { jpeg_destroy_compress(&picture_); }
    jpeg_rows(const jpeg_rows&) = delete;
    jpeg_rows& operator=(const jpeg_rows&) = delete;

    bool write_row(const uint8_t* row) override {
        if (failed_ || setjmp(error_.target)) return failure();
        JSAMPROW line = const_cast<uint8_t*>(row);
        jpeg_write_scanlines(&picture_, &line, 1);
        return true;
    }

    bool finish() override {
        if (failed_ || setjmp(error_.target)) return failure();
        jpeg_finish_compress(&picture_);
        return true;
    }

private:
    bool failure() {
        return error_.manager.msg_code == JERR_OUT_OF_MEMORY ? fail_for_lack_of_memory() : fail();
    }

    bool start(FILE* stream, int32_t width, int32_t height, int32_t pixels_per_inch) {
        if (setjmp(error_.target)) return false;
        jpeg_create_compress(&picture_);
        jpeg_stdio_dest(&picture_, stream);
        picture_.image_width = JDIMENSION(width);
        picture_.image_height = JDIMENSION(height);
        picture_.input_components = bgra_samples;
        picture_.in_color_space = JCS_EXT_BGRA;
        jpeg_set_defaults(&picture_);
        jpeg_set_quality(&picture_, best_quality, TRUE);
        for (int i = 0; i < picture_.num_components; ++i)
            picture_.comp_info[i].h_samp_factor = picture_.comp_info[i].v_samp_factor = 1;
        if (pixels_per_inch) {
            picture_.density_unit = dots_per_inch;
            picture_.X_density = picture_.Y_density = UINT16(pixels_per_inch);
        }
        jpeg_start_compress(&picture_, TRUE);
        return true;
    }

    // Zeroed so that destroying after an early error finds no memory manager.
    jpeg_compress_struct picture_{};
    jpeg_jump_error error_;
};

}  // namespace

std::unique_ptr<row_encoder> jpeg_row_encoder(FILE* stream, int32_t width, int32_t height, int32_t pixels_per_inch) {
    return std::make_unique<jpeg_rows>(stream, width, height, pixels_per_inch);
}
