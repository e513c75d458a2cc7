// TIFF decoder: glue between the codec registry and libtiff 4.x, rendering any layout the
// RGBA interface understands straight into the 32-bit rows; layouts it cannot render (say
// floating-point samples) are refused. Pictures in memory are read through a client
// bounded by the block's real size; every handle is closed after decoding or refusing.
// A picture wanted smaller is rendered a band of rows at a time and reduced as it comes.
#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "runtime/image/image.h"
#include "runtime/image/row_reduction.h"

namespace {

constexpr uint16_t compression_old_jpeg = 6;
constexpr uint16_t compression_old_deflate = 32946;
constexpr int32_t output_bytes = 4;

// A TIFF held in memory; reads and seeks stay within [0, size].
struct memory_client {
    const uint8_t* base;
    uint64_t size;
    uint64_t position;
};

struct tiff_state {
    TIFF* tif;
    int32_t width;  // as delivered, reduced or not
    int32_t height;
    int32_t stored_width;
    int32_t stored_height;
    int32_t reduction;
    int32_t band_rows;  // stored rows rendered at once for a reduced picture
    memory_client client;
};

// One per thread, as every decoder keeps it.
thread_local tiff_state state;
thread_local wanted_size wanted;

memory_client& client_of(thandle_t handle) { return *static_cast<memory_client*>(handle); }

tmsize_t client_read(thandle_t handle, void* out, tmsize_t size) {
    memory_client& client = client_of(handle);
    if (size <= 0) return 0;
    uint64_t count = client.size - client.position;
    if (uint64_t(size) < count) count = uint64_t(size);
    memcpy(out, client.base + client.position, size_t(count));
    client.position += count;
    return tmsize_t(count);
}

tmsize_t client_write(thandle_t, void*, tmsize_t) { return 0; }

// A target outside the block is refused and the position kept.
toff_t client_seek(thandle_t handle, toff_t offset, int whence) {
    memory_client& client = client_of(handle);
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return toff_t(-1);
    uint64_t origin = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? client.position : client.size;
    /* toff_t is unsigned: backward seeks arrive as wrapped values */
    uint64_t target = origin + offset;
    if (target > client.size) return toff_t(-1);
    client.position = target;
    return target;
}

int client_close(thandle_t) { return 0; }
toff_t client_size(thandle_t handle) { return client_of(handle).size; }
int client_map(thandle_t, void**, toff_t*) { return 0; }
void client_unmap(thandle_t, void*, toff_t) {}

// The runtime shows no messages, and a GUI process has no console to print them on.
void mute_library_messages() {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
}

TIFF* open_memory(const uint8_t* address, size_t size) {
    state.client = {address, size, 0};
    return TIFFClientOpen("memory", "rm", &state.client, client_read, client_write, client_seek,
                          client_close, client_size, client_map, client_unmap);
}

void release() {
    if (state.tif) TIFFClose(state.tif);
    state = {};
}

bool read_size(TIFF* tif, uint32_t* width, uint32_t* height) {
    return TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, width) && TIFFGetField(tif, TIFFTAG_IMAGELENGTH, height) &&
           *width > 0 && *height > 0 && *width <= largest_reduced_side && *height <= largest_reduced_side;
}

// The rows one strip or tile spans, at least one: a reduced picture is rendered that many
// rows at a time, so that no piece is read twice; the sums carry over from band to band.
int32_t band_rows(TIFF* tif) {
    uint32_t rows = 0;
    if (TIFFIsTiled(tif)) TIFFGetField(tif, TIFFTAG_TILELENGTH, &rows);
    else TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rows);
    return int32_t(std::clamp<int64_t>(rows, 1, state.stored_height));
}

bool picture_acceptable(TIFF* tif) {
    uint32_t width = 0, height = 0;
    uint16_t compression = 0;
    if (!read_size(tif, &width, &height)) return false;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    if (compression == compression_old_jpeg || compression == compression_old_deflate) return false;
    char message[1024];
    if (!TIFFRGBAImageOK(tif, message)) return false;
    state.stored_width = int32_t(width);
    state.stored_height = int32_t(height);
    // libtiff reads one strip or tile at a time beside the bitmap, and a reduced picture
    // also a band of rendered rows
    const int64_t piece = TIFFIsTiled(tif) ? TIFFTileSize64(tif) : TIFFStripSize64(tif);
    state.reduction = picture_reduction(width, height, wanted, output_bytes, piece);
    if (state.reduction == 0) return false;
    state.band_rows = band_rows(tif);
    const int64_t band = state.reduction > 1 ? int64_t(width) * output_bytes * state.band_rows : 0;
    state.width = int32_t((width + state.reduction - 1) / state.reduction);
    state.height = int32_t((height + state.reduction - 1) / state.reduction);
    return picture_size_acceptable(state.width, state.height, output_bytes, piece + band);
}

