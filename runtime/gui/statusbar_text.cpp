// A field's text set anew repaints only the span where it differs from the text shown: the
// host repaints the whole field with its themed background, which a text that changes at
// every move of a scroll bar pays for dearly under Wine.
#include <algorithm>
#include <cstring>
#include <string>

#include "runtime/gui/host_extras.h"

namespace {

constexpr char tab = '\t';

struct field_text {
    std::string text;
    WPARAM style;
};

field_text text_of_field(HWND bar, int32_t field) {
    const LRESULT length_and_style = SendMessageA(bar, SB_GETTEXTLENGTHA, WPARAM(field), 0);
    std::string text(LOWORD(length_and_style) + 1, '\0');
    SendMessageA(bar, SB_GETTEXTA, WPARAM(field), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return {text, WPARAM(HIWORD(length_and_style))};
}

// Pixel offsets from the start of a text in the bar's font.
class text_measure {
  public:
    explicit text_measure(HWND bar) : bar_(bar), dc_(GetDC(bar)) {
        previous_ = SelectObject(dc_, reinterpret_cast<HGDIOBJ>(SendMessageA(bar, WM_GETFONT, 0, 0)));
    }
    ~text_measure() {
        SelectObject(dc_, previous_);
        ReleaseDC(bar_, dc_);
    }
    text_measure(const text_measure&) = delete;
    text_measure& operator=(const text_measure&) = delete;

    LONG width(const std::string& text, size_t length) const {
        SIZE extent = {};
        GetTextExtentPoint32A(dc_, text.data(), int(length), &extent);
        return extent.cx;
    }

  private:
    HWND bar_;
    HDC dc_;
    HGDIOBJ previous_;
};

// Where the two texts differ, in pixels from the text's start: from the first character that
// differs to the last, or to the end of the longer text when what follows moved.
void differing_span(HWND bar, const std::string& before, const std::string& after, LONG& from, LONG& to) {
    const size_t shorter = std::min(before.size(), after.size());
    size_t same_start = 0;
    while (same_start < shorter && before[same_start] == after[same_start]) ++same_start;
    size_t same_end = 0;
    while (same_end < shorter - same_start && before[before.size() - 1 - same_end] == after[after.size() - 1 - same_end])
        ++same_end;
    const text_measure measure(bar);
    from = measure.width(after, same_start);
    const LONG before_end = measure.width(before, before.size() - same_end);
    const LONG after_end = measure.width(after, after.size() - same_end);
    to = before_end == after_end ? after_end
                                 : std::max(measure.width(before, before.size()), measure.width(after, after.size()));
}

// The host insets a field's text by a few pixels; the field's height covers that inset and
// a glyph's overhang beyond its advance.
RECT span_in_field(HWND bar, int32_t field, LONG from, LONG to) {
    RECT area = {};
    SendMessageA(bar, SB_GETRECT, WPARAM(field), reinterpret_cast<LPARAM>(&area));
    const LONG slack = area.bottom - area.top;
    area.right = std::min(area.right, area.left + to + slack);
    area.left = std::min(area.right, area.left + from);
    return area;
}

// The host repaints the whole field; one without borders is also erased first.
void set_whole_text(HWND bar, int32_t field, WPARAM style, const char* shown) {
    SendMessageA(bar, SB_SETTEXTA, WPARAM(field) | style, reinterpret_cast<LPARAM>(shown));
    RECT area;
    if (style == SBT_NOBORDERS && SendMessageA(bar, SB_GETRECT, WPARAM(field), reinterpret_cast<LPARAM>(&area)))
        InvalidateRect(bar, &area, TRUE);
}

}  // namespace

void statusbar_replace_text(HWND bar, int32_t field, WPARAM style, const char* shown) {
    const field_text before = text_of_field(bar, field);
    if (before.style == style && before.text == shown) return;
    const std::string after = shown;
    // Centred or right-aligned text moves as a whole when its width changes.
    const bool in_place = before.style == style && before.text.find(tab) == std::string::npos &&
                          after.find(tab) == std::string::npos;
    if (!in_place) {
        set_whole_text(bar, field, style, shown);
        return;
    }
    LONG from = 0, to = 0;
    differing_span(bar, before.text, after, from, to);
    // Turning the bar's drawing off drops what waits to be painted: that is painted first.
    UpdateWindow(bar);
    SendMessageA(bar, WM_SETREDRAW, FALSE, 0);
    SendMessageA(bar, SB_SETTEXTA, WPARAM(field) | style, reinterpret_cast<LPARAM>(shown));
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    const RECT span = span_in_field(bar, field, from, to);
    InvalidateRect(bar, &span, style == SBT_NOBORDERS);
    UpdateWindow(bar);
}
