// Triangle rasterizer with SSE2: edge functions and depths of a pixel's four samples are
// tested at once; colour comes from one texture fetch at the pixel centre.
#include "engine3d/raster.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>

namespace engine3d {
namespace {

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

// Non-negative on the inner side of the edge from a to b.
plane edge(const raster_vertex& a, const raster_vertex& b) {
    float dx = b.y - a.y, dy = a.x - b.x;
    return {dx, dy, -(dx * a.x + dy * a.y)};
}

// Edge i lies opposite corner i, so at corner i it equals the area.
plane attribute(const plane* edges, float area, float a0, float a1, float a2) {
    float scale = 1 / area;
    return {(edges[0].dx * a0 + edges[1].dx * a1 + edges[2].dx * a2) * scale,
            (edges[0].dy * a0 + edges[1].dy * a1 + edges[2].dy * a2) * scale,
            (edges[0].c * a0 + edges[1].c * a1 + edges[2].c * a2) * scale};
}

// Columns [first, last) of a row whose samples may lie inside all three edges.
bool row_span(const plane* edges, float centre_y, float& first, float& last) {
    constexpr float level = 1e-6f;
    for (int i = 0; i < 3; ++i) {
        const plane& e = edges[i];
        float high = -e.c - e.dy * (centre_y - sample_reach);
        float low = -e.c - e.dy * (centre_y + sample_reach);
        if (std::fabs(e.dx) < level) {
            if (high > 0 && low > 0) return false;
            continue;
        }
        float a = high / e.dx, b = low / e.dx;
        if (e.dx > 0) first = std::max(first, std::min(a, b));
        else last = std::min(last, std::max(a, b));
    }
    return first <= last;
}

// f from 0 to 256 weighs b against a, per channel.
inline uint32_t blend(uint32_t a, uint32_t b, uint32_t f) {
    uint32_t g = 256 - f;
    uint32_t red_blue = (((a & 0xFF00FF) * g + (b & 0xFF00FF) * f) >> 8) & 0xFF00FF;
    uint32_t green = (((a & 0xFF00) * g + (b & 0xFF00) * f) >> 8) & 0xFF00;
    return red_blue | green;
}

inline uint32_t fetch_bilinear(const texture_level& level, float u, float v) {
    float x = u - 0.5f, y = v - 0.5f;
    int32_t x0 = int32_t(x), y0 = int32_t(y);
    uint32_t fx = uint32_t((x - float(x0)) * 256), fy = uint32_t((y - float(y0)) * 256);
    int32_t x1 = std::min(x0 + 1, level.width - 1), y1 = std::min(y0 + 1, level.height - 1);
    const uint32_t* row0 = &level.texels[size_t(y0) * level.width];
    const uint32_t* row1 = &level.texels[size_t(y1) * level.width];
    return blend(blend(row0[x0], row0[x1], fx), blend(row1[x0], row1[x1], fx), fy);
}

inline uint32_t fetch_nearest(const texture_level& level, float u, float v) {
    return level.texels[size_t(int32_t(v)) * level.width + int32_t(u)];
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

struct triangle_setup {
    plane edges[3];
    plane z, u, v;  // 1 / distance, and texel coordinates divided by distance
    float z_low, z_high;
};

// The bound comes first so that a NaN (from overflowing texture coordinates) takes it.
inline float bounded(float value, float low, float high) {
    return std::min(high, std::max(low, value));
}

// The texture's colour at the pixel centre given as 1 / distance and texel coordinates
// divided by distance; clamped so that neither a slightly outside centre nor the filter
// reaches past the face's picture.
inline uint32_t sample_texel(const triangle_setup& t, const raster_style& style, float z,
                             float u_over_distance, float v_over_distance) {
    float distance = 1 / std::min(std::max(z, t.z_low), t.z_high);
    float u = bounded(u_over_distance * distance, style.u_min, style.u_max);
    float v = bounded(v_over_distance * distance, style.v_min, style.v_max);
    return style.bilinear ? fetch_bilinear(*style.level, u, v) : fetch_nearest(*style.level, u, v);
}

void raster_row(frame_buffer& frame, const triangle_setup& t, const raster_style& style,
                int32_t row, int32_t first, int32_t last) {
    const __m128 zero = _mm_setzero_ps();
    const __m128 offset0 = t.edges[0].sample_offsets(), offset1 = t.edges[1].sample_offsets();
    const __m128 offset2 = t.edges[2].sample_offsets(), z_offset = t.z.sample_offsets();
    float x = float(first) + 0.5f, y = float(row) + 0.5f;
    float e0 = t.edges[0].at(x, y), e1 = t.edges[1].at(x, y), e2 = t.edges[2].at(x, y);
    float z = t.z.at(x, y), u_over_distance = t.u.at(x, y), v_over_distance = t.v.at(x, y);
    size_t index = (size_t(row) * frame.width + first) * 4;
    // A one-colour picture, such as the floor's, looks the same from every texel.
    const bool flat = style.level->one_colour;
    const uint32_t flat_paint = flat ? lit(style.level->texels[0], style.lighting) : 0;
    uint32_t* colour = &frame.colour[index];
    float* depth = &frame.depth[index];
    for (int32_t column = first; column < last; ++column) {
        __m128 inside = _mm_and_ps(_mm_cmpge_ps(_mm_add_ps(_mm_set1_ps(e0), offset0), zero),
                                   _mm_cmpge_ps(_mm_add_ps(_mm_set1_ps(e1), offset1), zero));
        inside = _mm_and_ps(inside, _mm_cmpge_ps(_mm_add_ps(_mm_set1_ps(e2), offset2), zero));
        if (_mm_movemask_ps(inside)) {
            __m128 sample_z = _mm_add_ps(_mm_set1_ps(z), z_offset);
            __m128 stored = _mm_loadu_ps(depth);
            __m128 nearer = _mm_and_ps(inside, _mm_cmpgt_ps(sample_z, stored));
            if (_mm_movemask_ps(nearer)) {
                __m128i keep = _mm_castps_si128(nearer);
                uint32_t paint_colour = flat ? flat_paint
                                             : lit(sample_texel(t, style, z, u_over_distance, v_over_distance),
                                                   style.lighting);
                __m128i paint = _mm_set1_epi32(int32_t(paint_colour));
                __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colour));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(colour),
                                _mm_or_si128(_mm_and_si128(keep, paint), _mm_andnot_si128(keep, old)));
                _mm_storeu_ps(depth, _mm_or_ps(_mm_and_ps(nearer, sample_z), _mm_andnot_ps(nearer, stored)));
            }
        }
        e0 += t.edges[0].dx, e1 += t.edges[1].dx, e2 += t.edges[2].dx;
        z += t.z.dx, u_over_distance += t.u.dx, v_over_distance += t.v.dx;
        colour += 4, depth += 4;
    }
}

}  // namespace

