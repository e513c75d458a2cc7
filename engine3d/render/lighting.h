// Lighting of lit materials: the material's ambient colour at a fixed share plus diffuse
// and specular light from every light, one factor per triangle; and the studio rig, a
// neutral white light fixed in the world that replaces it for the entities it lights.
#pragma once

#include <cstdint>

#include "engine3d/scene.h"

namespace engine3d {

// The lighting factor, 0x00RRGGBB, of a triangle with `normal` around `point`, seen from
// `eye`; all in world space.
uint32_t lighting_factor(const context& engine, const material& look, vec3 normal, vec3 point,
                         vec3 eye);

// The studio rig's grey factor for a triangle with `normal` in world space: never above 1,
// so a face never shows brighter than its picture.
uint32_t studio_light_factor(vec3 normal);

}  // namespace engine3d
