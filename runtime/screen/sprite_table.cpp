// The sprite table's own operations: freeing a sprite, and keeping sprite pixels in memory
// while the desktop session is locked, since display surfaces may lose them meanwhile.
#include <algorithm>
#include <cstring>

#include "runtime/screen/screen_internal.h"

namespace {

constexpr size_t pitch_field_size = sizeof(int32_t);

// A system-memory copy in the sprite's own pixel format, so the rows go back unchanged.
bool make_system_copy(const sprite_record& sprite, com_ptr<IDirectDrawSurface7>& copy) {
    auto sprite_description = described<DDSURFACEDESC2>();
    if (FAILED(sprite.surface->GetSurfaceDesc(&sprite_description))) return false;
    auto description = described<DDSURFACEDESC2>();
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    description.dwWidth = DWORD(sprite.visible_width);
    description.dwHeight = DWORD(sprite.visible_height);
    description.ddpfPixelFormat = sprite_description.ddpfPixelFormat;
    return SUCCEEDED(screen().display->CreateSurface(&description, copy.put(), nullptr));
}

void back_up(sprite_record& sprite) {
    com_ptr<IDirectDrawSurface7> copy;
    if (!make_system_copy(sprite, copy)) return;
    if (FAILED(copy->Blt(nullptr, sprite.surface, nullptr, DDBLT_WAIT, nullptr))) return;
    auto locked = described<DDSURFACEDESC2>();
    if (FAILED(copy->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) return;
    int32_t pitch = locked.lPitch;
    size_t rows_size = size_t(pitch) * size_t(sprite.visible_height);
    auto* block = static_cast<uint8_t*>(heap_alloc(main_heap(), rows_size + pitch_field_size));
    if (block) {
        std::memcpy(block, &pitch, pitch_field_size);
        std::memcpy(block + pitch_field_size, locked.lpSurface, rows_size);
        sprite.backup = block;
    }
    copy->Unlock(nullptr);
}

int32_t back_up_visitor(object_number number, void*, void*) {
    auto* sprite = static_cast<sprite_record*>(object_get(screen().sprites, number));
    if (sprite && sprite->surface && !sprite->backup) back_up(*sprite);
    return 1;
}

// The backup stays when the surface cannot be locked yet: a later unlock tries again.
void restore(sprite_record& sprite) {
    if (sprite.surface->IsLost() == DDERR_SURFACELOST) sprite.surface->Restore();
    if (!sprite.backup) return;
    auto locked = described<DDSURFACEDESC2>();
    if (FAILED(sprite.surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) return;
    int32_t stored_pitch;
    std::memcpy(&stored_pitch, sprite.backup, pitch_field_size);
    size_t row_size = size_t(std::min<int32_t>(stored_pitch, locked.lPitch));
    const uint8_t* from = sprite.backup + pitch_field_size;
    auto* to = static_cast<uint8_t*>(locked.lpSurface);
    for (int32_t row = 0; row < sprite.visible_height; ++row)
        std::memcpy(to + size_t(row) * locked.lPitch, from + size_t(row) * stored_pitch, row_size);
    sprite.surface->Unlock(nullptr);
    heap_free(main_heap(), sprite.backup);
    sprite.backup = nullptr;
}

int32_t restore_visitor(object_number, void* record, void*) {
    auto* sprite = static_cast<sprite_record*>(record);
    if (sprite->surface) restore(*sprite);
    return 1;
}

}  // namespace

void sprite_free(object_number number) {
    object_table* table = screen().sprites;
    auto* sprite = static_cast<sprite_record*>(object_get(table, number));
    if (!sprite) return;
    sprite->surface->Release();
    if (sprite->backup) heap_free(main_heap(), sprite->backup);
    object_release(table, number);
}

void sprite_backup_all() {
    if (screen().sprites) object_for_each(screen().sprites, back_up_visitor, nullptr);
}

void sprite_restore_all() {
    if (screen().sprites) object_for_each(screen().sprites, restore_visitor, nullptr);
}
