// Light on lit materials: the material's ambient colour at a fixed share plus diffuse and
// specular light from every light, one colour per triangle.
#pragma once

#include <cstdint>

#include "engine3d/scene.h"

namespace engine3d {

// The tint for a triangle with `normal` around `point`, both relative to the eye at `eye`.
uint32_t light_tint(const context& engine, const material& look, vec3 normal, vec3 point, vec3 eye);

}  // namespace engine3d
