// Drawing the scene: every camera's view of every entity into the frame, then the frame
// into the back buffer.
#pragma once

#include "engine3d/scene.h"

namespace engine3d {

constexpr float field_of_view_degrees = 30;

// False without an open screen.
bool render_world(context& engine);

}  // namespace engine3d
