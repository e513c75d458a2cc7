// Meshes from Wavefront OBJ text. Host-neutral.
#pragma once

#include <cstdint>
#include <vector>

#include "engine3d/scene.h"

namespace engine3d {

// Fills vertices and triangles; false for a file with a broken face or no face at all.
bool parse_obj(const std::vector<uint8_t>& bytes, mesh& shape);

}  // namespace engine3d
