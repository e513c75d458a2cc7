// A face's texture map is read off any one of its triangles: the box's faces are flat and
// each shows its picture stretched affinely, so three corners give the whole map.
#include "engine3d/shapes/box_faces.h"

#include <algorithm>

namespace engine3d {

bool box_frame_of(const mesh& box, vec3 factor, box_frame& frame) {
    if (box.vertices.empty()) return false;
    vec3 low = box.vertices[0].position, high = low;
    for (const mesh_vertex& vertex : box.vertices)
        for (int k = 0; k < 3; ++k) {
            axis(low, k) = std::min(axis(low, k), axis(vertex.position, k));
            axis(high, k) = std::max(axis(high, k), axis(vertex.position, k));
        }
    frame = {(low + high) * 0.5f, (high - low) * 0.5f, factor};
    for (int k = 0; k < 3; ++k)
        if (!(axis(frame.half, k) > 0) || !(axis(factor, k) > 0) || !std::isfinite(axis(factor, k))) return false;
    return true;
}

bool box_face_map(const mesh& box, const box_frame& frame, int face, face_map& map) {
    const int a = face_axis(face), b = (a + 1) % 3, c = (a + 2) % 3;
    const float level = axis(frame.centre, a) + face_sign(face) * axis(frame.half, a);
    const float tolerance = 1e-4f * axis(frame.half, a);
    for (size_t i = 0; i + 2 < box.triangles.size(); i += 3) {
        const mesh_vertex* p[3];
        bool inside = true;
        for (int k = 0; k < 3; ++k) {
            p[k] = &box.vertices[box.triangles[i + k]];
            inside = inside && std::fabs(axis(p[k]->position, a) - level) <= tolerance;
        }
        if (!inside) continue;
        const float b1 = axis(p[1]->position, b) - axis(p[0]->position, b), c1 = axis(p[1]->position, c) - axis(p[0]->position, c);
        const float b2 = axis(p[2]->position, b) - axis(p[0]->position, b), c2 = axis(p[2]->position, c) - axis(p[0]->position, c);
        const float det = b1 * c2 - b2 * c1;
        if (!(std::fabs(det) > 1e-12f)) continue;
        const float u1 = p[1]->u - p[0]->u, u2 = p[2]->u - p[0]->u, v1 = p[1]->v - p[0]->v, v2 = p[2]->v - p[0]->v;
        map.du_db = (u1 * c2 - u2 * c1) / det, map.du_dc = (b1 * u2 - b2 * u1) / det;
        map.dv_db = (v1 * c2 - v2 * c1) / det, map.dv_dc = (b1 * v2 - b2 * v1) / det;
        map.u0 = p[0]->u - map.du_db * axis(p[0]->position, b) - map.du_dc * axis(p[0]->position, c);
        map.v0 = p[0]->v - map.dv_db * axis(p[0]->position, b) - map.dv_dc * axis(p[0]->position, c);
        return true;
    }
    return false;
}

bool box_face_maps(const mesh& box, const box_frame& frame, face_map (&maps)[box_face_count]) {
    for (int face = 0; face < box_face_count; ++face)
        if (!box_face_map(box, frame, face, maps[face])) return false;
    return true;
}

}  // namespace engine3d
