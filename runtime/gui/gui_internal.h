// What the window system's own files share: the window and gadget records, the kind
// descriptor, and the hooks between the window procedure and the gadgets. Windows-only.
#pragma once

#include "runtime/core/windows_host.h"

#include "runtime/gui/gui.h"

constexpr LRESULT not_handled_result = LRESULT(not_handled);
constexpr const char* window_id_property = "QV_WindowID";
constexpr const char* gadget_id_property = "QV_ID";
// Commands of the Tab and Shift+Tab accelerators every runtime window carries.
constexpr WORD command_focus_next = 1212;
constexpr WORD command_focus_previous = 1213;

// ---- windows -----------------------------------------------------------------------------

struct window_record {
    HWND handle;
    int32_t accel_count;
    ACCEL* accel_entries;
    HACCEL accel_table;
    void* callback;
    uint32_t back_color;
    HBRUSH back_brush;
    HWND mdi_client;
    void* erase_hook;
};

struct window_event_node {
    window_event_node* next;
    int32_t code;
    object_number window;
    // Gadget and menu events only: what event_gadget and the event type answer.
    object_number gadget;
    int32_t type;
};

struct window_state {
    object_number last_event_gadget;
    object_number last_event_window;
    int32_t last_event_type;
    int32_t pending_event;
    WPARAM last_wparam;
    LPARAM last_lparam;
    window_event_node* queue_head;
    window_event_node* queue_tail;
    // Non-zero while a poll dispatches: only then may a gadget event be returned at once.
    int32_t dispatching;
    session_end_handlers session_end;
};

