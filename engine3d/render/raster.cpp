// Triangle rasterizer with SSE2: edge functions and depths of a pixel's four samples are
// tested at once; colour comes from one texture fetch at the pixel centre, and the
// triangle's paint decides what its samples become.
#include "engine3d/render/raster.h"

#include "engine3d/render/raster_pixel.h"
#include "engine3d/studio/studio_paint.h"

namespace engine3d {
namespace {

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

// Every sample the triangle covers nearer than before takes its surface's colour.
struct opaque_paint {
    static constexpr bool studio = false;
    surface_paint surface;

    static __m128 depth_margin(__m128 stored) { return stored; }

    __m128 operator()(const pixel_at& p, __m128 nearer, __m128, uint32_t* colour) const {
        store_where(colour, surface.at(p), nearer);
        return nearer;
    }
};

template <typename Paint>
void raster_row(frame_buffer& frame, const triangle_setup& t, const Paint& paint, int32_t row,
                int32_t first, int32_t last) {
    const __m128 zero = _mm_setzero_ps();
    const __m128 offset0 = t.edges[0].sample_offsets(), offset1 = t.edges[1].sample_offsets();
    const __m128 offset2 = t.edges[2].sample_offsets(), z_offset = t.z.sample_offsets();
    float x = float(first) + 0.5f, y = float(row) + 0.5f;
    float e0 = t.edges[0].at(x, y), e1 = t.edges[1].at(x, y), e2 = t.edges[2].at(x, y);
    pixel_at p{t.z.at(x, y), t.u.at(x, y), t.v.at(x, y), 0, 0};
    if constexpr (Paint::studio) p.a = t.a.at(x, y), p.b = t.b.at(x, y);
    size_t index = (size_t(row) * frame.width + first) * 4;
    uint32_t* colour = &frame.colour[index];
    float* depth = &frame.depth[index];
    for (int32_t column = first; column < last; ++column) {
        __m128 inside = _mm_and_ps(_mm_cmpge_ps(_mm_add_ps(_mm_set1_ps(e0), offset0), zero),
                                   _mm_cmpge_ps(_mm_add_ps(_mm_set1_ps(e1), offset1), zero));
        inside = _mm_and_ps(inside, _mm_cmpge_ps(_mm_add_ps(_mm_set1_ps(e2), offset2), zero));
        if (_mm_movemask_ps(inside)) {
            __m128 sample_z = _mm_add_ps(_mm_set1_ps(p.z), z_offset);
            __m128 stored = _mm_loadu_ps(depth);
            __m128 nearer = _mm_and_ps(inside, _mm_cmpgt_ps(sample_z, Paint::depth_margin(stored)));
            if (_mm_movemask_ps(nearer)) {
                __m128 written = paint(p, nearer, stored, colour);
                _mm_storeu_ps(depth, _mm_or_ps(_mm_and_ps(written, sample_z), _mm_andnot_ps(written, stored)));
            }
        }
        e0 += t.edges[0].dx, e1 += t.edges[1].dx, e2 += t.edges[2].dx;
        p.z += t.z.dx, p.u += t.u.dx, p.v += t.v.dx;
        if constexpr (Paint::studio) p.a += t.a.dx, p.b += t.b.dx;
        colour += 4, depth += 4;
    }
}

template <typename Paint>
void raster_rows(frame_buffer& frame, const pixel_rect& clip, const raster_vertex* p, const triangle_setup& t,
                 const Paint& paint, row_share rows) {
    float top = std::min({p[0].y, p[1].y, p[2].y}), bottom = std::max({p[0].y, p[1].y, p[2].y});
    int32_t first_row = std::max(clip.top, int32_t(std::floor(top - 1)));
    int32_t end_row = std::min(clip.bottom, int32_t(std::ceil(bottom + 1)));
    first_row += ((rows.part - first_row) % rows.parts + rows.parts) % rows.parts;
    for (int32_t row = first_row; row < end_row; row += rows.parts) {
        float left = float(clip.left), right = float(clip.right);
        if (!row_span(t.edges, float(row) + 0.5f, left, right)) continue;
        int32_t first = std::max(clip.left, int32_t(std::floor(left - 0.5f - sample_reach)) - 1);
        int32_t last = std::min(clip.right, int32_t(std::floor(right - 0.5f + sample_reach)) + 2);
        if (first < last) raster_row(frame, t, paint, row, first, last);
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
    const surface_paint surface{t, style};
    if (style.kind == paint_kind::opaque) return raster_rows(frame, clip, p, t, opaque_paint{surface}, rows);
    if (style.kind == paint_kind::sleeve) {
        // The sleeve's a and b are the eye's ray at the pixel, not values divided by distance.
        const sleeve_view& s = style.sleeve;
        t.a = {s.ray_dx, 0, s.ray_x0};
        t.b = {0, s.ray_dy, s.ray_y0};
        return raster_rows(frame, clip, p, t, sleeve_paint{surface}, rows);
    }
    t.a = attribute(t.edges, area, p[0].a, p[1].a, p[2].a);
    t.b = attribute(t.edges, area, p[0].b, p[1].b, p[2].b);
    switch (style.kind) {
        case paint_kind::mirror: return raster_rows(frame, clip, p, t, mirror_paint{surface}, rows);
        case paint_kind::receiver: return raster_rows(frame, clip, p, t, receiver_paint{surface}, rows);
        case paint_kind::catcher: return raster_rows(frame, clip, p, t, catcher_paint{surface}, rows);
        case paint_kind::opaque:
        case paint_kind::sleeve: return;
    }
}

}  // namespace engine3d
