// Window system library: numbered windows with the polled event queue, gadgets, file and
// colour requesters, fonts, menu bars and status bars.
// Host-neutral declarations: host handles travel as opaque pointers.
#pragma once

#include <cstdint>

#include "runtime/core/core.h"

// ---- events ------------------------------------------------------------------------------

constexpr int32_t event_code_move = 3;
constexpr int32_t event_code_size = 5;
constexpr int32_t event_code_repaint = 15;
constexpr int32_t event_code_close = 16;
constexpr int32_t event_code_gadget = 13100;
constexpr int32_t event_code_menu = 13101;
constexpr int32_t event_code_activate = 13104;
// Files dropped on a gadget that accepts them; event_gadget names the gadget.
constexpr int32_t event_code_drop = 13105;

// Posted to a window by gadgets: word parameter = gadget number, long parameter = type.
constexpr uint32_t msg_gadget_event = 13103;
// What a message handler answers to leave a message to default handling.
constexpr uint32_t not_handled = 0xD0D0D0D1;

// Gadget event types of string fields gaining and losing the focus.
constexpr int32_t event_type_focus_gained = 14000;
constexpr int32_t event_type_focus_lost = 14001;

// ---- windows -----------------------------------------------------------------------------

// Runtime bits of window_open's flags; every other bit is a host window style.
constexpr int32_t window_center_screen = 0x00000001;
constexpr int32_t window_center_parent = 0x00000002;
constexpr int32_t window_invisible = 0x10000000;
// As x or y (without a centring bit): the host chooses the position.
constexpr int32_t window_default_position = -65535;

void window_library_init();
// width and height are the client size; answers the host window, the identity for
// object_any, or 0.
object_number window_open(object_number number, int32_t x, int32_t y, int32_t width, int32_t height,
                          const char* title, int32_t flags, platform_handle parent = nullptr);
platform_handle window_id(object_number number);
int32_t window_hide(object_number number, int32_t hide);
int32_t window_free(object_number number);
int32_t window_set_title(object_number number, const char* title);
// Key combinations that choose a menu item wherever the keyboard focus is in the window; while
// a requester is open they do nothing. key: a host virtual-key code, such as 'S'.
constexpr int32_t shortcut_control = 1;
constexpr int32_t shortcut_shift = 2;
int32_t window_add_shortcut(object_number number, int32_t key, int32_t modifiers, int32_t item);
void window_close_all();
// Log-off and shut-down as the host tells the top-level windows, from within their procedure:
// `may_end` is asked whether the session may end (false refuses it); `ends` is told whether it
// ends after all, and when it does it need not return. Without them the session just ends.
struct session_end_handlers {
    bool (*may_end)();
    void (*ends)(bool ending);
};
void window_on_session_end(const session_end_handlers& handlers);

// One event code per call, 0 when nothing is pending. timeout: 0 polls, -1 waits without
// limit, else waits at most that many milliseconds.
int32_t window_wait_event(int32_t timeout);
int32_t window_event();
object_number event_gadget();
// Window of the last event (-1 when none) and sub-type of the last gadget event.
object_number event_window();
int32_t event_type();
// A file of the last drop event by its place in the drop, from 0; the empty string past the
// last. Follows the temporary-string convention.
char* event_dropped_file(int32_t index, int32_t offset);
void delay(int32_t milliseconds);

// ---- gadgets -----------------------------------------------------------------------------

// Colour types and the "no colour" value (the system default).
constexpr int32_t color_front = 1;
constexpr int32_t color_back = 2;
constexpr uint32_t color_none = 0xFFFFFFFF;

constexpr int32_t container_thin_border = 1;
constexpr int32_t container_dialog_frame = 2;
constexpr int32_t container_static_edge = 4;
constexpr int32_t container_client_edge = 8;

constexpr int32_t frame_group_box = 0;
constexpr int32_t frame_client_edge = 1;
constexpr int32_t frame_static_edge = 2;

constexpr int32_t scrollbar_vertical = 1;
constexpr int32_t scrollbar_minimum = 1;
constexpr int32_t scrollbar_maximum = 2;
constexpr int32_t scrollbar_page = 3;

// Host edit style bit: read-only (also the editor's read-only attribute).
constexpr int32_t string_read_only = 0x800;
constexpr int32_t editor_read_only = 0x800;
// String fields: no client edge; text gadgets: with client edge.
constexpr int32_t gadget_edge_bit = 0x20000;

constexpr intptr_t default_gui_font = -1;

void gadget_library_init();
platform_handle gadget_list_create(platform_handle window);
void gadget_list_close();

object_number gadget_container(object_number number, int32_t x, int32_t y, int32_t width,
                               int32_t height, int32_t flags = 0);
object_number gadget_button(object_number number, int32_t x, int32_t y, int32_t width,
                            int32_t height, const char* text, int32_t flags = 0);
object_number gadget_frame(object_number number, int32_t x, int32_t y, int32_t width,
                           int32_t height, const char* text, int32_t flags = 0);
