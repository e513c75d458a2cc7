// The generic gadget operations: each looks the gadget up and dispatches through its
// kind, doing nothing (and answering 0) without a live gadget or without the operation.
#include "runtime/gui/gui_internal.h"

namespace {

// The live gadget of that number whose kind has the operation, or null.
template <typename Operation>
gadget_record* with_operation(object_number number, Operation gadget_kind::*operation) {
    gadget_record* gadget = gadget_get(number);
    return gadget && gadget->kind->*operation ? gadget : nullptr;
}

char* empty_result(int32_t offset) {
    char* text = temp_reserve(0, offset);
    *text = 0;
    return text;
}

HFONT font_or_default(intptr_t font) {
    if (font == default_gui_font) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return reinterpret_cast<HFONT>(font);
}

}  // namespace

int32_t gadget_get_state(object_number number) {
    gadget_record* gadget = with_operation(number, &gadget_kind::get_state);
    return gadget ? gadget->kind->get_state(gadget) : 0;
}

int32_t gadget_set_state(object_number number, int32_t state) {
    gadget_record* gadget = with_operation(number, &gadget_kind::set_state);
    if (!gadget) return 0;
    gadget->kind->set_state(gadget, state);
    return 1;
}

int32_t gadget_set_text(object_number number, const char* text) {
    gadget_record* gadget = gadget_get(number);
    if (!gadget) return 0;
    if (!text) text = "";
    if (gadget->kind->set_text)
        gadget->kind->set_text(gadget, text);
    else
        SetWindowTextA(gadget->handle, text);
    return 1;
}

int32_t gadget_hide(object_number number, int32_t hide) {
    gadget_record* gadget = gadget_get(number);
    if (!gadget) return 0;
    if (gadget->kind->hide)
        gadget->kind->hide(gadget, hide);
    else
        ShowWindow(gadget->handle, hide ? SW_HIDE : SW_SHOW);
    return 1;
}

int32_t gadget_disable(object_number number, int32_t disable) {
    gadget_record* gadget = gadget_get(number);
    if (!gadget) return 0;
    EnableWindow(gadget->handle, !disable);
    return 1;
}

int32_t gadget_set_color(object_number number, int32_t type, uint32_t colour) {
    gadget_record* gadget = with_operation(number, &gadget_kind::set_color);
    if (!gadget) return 0;
    gadget->kind->set_color(gadget, type, colour);
    return 1;
}

uint32_t gadget_get_color(object_number number, int32_t type) {
    gadget_record* gadget = with_operation(number, &gadget_kind::get_color);
    return gadget ? gadget->kind->get_color(gadget, type) : color_none;
}

int32_t gadget_set_attribute(object_number number, int32_t attribute, int32_t value) {
    gadget_record* gadget = with_operation(number, &gadget_kind::set_attribute);
    if (!gadget) return 0;
    gadget->kind->set_attribute(gadget, attribute, value);
    return 1;
}

int32_t gadget_get_attribute(object_number number, int32_t attribute) {
    gadget_record* gadget = with_operation(number, &gadget_kind::get_attribute);
    return gadget ? gadget->kind->get_attribute(gadget, attribute) : 0;
}

int32_t gadget_set_font(object_number number, intptr_t font) {
    HFONT host_font = font_or_default(font);
    if (number == object_any) {
        gadget_set_default_font(host_font);
        return 1;
    }
    gadget_record* gadget = gadget_get(number);
    if (!gadget) return 0;
    SendMessageA(gadget->handle, WM_SETFONT, reinterpret_cast<WPARAM>(host_font), TRUE);
    return 1;
}

char* gadget_get_text(object_number number, int32_t offset) {
    gadget_record* gadget = with_operation(number, &gadget_kind::get_text);
    return gadget ? gadget->kind->get_text(gadget, offset) : empty_result(offset);
}

int32_t gadget_add_item(object_number number, int32_t position, const char* text) {
    gadget_record* gadget = with_operation(number, &gadget_kind::add_item);
    if (!gadget) return 0;
    gadget->kind->add_item(gadget, position, text);
    return 1;
}

int32_t gadget_remove_item(object_number number, int32_t position) {
    gadget_record* gadget = with_operation(number, &gadget_kind::remove_item);
    if (!gadget) return 0;
    gadget->kind->remove_item(gadget, position);
    return 1;
}

int32_t gadget_clear_items(object_number number) {
    gadget_record* gadget = with_operation(number, &gadget_kind::clear_items);
    if (!gadget) return 0;
    gadget->kind->clear_items(gadget);
    return 1;
}

int32_t gadget_count_items(object_number number) {
    gadget_record* gadget = with_operation(number, &gadget_kind::count_items);
    return gadget ? gadget->kind->count_items(gadget) : 0;
}

char* gadget_get_item_text(object_number number, int32_t position, int32_t offset) {
    gadget_record* gadget = with_operation(number, &gadget_kind::get_item_text);
    return gadget ? gadget->kind->get_item_text(gadget, position, offset) : empty_result(offset);
}

int32_t gadget_set_item_text(object_number number, int32_t position, const char* text) {
    gadget_record* gadget = with_operation(number, &gadget_kind::set_item_text);
    if (!gadget) return 0;
    gadget->kind->set_item_text(gadget, position, text);
    return 1;
}

int32_t gadget_resize(object_number number, int32_t x, int32_t y, int32_t width, int32_t height) {
    gadget_record* gadget = with_operation(number, &gadget_kind::resize);
    if (!gadget) return 0;
    gadget->kind->resize(gadget, x, y, width, height);
    return 1;
}
