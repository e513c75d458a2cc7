// Grabbing a rectangle of the back buffer into a numbered sprite surface.
#include <cstdint>
#include <limits>

#include "runtime/screen/screen_internal.h"

namespace {

// Black is transparent when a sprite is drawn with its key.
constexpr DDCOLORKEY sprite_colour_key = {0, 0};

DWORD sprite_caps(int32_t flags) {
    if (flags & sprite_texture) return DDSCAPS_TEXTURE;
    if (flags == sprite_system_memory) return DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    return DDSCAPS_OFFSCREENPLAIN;
}

DDPIXELFORMAT alpha32_format() {
    auto format = described<DDPIXELFORMAT>();
    format.dwFlags = DDPF_RGB | DDPF_ALPHAPIXELS;
    format.dwRGBBitCount = 32;
    format.dwRBitMask = 0xFF0000;
    format.dwGBitMask = 0xFF00;
    format.dwBBitMask = 0xFF;
    format.dwRGBAlphaBitMask = 0xFF000000;
    return format;
}

void fill_record(sprite_record& sprite, int32_t width, int32_t height, int32_t flags) {
    sprite = {};
    sprite.width = sprite.visible_width = int16_t(width);
    sprite.height = sprite.visible_height = int16_t(height);
    sprite.flags = uint16_t(flags);
}

bool sprite_create_surface(sprite_record& sprite, int32_t width, int32_t height, int32_t flags) {
    fill_record(sprite, width, height, flags);
    auto description = described<DDSURFACEDESC2>();
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    description.ddsCaps.dwCaps = sprite_caps(flags);
    description.dwWidth = DWORD(width);
    description.dwHeight = DWORD(height);
    if (flags & sprite_alpha32) {
        description.dwFlags |= DDSD_PIXELFORMAT;
        description.ddpfPixelFormat = alpha32_format();
    }
    IDirectDrawSurface7* surface = nullptr;
    if (FAILED(screen().display->CreateSurface(&description, &surface, nullptr))) return false;
    sprite.surface = surface;
    return true;
}

// Sizes are positive and fit the record's 16-bit fields; sums are taken in 64 bits.
bool inside_back_buffer(int32_t x, int32_t y, int32_t width, int32_t height) {
    const screen_state& state = screen();
    constexpr int32_t largest = std::numeric_limits<int16_t>::max();
    if (width <= 0 || height <= 0 || width > largest || height > largest) return false;
    return x >= 0 && y >= 0 && int64_t(x) + width <= state.target_width &&
           int64_t(y) + height <= state.target_height;
}

object_number identity_of(object_number number, const sprite_record* sprite) {
    return number == object_any ? reinterpret_cast<object_number>(sprite) : number;
}

object_number grab_failed(object_number number, sprite_record* sprite) {
    if (sprite->surface) sprite->surface->Release();
    *sprite = {};
    object_release(screen().sprites, identity_of(number, sprite));
    return 0;
}

}  // namespace

object_number sprite_grab(object_number number, int32_t x, int32_t y, int32_t width,
                          int32_t height, int32_t flags) {
    screen_state& state = screen();
    if (!state.sprites || !state.display) return 0;
    auto* sprite = static_cast<sprite_record*>(object_new(state.sprites, number));
    if (!sprite) return 0;
    if (!inside_back_buffer(x, y, width, height) || (flags & sprite_memory) || !state.back_buffer)
        return grab_failed(number, sprite);
    if (!sprite_create_surface(*sprite, width, height, flags)) return grab_failed(number, sprite);
    RECT area = {x, y, x + width, y + height};
    // a copy that did not happen must not pass for a grabbed picture
    if (FAILED(sprite->surface->BltFast(0, 0, state.back_buffer.get(), &area, DDBLTFAST_WAIT)))
        return grab_failed(number, sprite);
    DDCOLORKEY key = sprite_colour_key;
    sprite->surface->SetColorKey(DDCKEY_SRCBLT, &key);
    if (number == object_any) return identity_of(number, sprite);
    return reinterpret_cast<object_number>(sprite->surface);
}
