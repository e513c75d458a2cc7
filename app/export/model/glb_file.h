// glTF 2.0 binary files (.glb) of the box model: one node, one mesh with a primitive per
// face, each face with a material of its own that shows its picture unlit by nothing but the
// viewer's light. Host-neutral; the JSON is written here by hand.
#pragma once

#include <cstdint>
#include <vector>

#include "app/export/model/box_model.h"

struct glb_picture {
    std::vector<uint8_t> bytes;  // a whole JPEG or PNG file
    bool jpeg;
};

// `pictures` in the order of `faces`.
std::vector<uint8_t> glb_file(const std::vector<model_face>& faces, const std::vector<glb_picture>& pictures);
