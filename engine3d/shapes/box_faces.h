// The six faces of a box mesh (six axis-aligned faces, as box.mesh has them) as the shapes
// made from it need them: where the box stands in its own coordinates, and the texture
// coordinates over each face as an affine function of the face's two in-plane coordinates.
#pragma once

#include "engine3d/scene.h"

namespace engine3d {

inline float& axis(vec3& v, int k) { return k == 0 ? v.x : k == 1 ? v.y : v.z; }
inline float axis(const vec3& v, int k) { return k == 0 ? v.x : k == 1 ? v.y : v.z; }

// Faces in box.mesh's order of axes: +x, -x, +y, -y, +z, -z as 0 .. 5; face f lies across
// axis f / 2, on its positive side when f is even.
constexpr int box_face_count = 6;
inline int face_axis(int face) { return face / 2; }
inline float face_sign(int face) { return face % 2 ? -1.0f : 1.0f; }

struct box_frame {
    vec3 centre, half, factor;  // half extents in the box's own coordinates; drawn = own x factor
};

struct face_map {
    float u0, du_db, du_dc, v0, dv_db, dv_dc;  // b, c: the axes after the face's, in turn
};

// False for a mesh without extent in every axis or a factor that is not positive and finite.
bool box_frame_of(const mesh& box, vec3 factor, box_frame& frame);
// False when no triangle of the box lies in the face.
bool box_face_map(const mesh& box, const box_frame& frame, int face, face_map& map);
// All six, or false.
bool box_face_maps(const mesh& box, const box_frame& frame, face_map (&maps)[box_face_count]);

}  // namespace engine3d
