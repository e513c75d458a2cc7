// The editor's text as lines: inserting, removing, reading and replacing one line, and
// counting them. A paragraph mark ends each line but the last.
#include "runtime/gui/gui_internal.h"

namespace {

constexpr const char* line_break = "\r";

int32_t line_start(HWND editor, int32_t line) {
    return line < 0 ? -1 : int32_t(SendMessageA(editor, EM_LINEINDEX, WPARAM(line), 0));
}

int32_t line_length(HWND editor, int32_t start) {
    return int32_t(SendMessageA(editor, EM_LINELENGTH, WPARAM(start), 0));
}

void replace(HWND editor, int32_t from, int32_t to, const char* text) {
    SendMessageA(editor, EM_SETSEL, WPARAM(from), LPARAM(to));
    SendMessageA(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text ? text : ""));
}

int32_t count_items(gadget_record* gadget) {
    if (GetWindowTextLengthA(gadget->handle) == 0) return 0;
    return int32_t(SendMessageA(gadget->handle, EM_GETLINECOUNT, 0, 0));
}

int32_t text_end(HWND editor, int32_t lines) {
    if (lines == 0) return 0;
    int32_t last = line_start(editor, lines - 1);
    return last + line_length(editor, last);
}

void add_item(gadget_record* gadget, int32_t position, const char* text) {
    HWND editor = gadget->handle;
    int32_t lines = count_items(gadget);
    if (position >= 0 && position < lines) {
        int32_t start = line_start(editor, position);
        replace(editor, start, start, line_break);
        replace(editor, start, start, text);
        return;
    }
    int32_t end = text_end(editor, lines);
    if (lines > 0) {
        replace(editor, end, end, line_break);
        ++end;
    }
    replace(editor, end, end, text);
}

void remove_item(gadget_record* gadget, int32_t position) {
    HWND editor = gadget->handle;
    int32_t start = line_start(editor, position);
    if (start < 0 || position >= count_items(gadget)) return;
    int32_t next = line_start(editor, position + 1);
    if (next >= 0) {
        replace(editor, start, next, "");
        return;
    }
    // The last line takes the mark before it along.
    int32_t from = position > 0 ? start - 1 : start;
    replace(editor, from, start + line_length(editor, start), "");
}

char* get_item_text(gadget_record* gadget, int32_t position, int32_t offset) {
    HWND editor = gadget->handle;
    int32_t start = position < count_items(gadget) ? line_start(editor, position) : -1;
    int32_t room = (start < 0 ? 0 : line_length(editor, start)) + 2;
    char* text = temp_reserve(room, offset);
    int32_t copied = 0;
    if (start >= 0) {
        *reinterpret_cast<WORD*>(text) = WORD(room);
        copied = int32_t(
            SendMessageA(editor, EM_GETLINE, WPARAM(position), reinterpret_cast<LPARAM>(text)));
    }
    while (copied > 0 && (text[copied - 1] == '\r' || text[copied - 1] == '\n')) --copied;
    text[copied] = 0;
    temp_drop(room - copied);
    return text;
}

void set_item_text(gadget_record* gadget, int32_t position, const char* text) {
    HWND editor = gadget->handle;
    if (position >= count_items(gadget)) return;
    int32_t start = line_start(editor, position);
    if (start < 0) return;
    replace(editor, start, start + line_length(editor, start), text);
}

}  // namespace

void editor_line_operations(gadget_kind& kind) {
    kind.add_item = add_item;
    kind.remove_item = remove_item;
    kind.clear_items = [](gadget_record* gadget) { SetWindowTextA(gadget->handle, ""); };
    kind.count_items = count_items;
    kind.get_item_text = get_item_text;
    kind.set_item_text = set_item_text;
}
