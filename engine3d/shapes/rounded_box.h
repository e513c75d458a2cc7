// A box mesh with rounded edges: each face's picture keeps its place and wraps over its half
// of the rounding, so an edge shows the colours of the two faces that meet there.
#pragma once

#include "engine3d/scene.h"

namespace engine3d {

// The box `box` (six axis-aligned faces, as box.mesh has them) drawn at `factor` times its
// size, rounded with a radius of `share` times its smallest drawn side; in the box's own
// coordinates, so that it is placed as the box is. False, leaving `out` alone, for any
// other mesh or a share outside (0, 0.5].
bool rounded_box(const mesh& box, vec3 factor, float share, mesh& out);

}  // namespace engine3d
