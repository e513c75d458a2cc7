// PNG rows with alpha through libpng 1.6. libpng errors unwind through setjmp into the
// call that met them, which then fails, as does every later one.
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdlib>

#include "runtime/image/row_encoder.h"

namespace {

constexpr int bit_depth = 8;
// zlib's largest state: longer blocks keep their own codes, a few bytes smaller.
constexpr int compression_memory_level = 9;
constexpr double metres_per_inch = 0.0254;

[[noreturn]] void on_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_warning(png_structp, png_const_charp) {}

class png_rows final : public row_encoder {
public:
    png_rows(FILE* stream, int32_t width, int32_t height, int32_t pixels_per_inch) {
        png_ = png_create_write_struct_2(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning, this,
                                         allocate, release);
        if (png_) info_ = png_create_info_struct(png_);
        failed_ = !info_ || !start(stream, width, height, pixels_per_inch);
    }
    ~png_rows() override { png_destroy_write_struct(&png_, &info_); }
    png_rows(const png_rows&) = delete;
    png_rows& operator=(const png_rows&) = delete;

    bool write_row(const uint8_t* row) override {
        if (failed_ || setjmp(png_jmpbuf(png_))) return fail();
        png_write_row(png_, row);
        return true;
    }

    bool finish() override {
        if (failed_ || setjmp(png_jmpbuf(png_))) return fail();
        png_write_end(png_, info_);
        return true;
    }

private:
    // libpng's and zlib's memory alike: a block that cannot be had marks the failure that
    // follows as one of memory.
    static png_voidp allocate(png_structp png, png_alloc_size_t size) {
        png_voidp block = std::malloc(size);
        if (!block) static_cast<png_rows*>(png_get_mem_ptr(png))->lacked_memory_ = true;
        return block;
    }
    static void release(png_structp, png_voidp block) { std::free(block); }

    bool start(FILE* stream, int32_t width, int32_t height, int32_t pixels_per_inch) {
        if (setjmp(png_jmpbuf(png_))) return false;
        png_init_io(png_, stream);
        png_set_IHDR(png_, info_, png_uint_32(width), png_uint_32(height), bit_depth,
                     PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        // One Paeth filter for every row and runs of equal bytes as the only matches: on
        // rendered pictures, whose pixels are mostly runs of transparency and smooth faces,
        // the file comes out a little smaller than with libpng's defaults at several times
        // the speed, the defaults spending most of an export's time on trying filters and
        // searching matches.
        png_set_filter(png_, PNG_FILTER_TYPE_BASE, PNG_FILTER_PAETH);
        png_set_compression_strategy(png_, Z_RLE);
        png_set_compression_mem_level(png_, compression_memory_level);
        if (pixels_per_inch) tag(pixels_per_inch);
        png_write_info(png_, info_);
        png_set_bgr(png_);  // the rows lie as B, G, R, A
        return true;
    }

    // sRGB with the gAMA and cHRM that readers without sRGB support fall back on.
    void tag(int32_t pixels_per_inch) {
        png_set_sRGB_gAMA_and_cHRM(png_, info_, PNG_sRGB_INTENT_PERCEPTUAL);
        const auto per_metre = png_uint_32(double(pixels_per_inch) / metres_per_inch + 0.5);
        png_set_pHYs(png_, info_, per_metre, per_metre, PNG_RESOLUTION_METER);
    }

    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace

std::unique_ptr<row_encoder> png_row_encoder(FILE* stream, int32_t width, int32_t height, int32_t pixels_per_inch) {
    return std::make_unique<png_rows>(stream, width, height, pixels_per_inch);
}
