// Keeping the last rendered back buffer and putting it back: a frame whose scene did not
// change costs one copy instead of a render.
#include <cstring>
#include <new>

#include "engine3d/render/render.h"

namespace engine3d {
namespace {

size_t row_bytes(const locked_surface& surface) {
    return size_t(surface.width) * (surface.bits_per_pixel / 8);
}

bool same_layout(const locked_surface& a, const locked_surface& b) {
    return a.width == b.width && a.height == b.height && a.bits_per_pixel == b.bits_per_pixel &&
           a.red_mask == b.red_mask && a.green_mask == b.green_mask && a.blue_mask == b.blue_mask;
}

}  // namespace

bool frame_keep(kept_frame& kept, const locked_surface& surface, uint32_t version) {
    size_t row = row_bytes(surface);
    bool changed = kept.bytes.empty() || !same_layout(kept.layout, surface);
    // Without room for the copy the next frame is simply rendered again.
    try {
        kept.bytes.resize(row * size_t(surface.height));
    } catch (const std::bad_alloc&) {
        kept = {};
        return true;
    }
    for (int32_t y = 0; y < surface.height; ++y) {
        uint8_t* kept_row = &kept.bytes[size_t(y) * row];
        const uint8_t* drawn = surface.bits + size_t(y) * surface.pitch;
        if (!changed && std::memcmp(kept_row, drawn, row) != 0) changed = true;
        std::memcpy(kept_row, drawn, row);
    }
    kept.layout = surface;
    kept.version = version;
    return changed;
}

bool frame_reuse(const kept_frame& kept, const locked_surface& surface, uint32_t version) {
    if (kept.version != version || kept.bytes.empty() || !same_layout(kept.layout, surface))
        return false;
    size_t row = row_bytes(surface);
    for (int32_t y = 0; y < surface.height; ++y)
        std::memcpy(surface.bits + size_t(y) * surface.pitch, &kept.bytes[size_t(y) * row], row);
    return true;
}

}  // namespace engine3d
