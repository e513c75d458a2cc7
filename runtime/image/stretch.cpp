// Smooth scaling of one DIB section into a rectangle of another, done on the pixels
// themselves: the platform's halftone stretch is several times slower on large photos,
// and a face picture is typically a photo of a few million pixels.
#include <algorithm>
#include <vector>

#include "runtime/image/image_internal.h"

namespace {

constexpr int32_t weight_one = 1 << 14;  // fixed-point 1.0 of the filter weights
constexpr size_t largest_work_area = size_t(64) << 20;  // bytes; larger jobs go to the platform

struct tap {
    int32_t source;
    int32_t weight;
};

// For each target position, the source positions that feed it and their weights (summing
// to weight_one): the area each target pixel covers when shrinking, a linear blend of the
// two nearest source pixels when enlarging.
std::vector<std::vector<tap>> filter_taps(int32_t source_size, int32_t target_size) {
    std::vector<std::vector<tap>> taps(target_size);
    double scale = double(source_size) / target_size;
    for (int32_t t = 0; t < target_size; ++t) {
        std::vector<tap>& list = taps[t];
        if (scale >= 1.0) {
            double from = t * scale, to = from + scale;
            for (int32_t s = int32_t(from); s < source_size && s < to; ++s) {
                double cover = std::min(to, s + 1.0) - std::max(from, double(s));
                list.push_back({s, int32_t(cover / scale * weight_one + 0.5)});
            }
        } else {
            double centre = std::clamp((t + 0.5) * scale - 0.5, 0.0, source_size - 1.0);
            int32_t s = int32_t(centre);
            int32_t next_weight = int32_t((centre - s) * weight_one + 0.5);
            list.push_back({s, weight_one - next_weight});
            if (s + 1 < source_size) list.push_back({s + 1, next_weight});
        }
        // rounding may leave the sum a little off: the largest tap takes the difference
        int32_t sum = 0;
        for (const tap& each : list) sum += each.weight;
        std::max_element(list.begin(), list.end(), [](const tap& a, const tap& b) {
            return a.weight < b.weight;
        })->weight += weight_one - sum;
    }
    return taps;
}

struct dib_view {
    uint8_t* bits;
    int32_t width, height, stride, bytes_per_pixel;
    bool top_down;

    uint8_t* row(int32_t y) const { return bits + size_t(top_down ? y : height - 1 - y) * stride; }
};

// The platform does not say reliably whether a DIB section's rows run top-down, so one
// pixel is set through GDI to see which end of the bits it lands in, then put back.
bool rows_run_top_down(HDC dc, const dib_view& view) {
    if (view.height < 2) return true;
    uint8_t* first = view.bits;
    uint8_t* last = view.bits + size_t(view.height - 1) * view.stride;
    uint8_t saved_first[4], saved_last[4];
    std::copy(first, first + view.bytes_per_pixel, saved_first);
    std::copy(last, last + view.bytes_per_pixel, saved_last);
    COLORREF marker = RGB(first[2] ^ 0x80, first[1] ^ 0x80, first[0] ^ 0x80);
    SetPixelV(dc, 0, 0, marker);
    GdiFlush();
    bool top_down = !std::equal(first, first + 3, saved_first);
    std::copy(saved_first, saved_first + view.bytes_per_pixel, first);
    std::copy(saved_last, saved_last + view.bytes_per_pixel, last);
    return top_down;
}

// A view on the bits of a 24- or 32-bit DIB section selected into dc.
bool view_of(HDC dc, HBITMAP bitmap, dib_view& view) {
    DIBSECTION section = {};
    if (GetObjectA(bitmap, sizeof section, &section) != int(sizeof section) || !section.dsBm.bmBits) return false;
    int32_t bits_per_pixel = section.dsBm.bmBitsPixel;
    if (bits_per_pixel != 24 && bits_per_pixel != 32) return false;
    view = {static_cast<uint8_t*>(section.dsBm.bmBits), section.dsBm.bmWidth, section.dsBm.bmHeight,
            section.dsBm.bmWidthBytes, bits_per_pixel / 8, true};
    GdiFlush();  // GDI may still hold drawing on the bitmap
    view.top_down = rows_run_top_down(dc, view);
    return true;
}

// Horizontal pass: every source row shrunk or stretched to the target width, three
// channels per pixel in fixed point.
std::vector<int32_t> scale_rows(const dib_view& source, const std::vector<std::vector<tap>>& columns) {
    int32_t width = int32_t(columns.size());
    std::vector<int32_t> rows(size_t(source.height) * width * 3);
    for (int32_t y = 0; y < source.height; ++y) {
        const uint8_t* in = source.row(y);
        int32_t* out = &rows[size_t(y) * width * 3];
        for (int32_t x = 0; x < width; ++x, out += 3) {
            int32_t b = 0, g = 0, r = 0;
            for (const tap& each : columns[x]) {
                const uint8_t* pixel = in + size_t(each.source) * source.bytes_per_pixel;
                b += pixel[0] * each.weight;
                g += pixel[1] * each.weight;
                r += pixel[2] * each.weight;
            }
            out[0] = b >> 6, out[1] = g >> 6, out[2] = r >> 6;  // keeps 8 fraction bits
        }
    }
    return rows;
}

uint8_t to_byte(int64_t value) {
    constexpr int shift = 14 + 8;  // vertical weights and the fraction bits of the rows
    return uint8_t(std::clamp<int64_t>((value + (int64_t(1) << (shift - 1))) >> shift, 0, 255));
}

}  // namespace

bool stretch_between_dibs(HDC target_dc, HBITMAP source_bitmap, int32_t x, int32_t y, int32_t width,
                          int32_t height) {
    if (width <= 0 || height <= 0) return false;
    memory_dc source_dc(target_dc);
    if (!source_dc.get()) return false;
    HGDIOBJ previous = SelectObject(source_dc.get(), source_bitmap);
    if (!previous) return false;  // selected elsewhere, say drawn into itself
    dib_view source, target;
    auto target_bitmap = static_cast<HBITMAP>(GetCurrentObject(target_dc, OBJ_BITMAP));
    bool viewable = view_of(source_dc.get(), source_bitmap, source) && view_of(target_dc, target_bitmap, target);
    SelectObject(source_dc.get(), previous);
    if (!viewable || size_t(source.height) * size_t(width) * 3 * sizeof(int32_t) > largest_work_area)
        return false;

    std::vector<int32_t> rows = scale_rows(source, filter_taps(source.width, width));
    std::vector<std::vector<tap>> lines = filter_taps(source.height, height);
    int32_t first_x = std::max(0, -x), last_x = std::min(width, target.width - x);
    for (int32_t ty = std::max(0, -y); ty < std::min(height, target.height - y); ++ty) {
        uint8_t* out = target.row(y + ty) + size_t(x + first_x) * target.bytes_per_pixel;
        for (int32_t tx = first_x; tx < last_x; ++tx, out += target.bytes_per_pixel) {
            int64_t b = 0, g = 0, r = 0;
            for (const tap& each : lines[ty]) {
                const int32_t* in = &rows[(size_t(each.source) * width + tx) * 3];
                b += int64_t(in[0]) * each.weight;
                g += int64_t(in[1]) * each.weight;
                r += int64_t(in[2]) * each.weight;
            }
            out[0] = to_byte(b), out[1] = to_byte(g), out[2] = to_byte(r);
        }
    }
    return true;
}
