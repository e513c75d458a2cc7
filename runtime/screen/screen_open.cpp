// Opening and closing the windowed screen: the engine's screen on its window, or a primary
// surface clipped to the window with an off-screen back buffer of our own.
#include "runtime/screen/pixel_format.h"
#include "runtime/screen/screen_internal.h"

namespace {

int32_t window_depth(HWND window) {
    HDC dc = GetDC(window);
    int32_t depth = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(window, dc);
    return depth;
}

bool open_engine_screen(HWND window) {
    screen_state& state = screen();
    ShowWindow(window, SW_SHOWNORMAL);
    if (!state.engine.OpenScreen3D(state.width, state.height, state.depth, "", 0, window))
        return false;
    state.back_buffer.reset(static_cast<IDirectDrawSurface7*>(state.engine.GetBackBuffer2()));
    return bool(state.back_buffer);
}

bool create_surface(DWORD caps, int32_t width, int32_t height, com_ptr<IDirectDrawSurface7>& surface) {
    auto description = described<DDSURFACEDESC2>();
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = caps;
    if (width) {
        description.dwFlags |= DDSD_WIDTH | DDSD_HEIGHT;
        description.dwWidth = DWORD(width);
        description.dwHeight = DWORD(height);
    }
    return SUCCEEDED(screen().display->CreateSurface(&description, surface.put(), nullptr));
}

void fill_black(IDirectDrawSurface7* surface, int32_t width, int32_t height) {
    HDC dc;
    if (FAILED(surface->GetDC(&dc))) return;
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    surface->ReleaseDC(dc);
}

bool open_plain_screen(HWND window) {
    screen_state& state = screen();
    IDirectDraw7* display = state.display;
    if (FAILED(display->SetCooperativeLevel(window, DDSCL_NORMAL))) return false;
    if (!create_surface(DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE, 0, 0, state.primary)) return false;
    if (FAILED(display->CreateClipper(0, state.clipper.put(), nullptr))) return false;
    if (FAILED(state.clipper->SetHWnd(0, window))) return false;
    if (FAILED(state.primary->SetClipper(state.clipper.get()))) return false;
    if (!create_surface(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, state.width, state.height,
                        state.back_buffer))
        return false;
    fill_black(state.back_buffer.get(), state.width, state.height);
    return true;
}

// Left as it was when the primary cannot be locked.
void read_pixel_format() {
    screen_state& state = screen();
    auto description = described<DDSURFACEDESC2>();
    if (FAILED(state.primary->Lock(nullptr, &description, DDLOCK_WAIT, nullptr))) return;
    state.primary->Unlock(nullptr);
    state.pixel_format = pixel_format_code(state.depth, description.ddpfPixelFormat.dwRBitMask,
                                           description.ddpfPixelFormat.dwGBitMask);
}

int32_t open_failed() {
    screen_state& state = screen();
    screen_release();
    state.width = state.height = 0;
    return 0;
}

void keep_placement(int32_t x, int32_t y, int32_t autostretch, int32_t right_offset,
                    int32_t bottom_offset) {
    screen_state& state = screen();
    state.x = x;
    state.y = y;
    state.right_offset = right_offset;
    state.bottom_offset = bottom_offset;
    state.autostretch = autostretch != 0;
}

}  // namespace

int32_t screen_open_windowed(platform_handle window_handle, int32_t x, int32_t y, int32_t width,
                             int32_t height, int32_t autostretch, int32_t right_offset,
                             int32_t bottom_offset) {
    screen_state& state = screen();
    screen_close();
    state.deactivation_handler = sprite_backup_all;
    HWND window = static_cast<HWND>(window_handle);
    if (!window || !state.display) return open_failed();
    state.window = window;
    state.width = state.target_width = width;
    state.height = state.target_height = height;
    state.depth = window_depth(window);
    if (state.frame_rate == 0) {
        screen_set_frame_rate(screen_default_frame_rate);
        state.default_rate = true;
    } else {
        state.default_rate = false;
    }
    state.windowed = true;
    screen_forget_shown();
    if (!(state.engine_path ? open_engine_screen(window) : open_plain_screen(window)))
        return open_failed();
    keep_placement(x, y, autostretch, right_offset, bottom_offset);
    screen_update_geometry();
    screen_subclass(window);
    if (!state.engine_path) read_pixel_format();
    screen_fine_timer(true);
    return 1;
}

void screen_close() {
    screen_state& state = screen();
    if (!state.width) return;
    if (state.default_rate) screen_set_frame_rate(0);
    screen_release();
    state.width = state.height = 0;
}

void screen_release() {
    screen_state& state = screen();
    if (state.sprites) {
        object_enum_reset(state.sprites);
        object_number number;
        while (object_enum_next(state.sprites, &number)) sprite_free(number);
    }
    if (state.display) state.display->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    state.back_buffer.reset();
    state.primary.reset();
    state.clipper.reset();
    if (state.windowed) {
        state.windowed = false;
        InvalidateRect(state.window, nullptr, TRUE);
    }
    state.window = state.base_window;
    ShowWindow(state.base_window, SW_HIDE);
    screen_fine_timer(false);
}
