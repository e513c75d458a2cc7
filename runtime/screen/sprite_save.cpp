// Saving a sprite: its pixels as 24-bit bottom-up rows, written as a BMP file here or handed
// to the encoder registered under the plugin id. A failed save leaves the old file as it was.
#include <cstdio>
#include <memory>

#include "runtime/image/image.h"
#include "runtime/image/staged_file.h"
#include "runtime/screen/screen_internal.h"

namespace {

constexpr int32_t default_save_flags = 7;
constexpr WORD bmp_signature = 'B' | 'M' << 8;

struct main_heap_free {
    void operator()(void* block) const { heap_free(main_heap(), block); }
};
using heap_bytes = std::unique_ptr<uint8_t, main_heap_free>;

BITMAPFILEHEADER bmp_file_header(int32_t stride, int32_t height) {
    BITMAPFILEHEADER header = {};
    header.bfType = bmp_signature;
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + DWORD(stride) * DWORD(height);
    return header;
}

BITMAPINFOHEADER bmp_info_header(int32_t width, int32_t height) {
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // positive: rows bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    return info;
}

bool write_bmp(const char* name, int32_t width, int32_t height, int32_t stride,
               const uint8_t* pixels) {
    BITMAPFILEHEADER file_header = bmp_file_header(stride, height);
    BITMAPINFOHEADER info = bmp_info_header(width, height);
    staged_file file(name);
    FILE* out = file.stream();
    if (!out) return false;
    bool written = std::fwrite(&file_header, sizeof file_header, 1, out) == 1 &&
                   std::fwrite(&info, sizeof info, 1, out) == 1 &&
                   std::fwrite(pixels, size_t(stride) * size_t(height), 1, out) == 1;
    return written && file.commit();
}

}  // namespace

int32_t sprite_save(object_number number, const char* name, uint32_t plugin, int32_t flags) {
    object_table* table = screen().sprites;
    if (!name || !table) return 0;
    auto* sprite = static_cast<sprite_record*>(object_get(table, number));
    if (!sprite) return 0;
    int32_t width = sprite->width, height = sprite->height;
    int32_t stride = width * 3 + width % 4;
    // the savers' buffer layout: one spare row past the picture
    size_t size = size_t(stride) * size_t(height + 1);
    heap_bytes buffer(static_cast<uint8_t*>(heap_alloc(main_heap(), size)));
    if (!buffer) return 0;
    if (!sprite_read_pixels(sprite->surface, width, height, stride, buffer.get())) return 0;
    if (plugin == plugin_bmp) return write_bmp(name, width, height, stride, buffer.get()) ? 1 : 0;
    return encoder_save(name, buffer.get(), plugin, width, height, stride, flags);
}

int32_t sprite_save_default(object_number number, const char* name, uint32_t plugin) {
    return sprite_save(number, name, plugin, default_save_flags);
}