window_state& windows_state();
window_record* window_get(object_number number);
HINSTANCE program_instance();

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The live-sizing handler sees every message first; it takes the sizing command when the
// host drags full windows, and answers not_handled_result to everything else.
void live_sizing_init();
LRESULT live_sizing_handler(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void window_queue_event(int32_t code, object_number window);
// A gadget or menu event: the poll that is dispatching returns it. Outside a poll a posted
// report (dispatched by a requester's own message loop) waits in the queue with its gadget
// number and type; a host notification there answers a call of the program (a text set,
// a focus moved), not the user, and is dropped.
enum class outside_poll { queue, drop };
void window_report_event(int32_t code, object_number gadget, int32_t type, outside_poll outside);
// Dispatches one host message as a poll does, so that the events it raises are returned.
void window_dispatch(const MSG& message);
// The first window up the parent chain that is a runtime window; its number goes to
// `number` (-1 and null when there is none).
HWND owning_window(HWND window, object_number* number);
// Tab (forward) and Shift+Tab travel among the tab stops of the active window.
void focus_travel(bool forward);

// ---- gadgets -----------------------------------------------------------------------------

struct gadget_kind;

struct gadget_record {
    HWND handle;
    const gadget_kind* kind;
    int32_t reserved;
    WNDPROC old_proc;
    uintptr_t data[4];  // kind words 1 to 4
};

struct gadget_kind {
    int32_t kind_id;
    int32_t descriptor_size;
    LRESULT(*notify)
    (gadget_record* gadget, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void (*free)(gadget_record* gadget);
    int32_t (*get_state)(gadget_record* gadget);
    void (*set_state)(gadget_record* gadget, int32_t state);
    char* (*get_text)(gadget_record* gadget, int32_t offset);
    void (*set_text)(gadget_record* gadget, const char* text);
    void (*add_item)(gadget_record* gadget, int32_t position, const char* text);
    void* reserved_9;
    void (*remove_item)(gadget_record* gadget, int32_t position);
    void (*clear_items)(gadget_record* gadget);
    void (*resize)(gadget_record* gadget, int32_t x, int32_t y, int32_t width, int32_t height);
    int32_t (*count_items)(gadget_record* gadget);
    void* reserved_14[2];
    char* (*get_item_text)(gadget_record* gadget, int32_t position, int32_t offset);
    void (*set_item_text)(gadget_record* gadget, int32_t position, const char* text);
    void (*open_list)(gadget_record* gadget);
    int32_t (*get_x)(gadget_record* gadget);
    int32_t (*get_y)(gadget_record* gadget);
    int32_t (*get_width)(gadget_record* gadget);
    int32_t (*get_height)(gadget_record* gadget);
    void (*hide)(gadget_record* gadget, int32_t hide);
    void* reserved_24[2];
    int32_t (*get_attribute)(gadget_record* gadget, int32_t attribute);
    void (*set_attribute)(gadget_record* gadget, int32_t attribute, int32_t value);
    void* reserved_28[2];
    void (*set_color)(gadget_record* gadget, int32_t type, uint32_t colour);
    uint32_t (*get_color)(gadget_record* gadget, int32_t type);
    void* reserved_32[5];
};

constexpr int32_t gadget_kind_size = 148;
static_assert(sizeof(void*) != 4 || sizeof(gadget_kind) == gadget_kind_size,
              "the kind descriptor keeps its 148-byte layout on the target");

enum gadget_kind_id : int32_t {
    kind_button = 1,
    kind_string = 2,
    kind_text = 3,
    kind_frame = 7,
    kind_container = 11,
    kind_scrollbar = 15,
    kind_editor = 22,
};

// A fresh descriptor with its identification filled in.
gadget_kind gadget_kind_base(int32_t kind_id);

struct gadget_place {
    object_number number;
    int32_t x, y, width, height;
};

struct gadget_class {
    const gadget_kind* kind;
    const char* host_class;
    DWORD style;
    DWORD ex_style;
    const char* text;
    void (*defaults)(gadget_record* gadget);  // kind words of a new gadget, optional
};

// The creation path every kind shares: the control, the slot, the subclassing and the
// font. Answers what creation operations return; `created`, when given, gets the record.
object_number gadget_create(const gadget_place& place, const gadget_class& host,
                            gadget_record** created = nullptr);
gadget_record* gadget_get(object_number number);
gadget_record* gadget_of_control(HWND control);
LRESULT CALLBACK gadget_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
// A message about a control, offered to the control's kind; not_handled_result otherwise.
LRESULT gadget_offer(HWND control, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void gadget_redraw(HWND control);
// Reports an action of `control` later: a gadget event of `type` posted to its window.
void gadget_post_event(HWND control, int32_t type);
// Files dropped on a gadget: their names are kept and the drop reported as an event of the
// window that is being polled; `drop` is the host's drop handle, given back here.
void gadget_take_drop(object_number gadget, WPARAM drop);

void gadget_table_init();

// Gadget list: the window new gadgets go into, and the stack that containers push; the
// font new gadgets get.
HWND gadget_parent();
void gadget_parent_push(HWND parent);
HFONT gadget_default_font();
void gadget_set_default_font(HFONT font);

void brush_cache_init();
HBRUSH brush_acquire(uint32_t colour);
void brush_release(HBRUSH brush);

// Colour words and notification shared by string fields and text gadgets.
constexpr int32_t word_back_color = 0;
constexpr int32_t word_front_color = 1;
constexpr int32_t word_back_brush = 2;
void colour_words_reset(gadget_record* gadget);
void colour_words_free(gadget_record* gadget);
void colour_words_set(gadget_record* gadget, int32_t type, uint32_t colour);
uint32_t colour_words_get(gadget_record* gadget, int32_t type);
LRESULT colour_words_paint(gadget_record* gadget, HDC dc, int32_t system_colour);

// The editor's line operations (add, remove, clear, count, read and replace a line).
void editor_line_operations(gadget_kind& kind);

// ---- requesters --------------------------------------------------------------------------

// The foreground window when it belongs to this process: the owner of a requester.
HWND requester_owner();
void requester_disable_others();
void requester_enable_others();

// ---- menus and status bars ---------------------------------------------------------------

// Hooks a window procedure in front of a window's own, keeping the previous one in
// `property`; answers false when the window was already hooked there.
bool subclass_once(HWND window, const char* property, WNDPROC procedure);
// Passes a message on to the procedure kept in `property`; at the final destroy the
// property goes with it.
LRESULT call_previous(const char* property, HWND window, UINT message, WPARAM wparam,
                      LPARAM lparam);

// Gives a status bar's field the text `shown` drawn in `style`; a field that shows it already
// is left alone, and a changed text repaints only where it differs when it can.
void statusbar_replace_text(HWND bar, int32_t field, WPARAM style, const char* shown);
