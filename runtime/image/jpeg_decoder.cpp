// JPEG decoder behind the codec registry: accepts JPEG files and memory blocks and writes
// the picture as top-down B, G, R rows. Relies on libjpeg and the bounded sources;
// one picture at a time on each thread, from a probe that accepted to the end of its decode.
// Photos come out upright as their Exif orientation says, unless the load asks for them as
// stored.
#include <algorithm>

#include "runtime/image/image.h"
#include "runtime/image/jpeg_glue.h"
#include "runtime/image/orientation.h"
#include "runtime/image/stream_copy.h"

namespace {

constexpr uint8_t marker_prefix = 0xFF;
constexpr uint8_t start_of_image = 0xD8;
constexpr size_t signature_size = 2;
constexpr JDIMENSION row_alignment = 4;
constexpr int32_t bgr_bytes = 3;
constexpr int32_t cmyk_samples = 4;
constexpr int sample_max = 255;
constexpr int exif_segment = JPEG_APP0 + 1;
constexpr unsigned int longest_segment = 0xFFFF;
constexpr unsigned int scale_eighths = 8;
constexpr int32_t rows_told_together = 32;

struct decoder_state {
    jpeg_decompress_struct picture;
    jpeg_jump_error error;
    JSAMPARRAY row;
    JSAMPARRAY stored_bgr;  // one stored row as B, G, R, for pictures not stored upright
    int32_t orientation;
    bool open;
    bool four_components;
    bool inverted_ink;
    int32_t width;
    int32_t height;
    wanted_size wanted;  // the size the picture will be drawn at
    bool as_stored;  // the orientation tag is not followed
};

// One per thread, so that several threads may each decode a picture of their own.
thread_local decoder_state state;

// Safe on a picture never created: the library skips objects without a memory manager.
void release_picture() {
    jpeg_destroy_decompress(&state.picture);
    state.row = nullptr;
    state.stored_bgr = nullptr;
    state.open = false;
}

bool starts_as_jpeg(const uint8_t* data, size_t length) {
    return data && length >= signature_size && data[0] == marker_prefix &&
           data[1] == start_of_image;
}

bool file_starts_as_jpeg(FILE* file) {
    uint8_t signature[signature_size];
    return stream_head(file, signature, signature_size) && starts_as_jpeg(signature, signature_size) &&
           std::fseek(file, 0, SEEK_SET) == 0;
}

int32_t orientation_of(const jpeg_decompress_struct* picture) {
    for (jpeg_saved_marker_ptr marker = picture->marker_list; marker; marker = marker->next) {
        if (marker->marker != exif_segment) continue;
        int32_t orientation = exif_orientation(marker->data, marker->data_length);
        if (orientation != orientation_upright) return orientation;
    }
    return orientation_upright;
}

JSAMPARRAY image_row(jpeg_decompress_struct* picture, JDIMENSION samples) {
    JDIMENSION row_length = (samples + row_alignment - 1) / row_alignment * row_alignment;
    return (*picture->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(picture), JPOOL_IMAGE, row_length, 1);
}

void choose_output(jpeg_decompress_struct* picture) {
    state.four_components =
        picture->jpeg_color_space == JCS_CMYK || picture->jpeg_color_space == JCS_YCCK;
    // Adobe (Photoshop) files store ink amounts inverted.
    state.inverted_ink = picture->saw_Adobe_marker;
    // The library writes three-component pictures (greyscale widened too) straight as
    // B, G, R; four components are turned into RGB by the glue.
    picture->out_color_space = state.four_components ? JCS_CMYK : JCS_EXT_BGR;
    picture->dct_method = JDCT_ISLOW;
}

void set_scale(jpeg_decompress_struct* picture, unsigned int eighths) {
    picture->scale_num = eighths;
    picture->scale_denom = scale_eighths;
    jpeg_calc_output_dimensions(picture);
}

// The wanted size as the stored picture's sides see it.
wanted_size wanted_as_stored() {
    wanted_size wanted = state.wanted;
    if (wanted.cover == picture_cover::side_by_side && orientation_swaps_sides(state.orientation))
        std::swap(wanted.width, wanted.height);
    return wanted;
}

// The smallest of the library's scales in eighths whose picture still covers the wanted
// size, then smaller ones while that is too large to decode; false when none is small
// enough, or a picture decoded at its own size is.
bool choose_scale(jpeg_decompress_struct* picture, int64_t held) {
    const wanted_size wanted = wanted_as_stored();
    const bool sized = wanted.width > 0 && wanted.height > 0;
    unsigned int eighths = sized ? 1 : scale_eighths;
    for (set_scale(picture, eighths); eighths < scale_eighths; set_scale(picture, ++eighths))
        if (picture_covers(picture->output_width, picture->output_height, wanted)) break;
    const auto fits = [&] { return picture_size_acceptable(picture->output_width, picture->output_height, bgr_bytes, held); };
    if (!sized) return fits();
    while (!fits() && eighths > 1) set_scale(picture, --eighths);
    return fits();
}

// Where the stored picture's sides swap, the upright size swaps them back.
void upright_size(const jpeg_decompress_struct* picture, int32_t orientation, int32_t* width, int32_t* height) {
    const bool swapped = orientation_swaps_sides(orientation);
    *width = int32_t(swapped ? picture->image_height : picture->image_width);
    *height = int32_t(swapped ? picture->image_width : picture->image_height);
}

// Runs under the caller's jump target: the source is attached and the header read.
bool read_header(FILE* file, const uint8_t* data, size_t length) {
    jpeg_decompress_struct* picture = &state.picture;
    jpeg_create_decompress(picture);
    picture->mem->max_memory_to_use = long(jpeg_decoder_memory);
    if (file) jpeg_file_source(picture, file);
    else jpeg_memory_source(picture, data, length);
    jpeg_save_markers(picture, exif_segment, longest_segment);
    if (jpeg_read_header(picture, TRUE) != JPEG_HEADER_OK) return false;
    state.orientation = state.as_stored ? orientation_upright : orientation_of(picture);
    return true;
}

int32_t open_picture(FILE* file, const uint8_t* data, size_t length) {
    jpeg_decompress_struct* picture = &state.picture;
    picture->err = jpeg_jump_error_init(state.error);
    if (setjmp(state.error.target)) {
        release_picture();
        return probe_refused;
    }
    if (!read_header(file, data, length)) {
        release_picture();
        return probe_refused;
    }
    choose_output(picture);
    // Checked before start_decompress allocates for the announced size.
    if (!choose_scale(picture, jpeg_decoder_memory)) {
        release_picture();
        return probe_refused;
    }
    if (state.four_components) state.row = image_row(picture, picture->output_width * cmyk_samples);
    if (state.orientation != orientation_upright) state.stored_bgr = image_row(picture, picture->output_width * bgr_bytes);
    jpeg_start_decompress(picture);
    state.width = int32_t(picture->output_width);
    state.height = int32_t(picture->output_height);
    state.open = true;
    return probe_bgr24;
}

int32_t probe(FILE* file, const char*, const uint8_t* address, size_t size) {
    // A probe never followed by its decode leaves nothing behind.
    release_picture();
    state.width = 0;
    state.height = 0;
    state.orientation = orientation_upright;
    if (file) return file_starts_as_jpeg(file) ? open_picture(file, nullptr, 0) : probe_refused;
    if (!starts_as_jpeg(address, size)) return probe_refused;
    return open_picture(nullptr, address, size);
}

bool measure(FILE* file, const char*, int32_t* width, int32_t* height) {
    release_picture();
    if (!file_starts_as_jpeg(file)) return false;
    state.picture.err = jpeg_jump_error_init(state.error);
    if (setjmp(state.error.target)) {
        release_picture();
        return false;
    }
    const bool measured = read_header(file, nullptr, 0);
    if (measured) upright_size(&state.picture, state.orientation, width, height);
    release_picture();
    return measured;
}

// The light a sample lets through; plain files store ink amounts instead.
int light_through(JSAMPLE sample, bool inverted_ink) { return inverted_ink ? sample : sample_max - sample; }

uint8_t light_left(int ink, int black) {
    return uint8_t((ink * black + sample_max / 2) / sample_max);
}

// The state is read once per row: every reach into a thread's own state costs a call.
void convert_cmyk_row(const JSAMPLE* samples, uint8_t* target) {
    const bool inverted = state.inverted_ink;
    const int32_t width = state.width;
    for (int32_t x = 0; x < width; ++x, samples += cmyk_samples, target += bgr_bytes) {
        int black = light_through(samples[3], inverted);
        target[0] = light_left(light_through(samples[2], inverted), black);
        target[1] = light_left(light_through(samples[1], inverted), black);
        target[2] = light_left(light_through(samples[0], inverted), black);
    }
}

// Rows land in the buffer as they are, or through stored_bgr turned into their upright place.
void read_row(uint8_t* buffer, int32_t stride, int32_t y, const pixel_walk& walk) {
    bool upright = state.orientation == orientation_upright;
    uint8_t* bgr = upright ? buffer + size_t(y) * size_t(stride) : state.stored_bgr[0];
    if (state.four_components) {
        jpeg_read_scanlines(&state.picture, state.row, 1);
        convert_cmyk_row(state.row[0], bgr);
    } else {
        JSAMPROW row = bgr;
        jpeg_read_scanlines(&state.picture, &row, 1);
    }
    if (!upright) orientation_place_row(walk, bgr, state.width, y, bgr_bytes, buffer);
}

int32_t decode(uint8_t* buffer, int32_t stride) {
    if (!state.open) return 0;
    if (!buffer) {
        release_picture();
        return 0;
    }
    // Rows written before a library error stay in the buffer.
    if (setjmp(state.error.target)) {
        release_picture();
        return 0;
    }
    pixel_walk walk = orientation_walk(state.orientation, state.width, state.height, stride, bgr_bytes);
    const bool upright = state.orientation == orientation_upright;
    for (int32_t y = 0; y < state.height; ++y) {
        read_row(buffer, stride, y, walk);
        if (upright && (y + 1) % rows_told_together == 0) decoder_rows_done(y + 1);
    }
    jpeg_finish_decompress(&state.picture);
    release_picture();
    return 1;
}

bool sides_swapped() { return orientation_swaps_sides(state.orientation); }

int32_t get_width() { return sides_swapped() ? state.height : state.width; }

int32_t get_height() { return sides_swapped() ? state.width : state.height; }

void want_size(const wanted_size& wanted) { state.wanted = wanted; }

void turn_upright(bool upright) { state.as_stored = !upright; }

}  // namespace

const image_decoder jpeg_decoder = {probe, decode, get_width, get_height, want_size, turn_upright, measure};
