// Start and end of the screen library, and the display object it shares: the engine's own
// when the engine is ready, otherwise one made from "DDRAW.DLL" and counted here.
#include "runtime/screen/screen_internal.h"

namespace {

screen_state state;

using direct_draw_create_ex = HRESULT(WINAPI*)(GUID* driver, void** display, REFIID id,
                                               IUnknown* outer);

// The engine's object is adopted, never made here: without it the engine path has no display.
bool adopt_engine_display(const screen_engine& engine) {
    state.engine_path = true;
    state.engine = engine;
    if (!engine.OpenScreen3D || !engine.GetBackBuffer2 || !engine.GetDirectDraw7 ||
        !engine.FlipWindowedBuffers)
        return false;
    state.display = static_cast<IDirectDraw7*>(engine.GetDirectDraw7());
    if (!state.display) return false;
    display_acquire();
    return true;
}

}  // namespace

screen_state& screen() { return state; }

IDirectDraw7* display_acquire() {
    if (!state.display) {
        state.display_module.reset(LoadLibraryA("DDRAW.DLL"));
        auto create = state.display_module.entry<direct_draw_create_ex>("DirectDrawCreateEx");
        if (create) create(nullptr, reinterpret_cast<void**>(&state.display), IID_IDirectDraw7, nullptr);
        if (!state.display) state.display_module.reset();
    }
    ++state.display_references;
    return state.display;
}

void display_release() {
    --state.display_references;
    if (!state.display || state.display_references != 0) return;
    state.display->Release();
    state.display = nullptr;
    state.display_module.reset();
}

int32_t screen_library_init(const screen_engine& engine) {
    state.fill = described<DDBLTFX>();
    state.frame_rate = 0;
    state.default_rate = false;
    state.pixel_format = 0;
    // Sprites made before a second start stay in the one table.
    if (!state.sprites)
        state.sprites = object_table_create(sprite_record_size, sprite_table_slots, sprite_free);
    if (!state.sprites || !base_window_create()) return 0;
    if (!keyboard_init()) return 0;
    state.initialised = true;
    state.engine_path = false;
    if (engine.ready) {
        if (!adopt_engine_display(engine)) return 0;
    } else if (!display_acquire()) {
        return 0;
    }
    state.window = state.base_window;
    return 1;
}

void screen_library_end() {
    if (!state.initialised) return;
    screen_release();
    state.width = state.height = 0;
    if (state.engine_path) {
        // the engine's object goes with the engine; a later start must not find it here
        state.display = nullptr;
        state.display_references = 0;
    } else {
        display_release();
    }
    state.engine_path = false;
    state.initialised = false;
}