void frame_resize(frame_buffer& frame, int32_t width, int32_t height) {
    if (frame.width == width && frame.height == height) return;
    // Sizes change only once the memory is there: a failed allocation leaves the old frame.
    frame.colour.assign(size_t(width) * height * 4, 0);
    frame.depth.assign(size_t(width) * height * 4, 0.0f);
    frame.width = width;
    frame.height = height;
}

void frame_clear(frame_buffer& frame, uint32_t colour, row_share rows) {
    size_t row_samples = size_t(frame.width) * 4;
    for (int32_t row = rows.part; row < frame.height; row += rows.parts) {
        std::fill_n(&frame.colour[row * row_samples], row_samples, colour);
        std::fill_n(&frame.depth[row * row_samples], row_samples, 0.0f);
    }
}

void raster_triangle(frame_buffer& frame, const pixel_rect& clip, const raster_vertex* p,
                     const raster_style& style, row_share rows) {
    triangle_setup t;
    t.edges[0] = edge(p[1], p[2]);
    t.edges[1] = edge(p[2], p[0]);
    t.edges[2] = edge(p[0], p[1]);
    float area = t.edges[2].at(p[2].x, p[2].y);
    if (!(area > 0)) return;
    t.z = attribute(t.edges, area, p[0].z, p[1].z, p[2].z);
    t.u = attribute(t.edges, area, p[0].u, p[1].u, p[2].u);
    t.v = attribute(t.edges, area, p[0].v, p[1].v, p[2].v);
    t.z_low = std::min({p[0].z, p[1].z, p[2].z});
    t.z_high = std::max({p[0].z, p[1].z, p[2].z});

    float top = std::min({p[0].y, p[1].y, p[2].y}), bottom = std::max({p[0].y, p[1].y, p[2].y});
    int32_t first_row = std::max(clip.top, int32_t(std::floor(top - 1)));
    int32_t end_row = std::min(clip.bottom, int32_t(std::ceil(bottom + 1)));
    first_row += ((rows.part - first_row) % rows.parts + rows.parts) % rows.parts;
    for (int32_t row = first_row; row < end_row; row += rows.parts) {
        float left = float(clip.left), right = float(clip.right);
        if (!row_span(t.edges, float(row) + 0.5f, left, right)) continue;
        int32_t first = std::max(clip.left, int32_t(std::floor(left - 0.5f - sample_reach)) - 1);
        int32_t last = std::min(clip.right, int32_t(std::floor(right - 0.5f + sample_reach)) + 2);
        if (first < last) raster_row(frame, t, style, row, first, last);
    }
}

}  // namespace engine3d
