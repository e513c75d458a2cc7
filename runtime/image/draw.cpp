// 2D drawing onto a drawing output (in this program always an image): filled boxes and
// whole images copied or stretched into a rectangle, on one current device context.
#include <algorithm>
#include <cstring>

#include "runtime/image/image_internal.h"

namespace {

constexpr COLORREF white = 0x00FFFFFF;
constexpr DWORD invert_copy = 0x001100A6;  // NOTSRCERASE

struct drawing_state {
    HDC dc;
    COLORREF front_colour;
    int32_t mode;
    COLORREF back_colour;
    HBRUSH mode_brush;
    HGDIOBJ saved_brush;
    HGDIOBJ saved_pen;
    int32_t kind;
    HWND window;
    void (*release)();
    uint32_t extra[8];
    HBRUSH default_brush;
    HPEN default_pen;
};

drawing_state state;

bool releases_through_output(int32_t kind) {
    return kind == draw_kind_image || kind == draw_kind_dib_target || kind == draw_kind_surface;
}

// Kind 5 targets take pictures as DIB transfers rather than from a memory device context.
void stretch_as_dib(HBITMAP bitmap, const BITMAP& source, int32_t x, int32_t y, int32_t width,
                    int32_t height, DWORD operation) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = source.bmWidth;
    info.bmiHeader.biHeight = source.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    auto stride = SIZE_T(bmp_row_stride(source.bmWidth, 24));
    HGLOBAL pixels = GlobalAlloc(GPTR, stride * source.bmHeight);
    if (!pixels) return;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, source.bmHeight, pixels, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    SetStretchBltMode(state.dc, COLORONCOLOR);
    StretchDIBits(state.dc, x, y, width, height, 0, 0, source.bmWidth, source.bmHeight, pixels, &info,
                  DIB_RGB_COLORS, operation);
    GlobalFree(pixels);
}

}  // namespace

void draw_library_init() {
    state = {};
    state.default_brush = CreateSolidBrush(0);
    state.default_pen = CreatePen(PS_SOLID, 0, 0);
}

platform_handle draw_begin(const draw_output* output) {
    draw_end();
    if (!output) return nullptr;
    state.kind = output->kind;
    state.window = static_cast<HWND>(output->window);
    state.release = output->release;
    state.mode = 0;
    HDC dc = output->kind == draw_kind_window ? GetDC(state.window) : static_cast<HDC>(output->dc);
    if (output->kind == draw_kind_surface) std::copy(output->extra, output->extra + 8, state.extra);
    if (!dc) return nullptr;

    state.dc = dc;
    SetTextAlign(dc, TA_UPDATECP);
    state.saved_brush = SelectObject(dc, state.default_brush);
    state.saved_pen = SelectObject(dc, state.default_pen);
    state.front_colour = 0;
    state.back_colour = white;
    state.mode_brush = CreateSolidBrush(0);
    SetTextColor(dc, 0);
    return dc;
}

void draw_end() {
    if (!state.dc) return;
    SelectObject(state.dc, state.saved_brush);
    SelectObject(state.dc, state.saved_pen);
    if (state.mode_brush) DeleteObject(state.mode_brush);
    state.mode_brush = nullptr;
    if (state.kind == draw_kind_window)
        ReleaseDC(state.window, state.dc);
    else if (releases_through_output(state.kind))
        state.release();
    else
        DeleteDC(state.dc);
    state.dc = nullptr;
}

void draw_box(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour) {
    if (!state.dc) return;
    if (width == 1 && height == 1) {
        SetPixelV(state.dc, x, y, colour);
        return;
    }
    // A box in the front colour uses the pen and brush already selected.
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HGDIOBJ previous_pen = nullptr, previous_brush = nullptr;
    if (colour != state.front_colour) {
        pen = CreatePen(PS_SOLID, 0, colour);
        previous_pen = SelectObject(state.dc, pen);
        if (!(state.mode & draw_mode_outline)) {
            brush = CreateSolidBrush(colour);
            previous_brush = SelectObject(state.dc, brush);
        }
    }
    Rectangle(state.dc, x, y, x + width, y + height);
    if (brush) {
        SelectObject(state.dc, previous_brush);
        DeleteObject(brush);
    }
    if (pen) {
        SelectObject(state.dc, previous_pen);
        DeleteObject(pen);
    }
}

void draw_image(platform_handle handle, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!state.dc) return;
    if (GetObjectType(handle) != OBJ_BITMAP) {
        DrawIconEx(state.dc, x, y, static_cast<HICON>(handle), width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    BITMAP source = {};
    GetObjectA(handle, sizeof source, &source);
    DWORD operation = (state.mode & draw_mode_invert) ? invert_copy : SRCCOPY;
    // A zero in either direction means the image's own size in both.
    if (width == 0 || height == 0) {
        width = source.bmWidth;
        height = source.bmHeight;
    }
    auto bitmap = static_cast<HBITMAP>(handle);
    if (state.kind == draw_kind_dib_target) {
        stretch_as_dib(bitmap, source, x, y, width, height, operation);
        return;
    }
    bool stretched = width != source.bmWidth || height != source.bmHeight;
    if (stretched && operation == SRCCOPY && stretch_between_dibs(state.dc, bitmap, x, y, width, height))
        return;

    owned_dc source_dc(CreateCompatibleDC(state.dc));
    if (!source_dc.get()) return;
    HGDIOBJ previous = SelectObject(source_dc.get(), bitmap);
    if (!stretched) {
        BitBlt(state.dc, x, y, width, height, source_dc.get(), 0, 0, operation);
    } else {
        SetStretchBltMode(state.dc, HALFTONE);
        StretchBlt(state.dc, x, y, width, height, source_dc.get(), 0, 0, source.bmWidth, source.bmHeight,
                   operation);
    }
    SelectObject(source_dc.get(), previous);
}

void draw_mode(int32_t mode) {
    if (!state.dc) return;
    state.mode = mode;
    SetROP2(state.dc, (mode & draw_mode_invert) ? R2_NOT : R2_COPYPEN);
    SelectObject(state.dc, (mode & draw_mode_outline) ? GetStockObject(NULL_BRUSH) : state.mode_brush);
    SetBkMode(state.dc, (mode & draw_mode_transparent) ? TRANSPARENT : OPAQUE);
}

void draw_text(int32_t x, int32_t y, int32_t width, int32_t height, const char* text, int32_t text_height,
               uint32_t colour) {
    if (!state.dc || !text) return;
    HFONT font = CreateFontA(-text_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    if (!font) return;
    HGDIOBJ previous = SelectObject(state.dc, font);
    const int previous_mode = SetBkMode(state.dc, TRANSPARENT);
    const COLORREF previous_colour = SetTextColor(state.dc, colour);
    const UINT previous_align = SetTextAlign(state.dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    // Placed from its measured extent: the same wherever the rectangle lies, even mostly
    // outside the image, as it does when a picture is drawn a band at a time.
    const int length = int(std::strlen(text));
    SIZE extent = {};
    GetTextExtentPoint32A(state.dc, text, length, &extent);
    TextOutA(state.dc, x + (width - extent.cx) / 2, y + (height - extent.cy) / 2, text, length);
    SetTextAlign(state.dc, previous_align);
    SetTextColor(state.dc, previous_colour);
    SetBkMode(state.dc, previous_mode);
    SelectObject(state.dc, previous);
    DeleteObject(font);
}
