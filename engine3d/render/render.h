// Drawing the scene: every camera's view of every entity into the frame, then the frame
// into the back buffer.
#pragma once

#include <vector>

#include "engine3d/scene.h"
#include "engine3d/render/triangle.h"

namespace engine3d {

constexpr float field_of_view_degrees = 30;

// A camera's viewport on a screen of width x height pixels.
view make_view(const camera& eye, int32_t width, int32_t height);

// An entity as one render shows it: its own material, or another in an export.
struct drawn_entity {
    const entity* body;
    const material* look;
    int32_t number;
    bool catcher_only = false;  // left out of an export, it still catches shadows
};

// Appends the rasterizer jobs of every drawn entity as the viewer sees it, mirror images
// first. The studio's shadow maps must be prepared for the scene's version.
void collect_view(const context& engine, const view& viewer, std::vector<drawn_entity> drawn,
                  std::vector<raster_job>& jobs);

// False without an open screen. Draws anew only when the scene's version moved on since
// the kept frame; otherwise the kept frame is copied into the back buffer. Moves the
// context's picture on when the back buffer shows something else than before.
bool render_world(context& engine);

// Copies the locked back buffer as the frame of `version`; on failure keeps nothing. True
// when the buffer shows another picture than the frame kept before.
bool frame_keep(kept_frame& kept, const locked_surface& surface, uint32_t version);
// Puts the kept frame into the locked back buffer when it shows `version` in the buffer's
// own layout; false (nothing written) otherwise.
bool frame_reuse(const kept_frame& kept, const locked_surface& surface, uint32_t version);

}  // namespace engine3d
