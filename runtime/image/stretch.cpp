// Smooth scaling of one DIB section into a rectangle of another, done on the pixels
// themselves: the platform's halftone stretch is several times slower on large photos,
// and a face picture is typically a photo of a few million pixels.
#include <algorithm>
#include <cmath>
#include <vector>

#include "runtime/image/image_internal.h"

namespace {

constexpr int32_t weight_bits = 14;
constexpr int32_t weight_one = 1 << weight_bits;  // fixed-point 1.0 of the filter weights
constexpr int32_t kept_fraction_bits = 8;          // of a row sum after the vertical pass

// For each target position, the run of source positions that feed it and their weights
// (summing to weight_one): the area each target pixel covers when shrinking, a linear
// blend of the two nearest source pixels when enlarging.
struct filter {
    std::vector<int32_t> first;   // first source position, per target position
    std::vector<int32_t> offset;  // where its weights start in `weights`, per target position
    std::vector<int32_t> count;   // how many, per target position
    std::vector<int32_t> weights;
};

void add_weights(filter& taps, int32_t first, std::vector<int32_t>& weights) {
    // rounding may leave the sum a little off: the largest weight takes the difference
    int32_t sum = 0;
    for (int32_t weight : weights) sum += weight;
    *std::max_element(weights.begin(), weights.end()) += weight_one - sum;
    taps.first.push_back(first);
    taps.offset.push_back(int32_t(taps.weights.size()));
    taps.count.push_back(int32_t(weights.size()));
    taps.weights.insert(taps.weights.end(), weights.begin(), weights.end());
}

// A picture drawn a band at a time makes its filters once a band: no allocation per position.
filter make_filter(int32_t source_size, int32_t target_size) {
    filter taps;
    double scale = double(source_size) / target_size;
    for (std::vector<int32_t>* positions : {&taps.first, &taps.offset, &taps.count}) positions->reserve(target_size);
    taps.weights.reserve(size_t(target_size) * size_t(std::max(2.0, std::ceil(scale) + 1)));
    std::vector<int32_t> weights;
    for (int32_t t = 0; t < target_size; ++t) {
        weights.clear();
        if (scale >= 1.0) {
            double from = t * scale, to = from + scale;
            for (int32_t s = int32_t(from); s < source_size && s < to; ++s) {
                double cover = std::min(to, s + 1.0) - std::max(from, double(s));
                weights.push_back(int32_t(cover / scale * weight_one + 0.5));
            }
            add_weights(taps, int32_t(from), weights);
        } else {
            double centre = std::clamp((t + 0.5) * scale - 0.5, 0.0, source_size - 1.0);
            int32_t s = int32_t(centre);
            int32_t next = int32_t((centre - s) * weight_one + 0.5);
            weights.push_back(weight_one - next);
            if (s + 1 < source_size) weights.push_back(next);
            add_weights(taps, s, weights);
        }
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

// Two source rows' weighted bytes into the sum (or, for the first two, as the sum): a product
// of a byte and a weight fits 16 bits each, and the pair's sum is the widening multiply-add
// SSE2 does on 8 bytes of both rows at once.
void add_row_pair(int32_t* out, const uint8_t* a, int16_t weight_a, const uint8_t* b, int16_t weight_b, size_t bytes,
                  bool first) {
    if (first)
        for (size_t i = 0; i < bytes; ++i) out[i] = int32_t(int16_t(a[i]) * weight_a) + int32_t(int16_t(b[i]) * weight_b);
    else
        for (size_t i = 0; i < bytes; ++i) out[i] += int32_t(int16_t(a[i]) * weight_a) + int32_t(int16_t(b[i]) * weight_b);
}

// Vertical pass for one target row: the weighted sum of its source rows, every byte of
// the row alike (plain loops over bytes that the compiler can vectorise). An odd row out is
// paired with the first row at weight 0.
void blend_rows(const dib_view& source, const filter& lines, int32_t line, std::vector<int32_t>& sum) {
    size_t bytes = size_t(source.width) * source.bytes_per_pixel;
    const int32_t* weights = &lines.weights[lines.offset[line]];
    const int32_t first = lines.first[line], count = lines.count[line];
    for (int32_t k = 0; k < count; k += 2) {
        const bool paired = k + 1 < count;
        // 16 bits hold a weight (at most weight_one)
        add_row_pair(sum.data(), source.row(first + k), int16_t(weights[k]), source.row(first + (paired ? k + 1 : 0)),
                     int16_t(paired ? weights[k + 1] : 0), bytes, k == 0);
    }
    for (size_t i = 0; i < bytes; ++i) sum[i] >>= weight_bits - kept_fraction_bits;
}

uint8_t to_byte(int32_t value) {
    constexpr int32_t shift = weight_bits + kept_fraction_bits;
    return uint8_t(std::clamp((value + (1 << (shift - 1))) >> shift, 0, 255));
}

// Horizontal pass: one blended row into the visible columns of a target row.
void blend_columns(const std::vector<int32_t>& sum, int32_t bytes_per_pixel, const filter& columns,
                   int32_t first_column, int32_t end_column, uint8_t* out, int32_t out_step) {
    for (int32_t x = first_column; x < end_column; ++x, out += out_step) {
        const int32_t* in = &sum[size_t(columns.first[x]) * bytes_per_pixel];
        const int32_t* weights = &columns.weights[columns.offset[x]];
        int32_t b = 0, g = 0, r = 0;
        for (int32_t k = 0; k < columns.count[x]; ++k, in += bytes_per_pixel) {
            b += in[0] * weights[k];
            g += in[1] * weights[k];
            r += in[2] * weights[k];
        }
        out[0] = to_byte(b), out[1] = to_byte(g), out[2] = to_byte(r);
    }
}

void stretch_views(const dib_view& source, const dib_view& target, int32_t x, int32_t y, int32_t width,
                   int32_t height) {
    filter lines = make_filter(source.height, height), columns = make_filter(source.width, width);
    std::vector<int32_t> sum(size_t(source.width) * source.bytes_per_pixel);
    int32_t first_column = std::max(0, -x), end_column = std::min(width, target.width - x);
    for (int32_t line = std::max(0, -y); line < std::min(height, target.height - y); ++line) {
        blend_rows(source, lines, line, sum);
        uint8_t* out = target.row(y + line) + size_t(x + first_column) * target.bytes_per_pixel;
        blend_columns(sum, source.bytes_per_pixel, columns, first_column, end_column, out,
                      target.bytes_per_pixel);
    }
}

// The view narrowed to the part's pixels, its edges rounded to whole pixels; false when
// nothing of the picture is left.
bool narrow_to_part(dib_view& view, const picture_part& part) {
    const auto column = [&](double fraction) { return std::clamp(int32_t(fraction * view.width + 0.5), 0, view.width); };
    const auto line = [&](double fraction) { return std::clamp(int32_t(fraction * view.height + 0.5), 0, view.height); };
    const int32_t left = column(part.left), right = column(part.right);
    const int32_t top = line(part.top), bottom = line(part.bottom);
    if (right <= left || bottom <= top) return false;
    // rows run from the lowest address either way: the part's first row in memory leads
    const int32_t first_in_memory = view.top_down ? top : bottom - 1;
    view.bits = view.row(first_in_memory) + size_t(left) * view.bytes_per_pixel;
    view.width = right - left;
    view.height = bottom - top;
    return true;
}

}  // namespace

bool stretch_between_dibs(HDC target_dc, HBITMAP source_bitmap, int32_t x, int32_t y, int32_t width,
                          int32_t height) {
    if (width <= 0 || height <= 0) return false;
    owned_dc source_dc(CreateCompatibleDC(target_dc));
    if (!source_dc.get()) return false;
    HGDIOBJ previous = SelectObject(source_dc.get(), source_bitmap);
    if (!previous) return false;  // selected elsewhere, say drawn into itself
    dib_view source, target;
    auto target_bitmap = static_cast<HBITMAP>(GetCurrentObject(target_dc, OBJ_BITMAP));
    bool viewable = view_of(source_dc.get(), source_bitmap, source) && view_of(target_dc, target_bitmap, target);
    SelectObject(source_dc.get(), previous);
    if (!viewable) return false;
    stretch_views(source, target, x, y, width, height);
    return true;
}

bool is_whole_picture(const picture_part& part) {
    return part.left == 0 && part.top == 0 && part.right == 1 && part.bottom == 1;
}

// No device context is involved: the rows' direction is known from how they were made.
bool image_stretch_decoded(platform_handle picture, const pixel_target& target, int32_t x, int32_t y,
                           int32_t width, int32_t height, const picture_part& part) {
    DIBSECTION section = {};
    if (width <= 0 || height <= 0 || !picture ||
        GetObjectA(picture, sizeof section, &section) != int(sizeof section) || !section.dsBm.bmBits)
        return false;
    const BITMAP& bits = section.dsBm;
    const bool whole = is_whole_picture(part);
    // draw_image copies a picture of the rectangle's own size instead of stretching it
    if ((bits.bmBitsPixel != 24 && bits.bmBitsPixel != 32) || (whole && bits.bmWidth == width && bits.bmHeight == height))
        return false;
    dib_view source{static_cast<uint8_t*>(bits.bmBits), bits.bmWidth, bits.bmHeight, bits.bmWidthBytes,
                    bits.bmBitsPixel / 8, true};
    if (!whole && !narrow_to_part(source, part)) return false;
    const bool top_down = target.pitch > 0;
    uint8_t* first_in_memory = top_down ? target.top_row : target.top_row + ptrdiff_t(target.height - 1) * target.pitch;
    const dib_view into{first_in_memory, target.width, target.height, top_down ? target.pitch : -target.pitch,
                        pixel_target::bytes_per_pixel, top_down};
    stretch_views(source, into, x, y, width, height);
    return true;
}
