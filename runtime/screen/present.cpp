// Clearing the back buffer and presenting it into the screen window: handed to the engine,
// or blitted onto the clipped primary surface once the raster has passed the target.
#include "runtime/screen/pixel_format.h"
#include "runtime/screen/screen_internal.h"

namespace {

constexpr DWORD assumed_refresh_hz = 60;

// A raster that never leaves the target (or a counter that says so) costs one refresh at most.
void wait_for_raster_below(LONG bottom) {
    screen_state& state = screen();
    LONG screen_height = GetSystemMetrics(SM_CYSCREEN);
    DWORD refresh_hz = 0;
    if (FAILED(state.display->GetMonitorFrequency(&refresh_hz)) || refresh_hz == 0)
        refresh_hz = assumed_refresh_hz;
    LARGE_INTEGER frequency, start, now;
    if (!QueryPerformanceFrequency(&frequency) || !QueryPerformanceCounter(&start)) return;
    const LONGLONG limit = frequency.QuadPart / refresh_hz;
    DWORD line = 0;
    while (state.display->GetScanLine(&line) == DD_OK) {
        if (LONG(line) > bottom || LONG(line) > screen_height) return;
        if (!QueryPerformanceCounter(&now) || now.QuadPart - start.QuadPart > limit) return;
    }
}

HRESULT blit_to_primary(const RECT& source, const RECT& target) {
    screen_state& state = screen();
    RECT to = target, from = source;
    return state.primary->Blt(&to, state.back_buffer.get(), &from, DDBLT_WAIT, nullptr);
}

// Some hosts still accept a blit onto a lost primary, so the primary is asked first.
void present_restoring(const RECT& source, const RECT& target) {
    screen_state& state = screen();
    HRESULT result = state.primary->IsLost() == DDERR_SURFACELOST ? DDERR_SURFACELOST
                                                                  : blit_to_primary(source, target);
    if (result == DDERR_SURFACELOST && screen_restore_surfaces()) blit_to_primary(source, target);
}

}  // namespace

uint32_t screen_rgb_to_pixel(int32_t r, int32_t g, int32_t b) {
    return pixel_from_rgb(screen().depth, screen().pixel_format, r, g, b);
}

int32_t screen_clear(uint32_t colour) {
    screen_state& state = screen();
    if (!state.width || !state.back_buffer) return screen_clear_no_screen;
    uint32_t value = colour;
    if (state.depth > 8)
        value = screen_rgb_to_pixel(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
    state.fill.dwFillColor = value;
    return state.back_buffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &state.fill);
}

void screen_flip(int32_t wait) { screen_flip_picture(0, wait); }

void screen_flip_picture(uint32_t picture, int32_t wait) {
    screen_state& state = screen();
    if (!state.width) return;
    state.target_width = state.width;
    state.target_height = state.height;
    screen_present(picture, wait);
}

void screen_present(uint32_t picture, int32_t wait) {
    screen_state& state = screen();
    RECT source, target;
    screen_target_rects(source, target);
    if (!screen_present_due(picture, target)) {
        screen_wait_idle();
        return;
    }
    screen_wait_frame();
    screen_note_shown(picture, target);
    if (state.engine_path) {
        state.engine.FlipWindowedBuffers(target.left, target.top, target.right, target.bottom);
        return;
    }
    if (!state.primary || !state.back_buffer) return;
    if (wait) wait_for_raster_below(target.bottom);
    present_restoring(source, target);
}

bool screen_restore_surfaces() {
    screen_state& state = screen();
    return state.display && SUCCEEDED(state.display->RestoreAllSurfaces());
}

void screen_repaint() {
    screen_state& state = screen();
    if (state.engine_path || !state.windowed || !state.primary || !state.back_buffer) return;
    RECT source, target;
    screen_target_rects(source, target);
    blit_to_primary(source, target);
}
