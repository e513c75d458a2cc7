// Drawing the scene: every camera's view of every entity into the frame, then the frame
// into the back buffer.
#pragma once

#include "engine3d/scene.h"

namespace engine3d {

constexpr float field_of_view_degrees = 30;

// False without an open screen. Draws anew only when the scene's version moved on since
// the kept frame; otherwise the kept frame is copied into the back buffer.
bool render_world(context& engine);

// Copies the locked back buffer as the frame of `version`; on failure keeps nothing.
void frame_keep(kept_frame& kept, const locked_surface& surface, uint32_t version);
// Puts the kept frame into the locked back buffer when it shows `version` in the buffer's
// own layout; false (nothing written) otherwise.
bool frame_reuse(const kept_frame& kept, const locked_surface& surface, uint32_t version);

}  // namespace engine3d
