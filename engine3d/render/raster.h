// The triangle rasterizer: 4 depth-tested samples per pixel in a rotated grid, one
// perspective-correct texture fetch per pixel and triangle. The display resolves the
// samples to one colour as it writes the rows.
#pragma once

#include <cstdint>
#include <vector>

#include "engine3d/math3d.h"

namespace engine3d {

// Pixels 0x00RRGGBB, top row first.
struct texture_level {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> texels;
    bool one_colour = false;  // every texel alike: drawn without a fetch per pixel
};

// Per pixel four colour samples and four depths (1 / distance, 0 = empty).
struct frame_buffer {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> colour;
    std::vector<float> depth;
};

// The rows one thread owns: those with row % parts == part.
struct row_share {
    int32_t part, parts;
};

void frame_resize(frame_buffer& frame, int32_t width, int32_t height);
void frame_clear(frame_buffer& frame, uint32_t colour, row_share rows);

struct pixel_rect {
    int32_t left, top, right, bottom;  // right and bottom exclusive
};

// Screen position in pixels, z = 1 / distance, and u, v in texels, each divided by distance;
// a and b are the studio look's own values at the corner (see paint_kind), divided too.
struct raster_vertex {
    float x, y, z, u, v;
    float a = 0, b = 0;
};

// The lighting factor that leaves a texture's colours as they are.
constexpr uint32_t unlit = 0xFFFFFF;

// How a triangle's paint meets the samples already drawn. A sample's top byte is its
// transparency t = 255 - alpha: 0 for every opaque paint, more for a mirror image waiting
// for the floor that it lies under.
enum class paint_kind : uint8_t {
    opaque,
    // a mirror image: `a` is its weight, clamped to [0, weight_limit], stored as alpha
    mirror,
    // the floor a mirror image lies under: the image's samples shine through by their
    // alpha; with a shadow map, (a, b) are map texels and darken the floor
    receiver,
    // a receiver left out of an export: only the shadow (black, alpha s) and the mirror
    // image over it, with straight colours; nothing where there is neither
    catcher,
    // a clear glossy sleeve over the picture: drawn as opaque, and brighter where it mirrors
    // the studio's lights towards the eye (see sleeve_view)
    sleeve,
};

// What a sleeve needs to mirror the lights: the eye's ray through the pixel centre (x, y)
// runs along (x * ray_dx + ray_x0, y * ray_dy + ray_y0, -1) in world axes, origin at the eye.
struct sleeve_view {
    float ray_dx, ray_x0, ray_dy, ray_y0;
    vec3 normal;  // the triangle's, of unit length
    vec3 centre;        // of what the sleeve wraps
    float reach_scale;  // 1 / its reach from the centre to its farthest corner, or 0
};

struct shadow_map;

struct raster_style {
    const texture_level* level;
    bool bilinear;
    float u_min, u_max, v_min, v_max;  // texel-space bounds that keep a face to its picture
    uint32_t lighting;                 // 0x00RRGGBB factor per channel
    paint_kind kind = paint_kind::opaque;
    float weight_limit = 0;            // mirror images
    const shadow_map* shadow = nullptr;  // receivers and catchers inside the map
    sleeve_view sleeve{};                // sleeves
};

// A triangle ready to draw, kept until every thread has drawn its rows of it.
struct raster_job {
    raster_vertex corner[3];
    raster_style style;
    pixel_rect clip;
};

// Draws a triangle whose corners run counter-clockwise as the viewer sees them; a triangle
// turned away is dropped.
void raster_triangle(frame_buffer& frame, const pixel_rect& clip, const raster_vertex* corner,
                     const raster_style& style, row_share rows);

}  // namespace engine3d
