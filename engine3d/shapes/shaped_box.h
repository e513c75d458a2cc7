// Books and media cases made from a box: the box's extent is the shape's, its six face
// pictures land where such an object shows them (front and back cover, the spine on the
// viewer's left, the page edges or the case's open edges on top, right and bottom).
#pragma once

#include "engine3d/scene.h"
#include "engine3d/shapes/shape_form.h"

namespace engine3d {

// `box` drawn at `factor` times its size as `form`; `soft` rounds what the object rounds
// (a paperback's spine, a case's corners). False, leaving `out` alone, for a mesh that is
// no box, the box kind or a unit that is not positive.
bool shaped_box(const mesh& box, vec3 factor, shape_form form, bool soft, mesh& out);

}  // namespace engine3d
