// Start and end of the screen library, and the display object it shares: the engine's own
// when the engine is ready, otherwise one made from "DDRAW.DLL" and counted here.
#include "app/engine/engine.h"
#include "runtime/screen/screen_internal.h"

namespace {

screen_state state;

using direct_draw_create_ex = HRESULT(WINAPI*)(GUID* driver, void** display, REFIID id,
                                               IUnknown* outer);

template <typename Call>
void bind(Call& slot, const char* name) {
    slot = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(engine_entry(name)));
}

bool bind_engine_screen() {
    engine_screen_calls& calls = state.engine;
    bind(calls.OpenScreen3D, "OpenScreen3D");
    bind(calls.GetBackBuffer2, "GetBackBuffer2");
    bind(calls.GetDirectDraw7, "GetDirectDraw7");
    bind(calls.FlipWindowedBuffers, "FlipWindowedBuffers");
    return calls.OpenScreen3D && calls.GetBackBuffer2 && calls.GetDirectDraw7 &&
           calls.FlipWindowedBuffers;
}

// The engine's object is adopted, never made here: without it the engine path has no display.
bool adopt_engine_display() {
    state.engine_path = true;
    if (!bind_engine_screen()) return false;
    state.display = state.engine.GetDirectDraw7();
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

int32_t screen_library_init() {
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
        if (!adopt_engine_display()) return 0;
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
