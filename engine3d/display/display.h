// The engine's DirectDraw 7 screen: display object, primary surface clipped to one window
// and an off-screen back buffer. The owner releases it with display_end.
#pragma once

#include <cstdint>

struct IDirectDraw7;
struct IDirectDrawSurface7;
struct IDirectDrawClipper;
struct HWND__;
struct HINSTANCE__;

namespace engine3d {

struct frame_buffer;
struct row_share;

// The back buffer's memory while it is locked, with its RGB layout.
struct locked_surface {
    uint8_t* bits;
    int32_t pitch, width, height;
    uint32_t bits_per_pixel, red_mask, green_mask, blue_mask;
};

struct display {
    HINSTANCE__* module = nullptr;
    IDirectDraw7* object = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* back = nullptr;
    IDirectDrawClipper* clipper = nullptr;
    HWND__* window = nullptr;
    int32_t width = 0, height = 0;
    uint32_t restores = 0;  // raised by every restore: what the surfaces held is gone
};

// The display object, made on first use; null when DirectDraw 7 is unavailable.
IDirectDraw7* display_object(display& screen);
// Replaces any open screen. Depth 16, 24 or 32 fixes the back buffer's pixel format; any
// other depth takes the desktop's.
bool display_open(display& screen, int32_t width, int32_t height, int32_t depth, HWND__* window);
// Gives every surface of the display object its memory back after it was lost; what they
// showed is gone and must be drawn again.
bool display_restore(display& screen);
// Blits the whole back buffer into a rectangle in screen coordinates, restoring lost
// surfaces once.
bool display_present(display& screen, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Blits the whole back buffer over the window's client area.
bool display_present_client(display& screen);
bool display_lock(display& screen, locked_surface& target);
void display_unlock(display& screen);
// Resolves a share of the frame's rows into the locked back buffer, in its pixel format.
void surface_write_rows(const locked_surface& target, const frame_buffer& frame, row_share rows);
// Releases the surfaces and clipper; the display object stays.
void display_close(display& screen);
// Releases the surfaces, the clipper and the display object.
void display_end(display& screen);

}  // namespace engine3d