int32_t probe(FILE* file, const char* name, const uint8_t* address, size_t size) {
    release();
    mute_library_messages();
    if (file) {
        state.tif = name ? TIFFOpen(name, "r") : nullptr;
    } else if (address) {
        state.tif = open_memory(address, size);
    }
    if (!state.tif || !picture_acceptable(state.tif)) {
        release();
        return probe_refused;
    }
    return probe_bgra32;
}

bool measure(FILE*, const char* name, int32_t* width, int32_t* height) {
    release();
    mute_library_messages();
    state.tif = name ? TIFFOpen(name, "r") : nullptr;
    uint32_t stored_width = 0, stored_height = 0;
    const bool measured = state.tif && read_size(state.tif, &stored_width, &stored_height);
    release();
    *width = int32_t(stored_width);
    *height = int32_t(stored_height);
    return measured;
}

// libtiff writes each pixel as the bytes R, G, B, A; the bitmap wants B, G, R, A.
void swap_red_blue(uint8_t* buffer, size_t pixels) {
    for (uint8_t* pixel = buffer; pixels > 0; --pixels, pixel += output_bytes) {
        uint8_t red = pixel[0];
        pixel[0] = pixel[2];
        pixel[2] = red;
    }
}

// 32-bit rows carry no padding, so the bitmap itself can be libtiff's raster. Rows written
// before a read error stay, so they are converted whatever the answer.
void render(uint8_t* buffer, int32_t stride) {
    if (!buffer || stride != state.width * output_bytes) return;
    auto* raster = reinterpret_cast<uint32_t*>(buffer);
    TIFFReadRGBAImageOriented(state.tif, uint32_t(state.width), uint32_t(state.height), raster,
                              ORIENTATION_TOPLEFT, 0);
    swap_red_blue(buffer, size_t(state.width) * size_t(state.height));
}

// Bands of stored rows, each rendered upright and added row by row; every `reduction`
// rows (fewer at the bottom) make one delivered row. A read error ends the picture there.
void render_bands(TIFFRGBAImage& image, uint8_t* band, uint8_t* buffer, int32_t stride, row_reduction& rows) {
    const size_t band_stride = size_t(state.stored_width) * output_bytes;
    for (int32_t first = 0; first < state.stored_height; first += state.band_rows) {
        const int32_t count = std::min(state.band_rows, state.stored_height - first);
        image.row_offset = first;
        if (!TIFFRGBAImageGet(&image, reinterpret_cast<uint32_t*>(band), uint32_t(state.stored_width), uint32_t(count)))
            return;
        swap_red_blue(band, size_t(state.stored_width) * size_t(count));
        for (int32_t row = 0; row < count; ++row)
            row_reduction_take(rows, band + size_t(row) * band_stride, first + row, state.stored_height, buffer, stride);
    }
}

void render_reduced(uint8_t* buffer, int32_t stride) {
    if (!buffer || stride < state.width * output_bytes) return;
    char message[1024];
    TIFFRGBAImage image = {};
    if (!TIFFRGBAImageBegin(&image, state.tif, 0, message)) return;
    image.req_orientation = ORIENTATION_TOPLEFT;
    auto* band = static_cast<uint8_t*>(std::malloc(size_t(state.stored_width) * output_bytes * size_t(state.band_rows)));
    row_reduction rows = {};
    if (band && row_reduction_start(rows, state.reduction, state.stored_width, output_bytes))
        render_bands(image, band, buffer, stride, rows);
    row_reduction_end(rows);
    std::free(band);
    TIFFRGBAImageEnd(&image);
}

int32_t decode(uint8_t* buffer, int32_t stride) {
    if (state.tif && state.reduction > 1) render_reduced(buffer, stride);
    else if (state.tif) render(buffer, stride);
    release();
    return 1;
}

int32_t get_width() { return state.width; }
int32_t get_height() { return state.height; }

void want_size(const wanted_size& size) { wanted = size; }

}  // namespace

const image_decoder tiff_decoder = {probe, decode, get_width, get_height, want_size, nullptr, measure};
