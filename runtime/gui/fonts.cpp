// Numbered fonts made from a face name, a size in points and style flags; the height is
// the character height at the display's vertical resolution.
#include "runtime/gui/gui_internal.h"

namespace {

constexpr int32_t font_table_step = 16;
constexpr int points_per_inch = 72;

struct font_record {
    HFONT handle;
};

object_table* table = nullptr;

HFONT create_font(const char* name, int32_t size, int32_t flags) {
    HDC display = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    if (!display) return nullptr;
    int height = -MulDiv(size, GetDeviceCaps(display, LOGPIXELSY), points_per_inch);
    DeleteDC(display);
    return CreateFontA(height, 0, 0, 0, (flags & font_bold) ? FW_BOLD : FW_NORMAL,
                       (flags & font_italic) != 0, (flags & font_underline) != 0,
                       (flags & font_strike_out) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS,
                       (flags & font_high_quality) ? PROOF_QUALITY : DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, name ? name : "");
}

}  // namespace

void font_library_init() {
    table = object_table_create(sizeof(font_record), font_table_step,
                                [](object_number number) { font_free(number); });
}

object_number font_load(object_number number, const char* name, int32_t size, int32_t flags) {
    auto* record = static_cast<font_record*>(object_new(table, number));
    if (!record) return 0;
    bool dynamic = number == object_any;
    if (dynamic) number = reinterpret_cast<object_number>(record);
    record->handle = create_font(name, size, flags);
    if (!record->handle) {
        object_release(table, number);
        return 0;
    }
    return dynamic ? number : reinterpret_cast<object_number>(record->handle);
}

int32_t font_free(object_number number) {
    auto* record = static_cast<font_record*>(object_get(table, number));
    if (!record) return 0;
    // Gadgets made later must not be handed a deleted font.
    if (gadget_default_font() == record->handle)
        gadget_set_default_font(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    DeleteObject(record->handle);
    object_release(table, number);
    return 1;
}

void font_free_all() {
    object_number number = 0;
    object_enum_reset(table);
    while (object_enum_next(table, &number)) font_free(number);
}
