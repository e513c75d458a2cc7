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
    vec3 position;
};

// World axes, origin at the eye; the mesh vertices carry the texture coordinates.
struct view_triangle {
    vec3 corner[3];
    const mesh_vertex* vertex[3];
};

// Appends the triangle's rasterizer jobs, none when it faces away or lies outside the view.
void triangle_queue(const context& engine, const view& viewer, const material& look,
                    const view_triangle& triangle, std::vector<raster_job>& jobs);

}  // namespace engine3d
