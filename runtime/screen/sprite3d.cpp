// The 3D sprite table and the display's Direct3D 7 interface. No 3D sprite is made in this
// program; the table is started and ended with the others.
#include <d3d.h>

#include "runtime/screen/screen_internal.h"

namespace {

constexpr int32_t sprite3d_record_size = 140;
constexpr int32_t sprite3d_table_slots = 64;

object_table* sprites3d;
// Held so that the display object's last reference can still go at the end.
com_ptr<IDirect3D7> direct3d;

void sprite3d_free(object_number number) { object_release(sprites3d, number); }

}  // namespace

int32_t sprite3d_library_init() {
    if (!sprites3d)
        sprites3d = object_table_create(sprite3d_record_size, sprite3d_table_slots, sprite3d_free);
    IDirectDraw7* display = screen().display;
    if (!display) return 0;
    return SUCCEEDED(display->QueryInterface(IID_IDirect3D7, direct3d.put_void())) ? 1 : 0;
}

void sprite3d_free_all() {
    if (sprites3d) {
        object_enum_reset(sprites3d);
        object_number number;
        while (object_enum_next(sprites3d, &number)) sprite3d_free(number);
    }
    direct3d.reset();
}
