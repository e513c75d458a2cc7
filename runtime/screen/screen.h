// Screen library: a DirectDraw 7 screen inside a child window, cleared and presented once
// per frame at a paced rate; the sprite table with grabbing and saving; the keyboard and
// mouse through DirectInput 7, and the mouse's drags, wheel and double clicks in the screen
// window. Host-neutral declarations: window handles travel as pointers.
#pragma once

#include <cstdint>

#include "engine3d/engine3d.h"
#include "runtime/core/core.h"

// ---- screen --------------------------------------------------------------------------------

constexpr int32_t screen_default_frame_rate = 60;
// What screen_clear answers when there is no screen to clear (its success value is 0).
constexpr int32_t screen_clear_no_screen = -1;

// What the library takes from the 3D engine, filled in by the application from its binding.
// With a ready engine the library adopts the engine's display object and presents through it;
// otherwise it makes a display of its own.
struct screen_engine {
    int32_t ready;
    decltype(&::OpenScreen3D) OpenScreen3D;
    decltype(&::GetBackBuffer2) GetBackBuffer2;
    decltype(&::GetDirectDraw7) GetDirectDraw7;
    decltype(&::FlipWindowedBuffers) FlipWindowedBuffers;
};

int32_t screen_library_init(const screen_engine& engine = {});
void screen_library_end();
int32_t screen_open_windowed(platform_handle window, int32_t x, int32_t y, int32_t width,
                             int32_t height, int32_t autostretch, int32_t right_offset,
                             int32_t bottom_offset);
void screen_close();
int32_t screen_set_frame_rate(int32_t rate);
// Colour 0x00BBGGRR; the result is the fill blit's (0 = success).
int32_t screen_clear(uint32_t colour);
void screen_flip(int32_t wait = 1);
// screen_flip for a back buffer whose whole picture goes by a number that changes with it
// (0: not known): presented only when the number or the window's place differs from the
// last present, or the window was uncovered, resized, restored or its display changed.
// Otherwise it waits for the next frame, longer while no message arrives.
void screen_flip_picture(uint32_t picture, int32_t wait = 1);
// The display's pixel value for a colour, by the depth and format of the open screen.
uint32_t screen_rgb_to_pixel(int32_t r, int32_t g, int32_t b);

// ---- sprites -------------------------------------------------------------------------------

enum sprite_flag : int32_t {
    sprite_system_memory = 1,  // only when given alone
    sprite_memory = 2,         // never grabbed
    sprite_texture = 4,
    sprite_alpha32 = 8,
};

// The sprite's surface, or its identity for object_any; 0 on failure.
object_number sprite_grab(object_number number, int32_t x, int32_t y, int32_t width,
                          int32_t height, int32_t flags);
// Plugin 0 writes a BMP file; any other id goes to the encoder registered under it.
int32_t sprite_save(object_number number, const char* name, uint32_t plugin, int32_t flags);
int32_t sprite_save_default(object_number number, const char* name, uint32_t plugin);
void sprite_free(object_number number);
// Sprite pixels kept in memory across a locked desktop session.
void sprite_backup_all();
void sprite_restore_all();

int32_t sprite3d_library_init();
void sprite3d_free_all();

// ---- keyboard and mouse ----------------------------------------------------------------------

constexpr int32_t keyboard_any_key = -1;

int32_t keyboard_init();
int32_t keyboard_poll();
// 128 when the key is down (1 for any key), 0 when up or before a successful poll.
int32_t keyboard_key_down(int32_t key);
void keyboard_end();

int32_t mouse_init();
void mouse_end();

// What the mouse did in the screen window since the last mouse_take_input.
struct mouse_input {
    int32_t drag_x, drag_y;  // pixels moved with the left button held; right and down positive
    int32_t wheel_notches;   // forward positive
    int32_t double_clicks;
};
// From now on the screen window shows the hand pointer and gathers drags, wheel notches and
// double clicks.
void mouse_watch_screen();
mouse_input mouse_take_input();
// True while the left button drags in the screen window.
bool mouse_dragging();
