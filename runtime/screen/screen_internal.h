// What the screen library's own files share: the process-wide screen state, the sprite
// record, and the steps that opening, presenting, the window procedures and input call.
#pragma once

#include "runtime/screen/frame_clock.h"
#include "runtime/screen/owned.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/win32.h"

// The picture last presented (0: not known), and where to.
struct shown_picture {
    uint32_t picture;
    RECT target;
};

struct screen_state {
    // The engine's own object on the engine path, which this library never releases.
    IDirectDraw7* display;
    unique_module display_module;
    int32_t display_references;

    HWND base_window;
    HWND window;  // the base window between screens
    com_ptr<IDirectDrawSurface7> primary;
    com_ptr<IDirectDrawClipper> clipper;
    com_ptr<IDirectDrawSurface7> back_buffer;

    int32_t width, height;  // non-zero width: a screen is open
    int32_t target_width, target_height;
    int32_t depth;
    int32_t pixel_format;
    bool windowed;

    int32_t x, y, right_offset, bottom_offset;
    bool autostretch;
    int32_t left_delta, top_delta, right_delta, bottom_delta;

    int32_t frame_rate;
    bool default_rate;
    frame_clock clock;
    bool fine_timer;  // the system timer's resolution is raised while frames are presented

    shown_picture shown;
    int32_t moving_frames_left;  // frames still presented since the picture last changed
    bool repaint_due;  // the window was uncovered, resized, restored or its display changed

    DDBLTFX fill;
    void (*deactivation_handler)();
    bool handler_called;

    bool engine_path;
    screen_engine engine;
    bool initialised;
    object_table* sprites;
};

screen_state& screen();

IDirectDraw7* display_acquire();
void display_release();

bool base_window_create();

// Window procedure of the screen window, installed once per window.
void screen_subclass(HWND window);
void screen_update_geometry();
void screen_target_rects(RECT& source, RECT& target);
// Waits until a frame interval has passed, sleeping all but its end; answers
// how often it looked at the counter.
int32_t screen_wait_frame();
// With nothing to present: sleeps through the frame interval, then on until a message
// arrives or the idle tick ends.
void screen_wait_idle();
// The window shows nothing known yet, as after an open.
void screen_forget_shown();
// True when the back buffer's picture is not known to be the window's, or the window must
// be painted again, or the target moved.
bool screen_present_due(uint32_t picture, const RECT& target);
void screen_note_shown(uint32_t picture, const RECT& target);
// Raises the system timer's resolution (on) or gives the raise back (off), once each.
void screen_fine_timer(bool on);
// Restores every lost surface of the display object once before giving up on a frame.
void screen_present(uint32_t picture, int32_t wait);
// Every surface of the display object, the engine's primary among them, gets its memory
// back after a locked session or a mode change.
bool screen_restore_surfaces();
void screen_repaint();
// Frees the sprites and gives back the surfaces; the screen window returns to the base
// window. The size is left to the caller.
void screen_release();

void mouse_unacquire();
// Takes the screen window's mouse messages while the mouse is watched; false leaves the
// message to the window's own procedure.
bool screen_mouse_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                          LRESULT& result);

// ---- sprites -------------------------------------------------------------------------------

struct sprite_record {
    IDirectDrawSurface7* surface;  // null: no sprite
    int16_t width;
    int16_t height;
    int16_t depth;  // 0: the display's
    uint16_t flags;
    uint8_t* backup;  // pitch, then the rows, while the session is locked
    int16_t visible_width;
    int16_t visible_height;
    int16_t unused[2];
};
static_assert(sizeof(void*) != 4 || sizeof(sprite_record) == 24, "the table's record size");

constexpr int32_t sprite_record_size = 24;
constexpr int32_t sprite_table_slots = 64;

// Pixels of a whole surface as the 24-bit bottom-up rows that savers take.
bool sprite_read_pixels(IDirectDrawSurface7* surface, int32_t width, int32_t height,
                        int32_t stride, uint8_t* buffer);

template <typename Description>
Description described() {
    Description description = {};
    description.dwSize = sizeof description;
    return description;
}
