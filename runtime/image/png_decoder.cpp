// PNG decoder: glue between the codec registry and libpng 1.6. Every PNG becomes 24-bit or
// 32-bit blue-green-red rows; libpng errors unwind through setjmp and are never shown.
// The probe answers by the pixel size libpng will really deliver, checked before any row.
// A picture wanted smaller is reduced row by row as it is read, never held whole.
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "runtime/image/image.h"
#include "runtime/image/row_reduction.h"

namespace {

constexpr size_t signature_size = 8;
constexpr int bgr_channels = 3;
constexpr int bgra_channels = 4;
constexpr int output_bit_depth = 8;

// Where libpng's bytes come from: a stream, or a block bounded by its real size.
struct png_source {
    FILE* file;
    const uint8_t* data;
    size_t size;
    size_t position;
};

struct png_state {
    png_structp png;
    png_infop info;
    png_source source;
    int32_t width;  // as delivered, reduced or not
    int32_t height;
    int32_t stored_height;
    int32_t passes;
    int32_t pixel_bytes;
    int32_t reduction;
    uint8_t* stored_row;  // for a reduced picture
    row_reduction rows;
};

// One per thread, as every decoder keeps it.
thread_local png_state state;
thread_local wanted_size wanted;

[[noreturn]] void on_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void on_warning(png_structp, png_const_charp) {}

void read_memory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<png_source*>(png_get_io_ptr(png));
    if (length > source->size - source->position) png_error(png, "read past the end of the block");
    memcpy(out, source->data + source->position, length);
    source->position += length;
}

// Our own stream reader: a FILE* must not cross into a library built on another C runtime.
void read_file(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<png_source*>(png_get_io_ptr(png));
    if (fread(out, 1, length, source->file) != length) png_error(png, "file ends early");
}

void release() {
    if (state.png) png_destroy_read_struct(&state.png, &state.info, nullptr);
    std::free(state.stored_row);
    row_reduction_end(state.rows);
    state = {};
}

bool signature_matches(FILE* file, const uint8_t* address, size_t size) {
    png_byte signature[signature_size];
    if (file) {
        if (fread(signature, 1, signature_size, file) != signature_size) return false;
        return png_sig_cmp(signature, 0, signature_size) == 0;
    }
    return address && size >= signature_size && png_sig_cmp(address, 0, signature_size) == 0;
}

void attach_source(FILE* file, const uint8_t* address, size_t size) {
    state.source = {file, address, size, 0};
    if (file) {
        png_set_read_fn(state.png, &state.source, read_file);
        png_set_sig_bytes(state.png, signature_size);
    } else {
        png_set_read_fn(state.png, &state.source, read_memory);
    }
}

// Grey below 8 bits is only widened: its tRNS chunk stays unexpanded, so no alpha appears.
void choose_transformations(int colour_type, int bit_depth) {
    png_structp png = state.png;
    if (colour_type == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
        png_set_strip_alpha(png);
    }
    if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) {
        if (bit_depth < 8) png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    if (bit_depth == 16) png_set_strip_16(png);
    png_set_bgr(png);
}

// Runs under the probe's jump target; answers 0 for anything the buffer could not take.
int32_t read_header() {
    png_structp png = state.png;
    png_read_info(png, state.info);
    png_uint_32 width = 0, height = 0;
    int bit_depth = 0, colour_type = 0;
    png_get_IHDR(png, state.info, &width, &height, &bit_depth, &colour_type, nullptr, nullptr, nullptr);
    choose_transformations(colour_type, bit_depth);
    state.passes = png_set_interlace_handling(png);
    png_read_update_info(png, state.info);
    int channels = png_get_channels(png, state.info);
    if (png_get_bit_depth(png, state.info) != output_bit_depth) return probe_refused;
    if (channels != bgr_channels && channels != bgra_channels) return probe_refused;
    if (png_get_rowbytes(png, state.info) > size_t(width) * size_t(channels)) return probe_refused;
    // The passes of an interlaced picture meet only in the whole picture: it is never reduced.
    // A reduced one holds a stored row and the sums of a reduced one beside the picture.
    const bool reducible = state.passes == 1;
    const int64_t held = reducible ? int64_t(width) * channels * 2 : 0;
    state.reduction = picture_reduction(width, height, reducible ? wanted : own_size, channels, held);
    if (state.reduction == 0) return probe_refused;
    state.width = int32_t((width + state.reduction - 1) / state.reduction);
    state.height = int32_t((height + state.reduction - 1) / state.reduction);
    state.stored_height = int32_t(height);
    state.pixel_bytes = channels;
    return channels == bgra_channels ? probe_bgra32 : probe_bgr24;
}

