// Lighting of lit materials: the material's ambient colour at a fixed share plus diffuse
// and specular light from every light, one factor per triangle.
#pragma once

#include <cstdint>

#include "engine3d/scene.h"

namespace engine3d {

// The lighting factor, 0x00RRGGBB, of a triangle with `normal` around `point`, seen from
// `eye`; all in world space.
uint32_t lighting_factor(const context& engine, const material& look, vec3 normal, vec3 point,
                         vec3 eye);

}  // namespace engine3d