object_number gadget_string(object_number number, int32_t x, int32_t y, int32_t width,
                            int32_t height, const char* text, int32_t flags);
object_number gadget_editor(object_number number, int32_t x, int32_t y, int32_t width,
                            int32_t height, int32_t flags = 0);
object_number gadget_text(object_number number, int32_t x, int32_t y, int32_t width, int32_t height,
                          const char* text, int32_t flags = 0);
object_number gadget_scrollbar(object_number number, int32_t x, int32_t y, int32_t width,
                               int32_t height, int32_t min, int32_t max, int32_t page,
                               int32_t flags = 0);

platform_handle gadget_id(object_number number);
int32_t gadget_free(object_number number);
int32_t gadget_get_state(object_number number);
int32_t gadget_set_state(object_number number, int32_t state);
int32_t gadget_set_text(object_number number, const char* text);
int32_t gadget_hide(object_number number, int32_t hide);
int32_t gadget_disable(object_number number, int32_t disable);
int32_t gadget_set_color(object_number number, int32_t type, uint32_t colour);
uint32_t gadget_get_color(object_number number, int32_t type);
int32_t gadget_set_attribute(object_number number, int32_t attribute, int32_t value);
int32_t gadget_get_attribute(object_number number, int32_t attribute);
// number -1: the font of gadgets created from now on. font: a host font, or -1 for the
// host's default GUI font.
int32_t gadget_set_font(object_number number, intptr_t font);
// Files dropped on the gadget come as drop events (accept 1) or are refused (accept 0).
int32_t gadget_accept_files(object_number number, int32_t accept);
// Moves and sizes a frame.
int32_t gadget_resize(object_number number, int32_t x, int32_t y, int32_t width, int32_t height);

// Line operations of the editor; text results follow the temporary-string convention.
char* gadget_get_text(object_number number, int32_t offset);
int32_t gadget_add_item(object_number number, int32_t position, const char* text);
int32_t gadget_remove_item(object_number number, int32_t position);
int32_t gadget_clear_items(object_number number);
int32_t gadget_count_items(object_number number);
char* gadget_get_item_text(object_number number, int32_t position, int32_t offset);
int32_t gadget_set_item_text(object_number number, int32_t position, const char* text);

// ---- requesters --------------------------------------------------------------------------

void requester_library_init();
// The chosen full path at `offset` of the temporary string area, or the empty string.
char* requester_open_file(const char* title, const char* default_file, const char* pattern,
                          int32_t pattern_position, int32_t offset);
char* requester_save_file(const char* title, const char* default_file, const char* pattern,
                          int32_t pattern_position, int32_t offset);
// The 0-based pattern pair (file type) selected when a file requester was last confirmed.
int32_t requester_chosen_pattern();
// The chosen colour, or color_none when cancelled.
uint32_t requester_color(uint32_t initial = color_none);
// The current directory, ending in a backslash unless it is empty.
char* file_current_directory(int32_t offset);

// ---- fonts, menus, status bars -----------------------------------------------------------

constexpr int32_t font_underline = 0x004;
constexpr int32_t font_strike_out = 0x008;
constexpr int32_t font_high_quality = 0x010;
constexpr int32_t font_bold = 0x100;
constexpr int32_t font_italic = 0x200;

void font_library_init();
object_number font_load(object_number number, const char* name, int32_t size, int32_t flags);
int32_t font_free(object_number number);
void font_free_all();

void menu_library_init();
object_number menu_create(object_number number, platform_handle window);
int32_t menu_title(const char* text);
// Appends an item to the drop-down (or bar) being built; choosing it gives a menu event
// whose event_gadget is `item`.
int32_t menu_item(int32_t item, const char* text);
// Appends a separating line to the drop-down being built.
int32_t menu_bar();
// Ticks (state 1) or unticks (0) an item of the menu bar `number`; its tick as 1 or 0.
int32_t menu_set_item_state(object_number number, int32_t item, int32_t state);
int32_t menu_item_state(object_number number, int32_t item);
// Greys (1) or enables (0) an item of the menu bar `number`.
int32_t menu_disable_item(object_number number, int32_t item, int32_t disable);
// Puts an item before the item `before` in the same drop-down; a null text makes a
// separating line, whose `item` the host ignores.
int32_t menu_insert_item(object_number number, int32_t before, int32_t item, const char* text);
int32_t menu_remove_item(object_number number, int32_t item);
// Removes the separating line just before the item `before`, found by its place since the
// host keeps no number for it; 1 when there was one.
int32_t menu_remove_separator_before(object_number number, int32_t before);
int32_t menu_free(object_number number);

constexpr int32_t statusbar_raised = 1;
constexpr int32_t statusbar_borderless = 2;
constexpr int32_t statusbar_centered = 4;
constexpr int32_t statusbar_right = 8;

void statusbar_library_init();
object_number statusbar_create(object_number number, platform_handle window);
int32_t statusbar_add_field(int32_t width);
int32_t statusbar_set_text(object_number number, int32_t field, const char* text,
                           int32_t flags = 0);
int32_t statusbar_free(object_number number);
