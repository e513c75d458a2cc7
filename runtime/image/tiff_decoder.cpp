// TIFF decoder: glue between the codec registry and libtiff 4.x, rendering any layout the
// RGBA interface understands into 32-bit rows. Pictures in memory are read through a client
// bounded by the block's real size; every handle is closed after decoding or refusing.
#include <tiffio.h>

#include <cstdint>
#include <cstring>

#include "runtime/image/image.h"

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
    int32_t width;
    int32_t height;
    memory_client client;
};

tiff_state state;

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

bool picture_acceptable(TIFF* tif) {
    uint32_t width = 0, height = 0;
    uint16_t compression = 0;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height)) {
        return false;
    }
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    if (compression == compression_old_jpeg || compression == compression_old_deflate) return false;
    if (!picture_size_acceptable(width, height, output_bytes)) return false;
    state.width = int32_t(width);
    state.height = int32_t(height);
    return true;
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

// libtiff's raster is bottom row first with R, G, B, A bytes.
void copy_raster(const uint32_t* raster, uint8_t* buffer, int32_t stride) {
    for (int32_t y = 0; y < state.height; ++y) {
        const uint32_t* in = raster + size_t(y) * size_t(state.width);
        uint8_t* out = buffer + size_t(state.height - 1 - y) * size_t(stride);
        for (int32_t x = 0; x < state.width; ++x, out += output_bytes) {
            uint32_t pixel = in[x];
            out[0] = uint8_t(TIFFGetB(pixel));
            out[1] = uint8_t(TIFFGetG(pixel));
            out[2] = uint8_t(TIFFGetR(pixel));
            out[3] = uint8_t(TIFFGetA(pixel));
        }
    }
}

void render(uint8_t* buffer, int32_t stride) {
    if (!buffer || stride < state.width * output_bytes) return;
    /* the probe's size check keeps this product far below tmsize_t's range */
    auto raster_size = tmsize_t(uint64_t(state.width) * uint64_t(state.height) * sizeof(uint32_t));
    auto* raster = static_cast<uint32_t*>(_TIFFmalloc(raster_size));
    if (!raster) return;
    if (TIFFReadRGBAImage(state.tif, uint32_t(state.width), uint32_t(state.height), raster, 0)) {
        copy_raster(raster, buffer, stride);
    }
    _TIFFfree(raster);
}

int32_t decode(uint8_t* buffer, int32_t stride) {
    if (state.tif) render(buffer, stride);
    release();
    return 1;
}

int32_t get_width() { return state.width; }
int32_t get_height() { return state.height; }

}  // namespace

const image_decoder tiff_decoder = {probe, decode, get_width, get_height};
