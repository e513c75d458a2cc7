// What the rasterizer's paints share: the sample grid, planes over the screen, texel
// fetches and lighting, and the values at a pixel centre. Included by the rasterizer only.
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <cmath>

#include "engine3d/render/raster.h"

namespace engine3d {

// Rotated grid: no two samples share a row or column, which smooths near-level edges.
constexpr float sample_x[4] = {-0.125f, 0.375f, 0.125f, -0.375f};
constexpr float sample_y[4] = {-0.375f, -0.125f, 0.375f, 0.125f};
constexpr float sample_reach = 0.375f;

// A value that varies linearly over the screen: dx * x + dy * y + c.
struct plane {
    float dx, dy, c;

    float at(float x, float y) const { return dx * x + dy * y + c; }
    __m128 sample_offsets() const {
        return _mm_setr_ps(dx * sample_x[0] + dy * sample_y[0], dx * sample_x[1] + dy * sample_y[1],
                           dx * sample_x[2] + dy * sample_y[2], dx * sample_x[3] + dy * sample_y[3]);
    }
};

// f from 0 to 256 weighs b against a, per channel.
inline uint32_t blend(uint32_t a, uint32_t b, uint32_t f) {
    uint32_t g = 256 - f;
    uint32_t red_blue = (((a & 0xFF00FF) * g + (b & 0xFF00FF) * f) >> 8) & 0xFF00FF;
    uint32_t green = (((a & 0xFF00) * g + (b & 0xFF00) * f) >> 8) & 0xFF00;
    return red_blue | green;
}

inline uint32_t lit(uint32_t colour, uint32_t lighting) {
    if (lighting == unlit) return colour;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t c = (colour >> shift) & 0xFF, l = (lighting >> shift) & 0xFF;
        out |= ((c * (l + 1)) >> 8) << shift;
    }
    return out;
}

// Each weight pair, 256 - f and f, as 16-bit lanes for the first and the second texel.
inline __m128i weight_pair(uint32_t f) {
    return _mm_unpacklo_epi64(_mm_set1_epi16(int16_t(256 - f)), _mm_set1_epi16(int16_t(f)));
}

// Two texels side by side widened to 16-bit channels.
inline __m128i texel_pair(uint32_t left, uint32_t right) {
    return _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(int32_t(left)), _mm_cvtsi32_si128(int32_t(right))),
                             _mm_setzero_si128());
}

// Three blends and the lighting on all channels at once, with the very sums and shifts of
// blend and lit: no product or sum exceeds 255 * 256, so 16-bit lanes hold them exactly.
inline uint32_t fetch_bilinear(const texture_level& level, float u, float v, uint32_t lighting) {
    float x = u - 0.5f, y = v - 0.5f;
    int32_t x0 = int32_t(x), y0 = int32_t(y);
    // Signed conversions, which SSE2 has: the bounds keep both fractions from 0 to 255.
    uint32_t fx = uint32_t(int32_t((x - float(x0)) * 256)), fy = uint32_t(int32_t((y - float(y0)) * 256));
    int32_t x1 = std::min(x0 + 1, level.width - 1), y1 = std::min(y0 + 1, level.height - 1);
    const uint32_t* row0 = &level.texels[size_t(y0) * level.width];
    const uint32_t* row1 = &level.texels[size_t(y1) * level.width];
    const __m128i across = weight_pair(fx);
    const __m128i top = _mm_mullo_epi16(texel_pair(row0[x0], row0[x1]), across);
    const __m128i bottom = _mm_mullo_epi16(texel_pair(row1[x0], row1[x1]), across);
    __m128i rows = _mm_srli_epi16(_mm_add_epi16(_mm_unpacklo_epi64(top, bottom), _mm_unpackhi_epi64(top, bottom)), 8);
    rows = _mm_mullo_epi16(rows, weight_pair(fy));
    __m128i colour = _mm_srli_epi16(_mm_add_epi16(rows, _mm_srli_si128(rows, 8)), 8);
    // Unlit is 255 on every channel, which keeps each one as it is.
    const __m128i light = _mm_add_epi16(texel_pair(lighting, 0), _mm_set1_epi16(1));
    colour = _mm_srli_epi16(_mm_mullo_epi16(colour, light), 8);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(colour, colour))) & 0xFFFFFF;
}

inline uint32_t fetch_nearest(const texture_level& level, float u, float v) {
    return level.texels[size_t(int32_t(v)) * level.width + int32_t(u)];
}

struct triangle_setup {
    plane edges[3];
    plane z, u, v;  // 1 / distance, and texel coordinates divided by distance
    plane a, b;     // the studio look's values divided by distance, for its paints only
    float z_low, z_high;
};

// The distance at a pixel centre given as 1 / distance, kept within the triangle's own.
inline float distance_at(const triangle_setup& t, float z) {
    return 1 / std::min(std::max(z, t.z_low), t.z_high);
}

// The bound comes first so that a NaN (from overflowing texture coordinates) takes it.
inline float bounded(float value, float low, float high) {
    return std::min(high, std::max(low, value));
}

// The texture's lit colour at the pixel centre given as 1 / distance and texel coordinates
// divided by distance; clamped so that neither a slightly outside centre nor the filter
// reaches past the face's picture.
inline uint32_t lit_texel(const triangle_setup& t, const raster_style& style, float z,
                          float u_over_distance, float v_over_distance) {
    float distance = distance_at(t, z);
    float u = bounded(u_over_distance * distance, style.u_min, style.u_max);
    float v = bounded(v_over_distance * distance, style.v_min, style.v_max);
    return style.bilinear ? fetch_bilinear(*style.level, u, v, style.lighting)
                          : lit(fetch_nearest(*style.level, u, v), style.lighting);
}

// The values at one pixel centre: 1 / distance, the rest divided by distance.
struct pixel_at {
    float z, u, v, a, b;
};

// The colour of a triangle's own surface at a pixel.
struct surface_paint {
    const triangle_setup& t;
    const raster_style& style;
    // A one-colour picture, such as the floor's, looks the same from every texel.
    const bool flat = style.level->one_colour;
    const uint32_t flat_paint = flat ? lit(style.level->texels[0], style.lighting) : 0;

    uint32_t at(const pixel_at& p) const {
        return flat ? flat_paint : lit_texel(t, style, p.z, p.u, p.v);
    }
};

inline void store_where(uint32_t* colour, uint32_t value, __m128 where) {
    __m128i keep = _mm_castps_si128(where);
    __m128i paint = _mm_set1_epi32(int32_t(value));
    __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colour));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(colour),
                     _mm_or_si128(_mm_and_si128(keep, paint), _mm_andnot_si128(keep, old)));
}

}  // namespace engine3d
