// Image objects: the image table, creating images on GDI bitmaps, freeing them and
// handing out a drawing output on an image's memory device context.
#include "runtime/image/image_internal.h"

namespace {

constexpr int32_t image_table_step = 16;

struct image_output_state {
    HDC dc;
    draw_output output;
};

object_table* table = nullptr;
image_output_state* output_state = nullptr;

void fill_black(HBITMAP bitmap, int32_t width, int32_t height) {
    owned_dc dc(CreateCompatibleDC(nullptr));
    if (!dc.get()) return;
    HGDIOBJ previous = SelectObject(dc.get(), bitmap);
    RECT whole = {0, 0, width, height};
    FillRect(dc.get(), &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc.get(), previous);
}

}  // namespace

object_table* image_table() { return table; }

void image_library_init() {
    table = object_table_create(sizeof(image_record), image_table_step,
                                [](object_number number) { image_free(number); });
    output_state = static_cast<image_output_state*>(
        state_block_alloc(sizeof(image_output_state), nullptr));
}

platform_handle image_make_bitmap(int32_t width, int32_t height, int32_t flags, int32_t depth) {
    owned_dc display(display_dc());
    if (!display.get()) return nullptr;
    if (flags & image_display_compatible) return CreateCompatibleBitmap(display.get(), width, height);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(depth);
    void* bits = nullptr;
    return CreateDIBSection(display.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

object_number image_create(object_number number, int32_t width, int32_t height, int32_t depth) {
    auto* record = static_cast<image_record*>(object_new(table, number));
    if (!record) return 0;
    int32_t flags = depth == image_display_compatible ? image_display_compatible : 0;
    auto* bitmap = static_cast<HBITMAP>(image_make_bitmap(width, height, flags, depth));
    if (bitmap) fill_black(bitmap, width, height);
    return image_keep_bitmap(number, record, bitmap, flags);
}

namespace {

object_number keep(object_number number, image_record* record, platform_handle handle,
                   const BITMAP& description, int32_t flags) {
    record->handle = handle;
    record->width = static_cast<uint16_t>(description.bmWidth);
    record->height = static_cast<uint16_t>(description.bmHeight);
    record->depth = static_cast<uint8_t>(description.bmBitsPixel);
    record->flags = static_cast<uint8_t>(flags);
    return number == object_any ? object_number(record) : object_number(handle);
}

}  // namespace

object_number image_keep_bitmap(object_number number, image_record* record, HBITMAP bitmap,
                                int32_t flags) {
    if (!bitmap) return image_abandon(number, record);
    BITMAP description = {};
    GetObjectA(bitmap, sizeof description, &description);
    return keep(number, record, bitmap, description, flags);
}

object_number image_keep_icon(object_number number, image_record* record, HICON icon,
                              int32_t flags) {
    ICONINFO parts = {};
    if (!GetIconInfo(icon, &parts)) {
        DestroyIcon(icon);
        return image_abandon(number, record);
    }
    // Monochrome icons have no colour bitmap: their mask holds image and mask stacked.
    BITMAP description = {};
    GetObjectA(parts.hbmColor ? parts.hbmColor : parts.hbmMask, sizeof description, &description);
    if (!parts.hbmColor) description.bmHeight /= 2;
    if (parts.hbmColor) DeleteObject(parts.hbmColor);
    if (parts.hbmMask) DeleteObject(parts.hbmMask);
    return keep(number, record, icon, description, flags);
}

object_number image_abandon(object_number number, image_record* record) {
    object_release(table, number == object_any ? object_number(record) : number);
    return 0;
}

int32_t image_free(object_number number) {
    if (number == object_any) return 0;
    auto* record = static_cast<image_record*>(object_get(table, number));
    if (!record) return 0;
    if (GetObjectType(record->handle) == OBJ_BITMAP)
        DeleteObject(record->handle);
    else
        DestroyIcon(static_cast<HICON>(record->handle));
    object_release(table, number);
    return 1;
}

void image_free_all() {
    object_number number = 0;
    object_enum_reset(table);
    while (object_enum_next(table, &number)) image_free(number);
}

const image_record* image_get(object_number number) {
    return static_cast<const image_record*>(object_get(table, number));
}

platform_handle image_handle(object_number number) {
    const image_record* record = image_get(number);
    return record ? record->handle : nullptr;
}

draw_output* image_output(object_number number) {
    image_output_release();
    const image_record* record = image_get(number);
    if (!record) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return nullptr;
    if (!SelectObject(dc, record->handle)) {
        DeleteDC(dc);
        return nullptr;
    }
    output_state->dc = dc;
    output_state->output = {};
    output_state->output.kind = draw_kind_image;
    output_state->output.dc = dc;
    output_state->output.release = image_output_release;
    return &output_state->output;
}

void image_output_release() {
    if (!output_state || !output_state->dc) return;
    DeleteDC(output_state->dc);
    output_state->dc = nullptr;
}

uint8_t* image_top_row(object_number number, int32_t* pitch) {
    platform_handle handle = image_handle(number);
    DIBSECTION section = {};
    if (!handle || GetObjectType(handle) != OBJ_BITMAP ||
        GetObjectA(handle, sizeof section, &section) != int(sizeof section) || !section.dsBm.bmBits)
        return nullptr;
    auto* bits = static_cast<uint8_t*>(section.dsBm.bmBits);
    const int32_t stride = section.dsBm.bmWidthBytes;
    if (section.dsBmih.biHeight < 0) {
        *pitch = stride;
        return bits;
    }
    *pitch = -stride;
    return bits + ptrdiff_t(section.dsBm.bmHeight - 1) * stride;
}