// The library's structures for a picture with a PNG signature; false (nothing held) else.
bool start_reading(FILE* file, const uint8_t* address, size_t size) {
    release();
    if (!signature_matches(file, address, size)) return false;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning);
    if (state.png) state.info = png_create_info_struct(state.png);
    if (!state.info) {
        release();
        return false;
    }
    png_set_user_limits(state.png, png_uint_32(largest_reduced_side), png_uint_32(largest_reduced_side));
    attach_source(file, address, size);
    return true;
}

int32_t probe(FILE* file, const char*, const uint8_t* address, size_t size) {
    if (!start_reading(file, address, size)) return probe_refused;
    if (setjmp(png_jmpbuf(state.png))) {
        release();
        return probe_refused;
    }
    int32_t answer = read_header();
    if (answer == probe_refused) release();
    return answer;
}

bool measure(FILE* file, const char*, int32_t* width, int32_t* height) {
    if (!start_reading(file, nullptr, 0)) return false;
    if (setjmp(png_jmpbuf(state.png))) {
        release();
        return false;
    }
    png_read_info(state.png, state.info);
    *width = int32_t(png_get_image_width(state.png, state.info));
    *height = int32_t(png_get_image_height(state.png, state.info));
    release();
    return true;
}

// Interlaced pictures pass over the same rows; libpng merges each pass into what is there.
int32_t read_rows(uint8_t* buffer, int32_t stride) {
    if (!buffer || stride <= 0) return 0;
    size_t row_bytes = png_get_rowbytes(state.png, state.info);
    if (row_bytes > size_t(stride) || row_bytes > size_t(state.width) * size_t(state.pixel_bytes)) return 0;
    for (int32_t pass = 0; pass < state.passes; ++pass) {
        for (int32_t row = 0; row < state.height; ++row) {
            png_read_row(state.png, buffer + size_t(row) * size_t(stride), nullptr);
        }
    }
    return 1;
}

// Each delivered row is the mean of `reduction` stored rows (fewer at the bottom).
int32_t read_reduced_rows(uint8_t* buffer, int32_t stride) {
    if (!buffer || stride < state.width * state.pixel_bytes) return 0;
    const size_t row_bytes = png_get_rowbytes(state.png, state.info);
    state.stored_row = static_cast<uint8_t*>(std::malloc(row_bytes));
    const int32_t stored_width = int32_t(png_get_image_width(state.png, state.info));
    if (!state.stored_row || !row_reduction_start(state.rows, state.reduction, stored_width, state.pixel_bytes))
        return 0;
    for (int32_t row = 0; row < state.stored_height; ++row) {
        png_read_row(state.png, state.stored_row, nullptr);
        row_reduction_take(state.rows, state.stored_row, row, state.stored_height, buffer, stride);
    }
    return 1;
}

int32_t decode(uint8_t* buffer, int32_t stride) {
    if (!state.png) return 0;
    if (setjmp(png_jmpbuf(state.png))) {
        release();
        return 0;
    }
    int32_t result = state.reduction > 1 ? read_reduced_rows(buffer, stride) : read_rows(buffer, stride);
    release();
    return result;
}

int32_t get_width() { return state.width; }
int32_t get_height() { return state.height; }

void want_size(const wanted_size& size) { wanted = size; }

}  // namespace

const image_decoder png_decoder = {probe, decode, get_width, get_height, want_size, nullptr, measure};
