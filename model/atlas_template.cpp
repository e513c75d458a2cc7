// Writes the default face atlas: every face's rectangle tinted, outlined and labelled with
// its German name and pixel size, so a user sees at once where each picture will go.
#include "runtime/core/windows_host.h"

#include <cstdio>

#include "app/faces/face_rectangles.h"
#include "runtime/image/image.h"

namespace {

struct face_label {
    const char* name;
    COLORREF tint;
};

constexpr object_number atlas_image = 1;
constexpr int32_t best_quality = 10;
constexpr COLORREF paper = RGB(236, 236, 236);
constexpr COLORREF ink = RGB(60, 60, 70);
constexpr int outline_width = 4;
constexpr int margin = 12;

// Face index order.
constexpr face_label labels[face_count] = {
    {"Oberseite", RGB(200, 222, 245)},
    {"Rechte Seite", RGB(206, 236, 206)},
    {"Vorderseite", RGB(250, 224, 196)},
    {"R\xFC" "ckseite", RGB(226, 210, 240)},
    {"Unterseite", RGB(246, 240, 196)},
    {"Linke Seite", RGB(200, 236, 234)},
};

RECT area_of(const face_rectangle& face) {
    return {face.x, face.y, face.x + face.width, face.y + face.height};
}

void fill(HDC dc, RECT area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// The largest bold font up to `largest` points whose text fits `width` pixels.
HFONT fitting_font(HDC dc, const char* text, int width, int largest) {
    for (int height = largest;; height -= 2) {
        HFONT font = CreateFontA(-height, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0,
                                 ANTIALIASED_QUALITY, 0, "Arial");
        HGDIOBJ previous = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32A(dc, text, int(lstrlenA(text)), &size);
        SelectObject(dc, previous);
        if (size.cx <= width || height <= 10) return font;
        DeleteObject(font);
    }
}

void centred_text(HDC dc, const char* text, RECT area, int largest) {
    HFONT font = fitting_font(dc, text, area.right - area.left - 2 * margin, largest);
    HGDIOBJ previous = SelectObject(dc, font);
    DrawTextA(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);
    DeleteObject(font);
}

void draw_face(HDC dc, const face_rectangle& face, const face_label& label) {
    const RECT area = area_of(face);
    fill(dc, area, ink);
    RECT inner = area;
    InflateRect(&inner, -outline_width, -outline_width);
    fill(dc, inner, label.tint);
    int middle = (inner.top + inner.bottom) / 2;
    centred_text(dc, label.name, {inner.left, middle - 40, inner.right, middle + 10}, 40);
    char size[32];
    std::snprintf(size, sizeof size, "%ld x %ld", long(face.width), long(face.height));
    centred_text(dc, size, {inner.left, middle + 14, inner.right, middle + 44}, 20);
    // An arrow at the picture's top edge shows which way is up.
    POINT arrow[3] = {{(inner.left + inner.right) / 2, inner.top + margin},
                      {(inner.left + inner.right) / 2 - 14, inner.top + margin + 20},
                      {(inner.left + inner.right) / 2 + 14, inner.top + margin + 20}};
    HBRUSH brush = CreateSolidBrush(ink);
    HGDIOBJ previous = SelectObject(dc, brush);
    Polygon(dc, arrow, 3);
    SelectObject(dc, previous);
    DeleteObject(brush);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: atlas_template <cube1.jpg>\n");
        return 2;
    }
    main_heap_create();
    string_library_init();
    object_heap_init();
    codec_registry_reset();
    image_library_init();
    jpeg_encoder_register();
    if (!image_create(atlas_image, atlas_width, atlas_height, 24)) return 1;
    draw_output* output = image_output(atlas_image);
    if (!output) return 1;
    HDC dc = static_cast<HDC>(output->dc);
    fill(dc, {0, 0, atlas_width, atlas_height}, paper);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    SelectObject(dc, GetStockObject(NULL_PEN));
    for (int32_t i = 0; i < face_count; ++i) draw_face(dc, face_rectangles[i], labels[i]);
    GdiFlush();
    image_output_release();
    return image_save(atlas_image, argv[1], plugin_jpeg, best_quality) ? 0 : 1;
}
