// Saving a sprite: its pixels as 24-bit bottom-up rows, written as a BMP file here or handed
// to the encoder registered under the plugin id. A failed save leaves the old file as it was.
#include "runtime/image/image.h"
#include "runtime/screen/screen_internal.h"

namespace {

constexpr int32_t default_save_flags = 7;

}  // namespace

int32_t sprite_save(object_number number, const char* name, uint32_t plugin, int32_t flags) {
    object_table* table = screen().sprites;
    if (!name || !table) return 0;
    auto* sprite = static_cast<sprite_record*>(object_get(table, number));
    if (!sprite) return 0;
    int32_t width = sprite->width, height = sprite->height;
    auto stride = int32_t(bmp_row_stride(width, 24));
    // the savers' buffer layout: one spare row past the picture
    heap_block buffer(size_t(stride) * size_t(height + 1));
    if (!buffer.get()) return 0;
    if (!sprite_read_pixels(sprite->surface, width, height, stride, buffer.get())) return 0;
    // sprites leave the header's image size field at 0
    if (plugin == plugin_bmp) return bmp_write(name, buffer.get(), width, height, stride, 0);
    return encoder_save(name, buffer.get(), plugin, width, height, stride, flags);
}

int32_t sprite_save_default(object_number number, const char* name, uint32_t plugin) {
    return sprite_save(number, name, plugin, default_save_flags);
}
