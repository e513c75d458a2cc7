// Front and back colours of string fields and text gadgets: the kind words that keep
// them, the cached back brush, and the answer to the host's colour requests.
#include "runtime/gui/gui_internal.h"

namespace {

uint32_t word(const gadget_record* gadget, int32_t index) { return uint32_t(gadget->data[index]); }
HBRUSH back_brush(const gadget_record* gadget) {
    return reinterpret_cast<HBRUSH>(gadget->data[word_back_brush]);
}

}  // namespace

void colour_words_reset(gadget_record* gadget) {
    gadget->data[word_back_color] = color_none;
    gadget->data[word_front_color] = color_none;
    gadget->data[word_back_brush] = 0;
}

void colour_words_free(gadget_record* gadget) {
    if (HBRUSH brush = back_brush(gadget)) brush_release(brush);
    gadget->data[word_back_brush] = 0;
}

void colour_words_set(gadget_record* gadget, int32_t type, uint32_t colour) {
    if (type == color_front) {
        gadget->data[word_front_color] = colour;
    } else if (type == color_back) {
        colour_words_free(gadget);
        gadget->data[word_back_color] = colour;
        if (colour != color_none)
            gadget->data[word_back_brush] = reinterpret_cast<uintptr_t>(brush_acquire(colour));
    } else {
        return;
    }
    gadget_redraw(gadget->handle);
}

uint32_t colour_words_get(gadget_record* gadget, int32_t type) {
    if (type == color_front) return word(gadget, word_front_color);
    if (type == color_back) return word(gadget, word_back_color);
    return color_none;
}

LRESULT colour_words_paint(gadget_record* gadget, HDC dc, int32_t system_colour) {
    uint32_t front = word(gadget, word_front_color);
    uint32_t back = word(gadget, word_back_color);
    if (front != color_none) {
        SetTextColor(dc, front);
        if (back == color_none) {
            SetBkColor(dc, GetSysColor(system_colour));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(system_colour));
        }
    }
    if (back == color_none) return not_handled_result;
    SetBkColor(dc, back);
    return reinterpret_cast<LRESULT>(back_brush(gadget));
}
