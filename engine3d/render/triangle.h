// The triangle path: one triangle of an entity, placed relative to the eye, culled,
// clipped, projected into a camera's viewport and queued for the rasterizer.
#pragma once

#include <vector>

#include "engine3d/scene.h"

namespace engine3d {

// A camera's viewport on the screen and its perspective.
struct view {
    pixel_rect rect;
    float centre_x, centre_y, half_width, half_height, focal_x, focal_y;
    // An export's window off the view's axis: clip x and y gain shift times the distance.
    float shift_x = 0, shift_y = 0;
    vec3 position;
};

// World axes, origin at the eye; the mesh vertices carry the texture coordinates.
struct view_triangle {
    vec3 corner[3];
    const mesh_vertex* vertex[3];
};

// A mirror image's weight at a point of the image: `strength` at the mirror of the entity's
// lowest point, falling linearly to 0 over `length` further down.
struct mirror_fade {
    float plane_y, lowest, length, strength;
};

// How an entity's triangles take part in the studio look; plain by default.
struct surface_role {
    paint_kind kind = paint_kind::opaque;
    bool studio_lit = false;
    const shadow_map* shadow = nullptr;  // receivers and catchers
    mirror_fade fade{};                  // mirror images, whose triangles run mirrored
    // Sleeves: the middle of what the sleeve wraps, relative to the eye, and its reach from
    // there; the studio's lights stand round it at distances in that reach.
    vec3 sleeve_centre{0, 0, 0};
    float sleeve_reach = 0;
};

// Appends the triangle's rasterizer jobs, none when it faces away or lies outside the view.
void triangle_queue(const context& engine, const view& viewer, const material& look,
                    const view_triangle& triangle, const surface_role& role,
                    std::vector<raster_job>& jobs);

}  // namespace engine3d
