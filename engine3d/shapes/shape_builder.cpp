// Texture coordinates: a point is projected onto its face's plane, clamped to the picture's
// area there and carried to the face's own extent, where the face map of the box holds.
#include "engine3d/shapes/shape_builder.h"

#include <algorithm>

namespace engine3d {
namespace {

constexpr float edge_inset = 1.0f / 256;

}  // namespace

shape_builder::shape_builder(const box_frame& frame, const face_map (&maps)[box_face_count], int32_t handle)
    : frame_(frame), drawn_half_(scaled(frame.half, frame.factor)), made_{handle, {}, {}} {
    std::copy(maps, maps + box_face_count, maps_);
}

picture_area shape_builder::face_area(int face) const {
    const int a = face_axis(face), b = (a + 1) % 3, c = (a + 2) % 3;
    return {-axis(drawn_half_, b), axis(drawn_half_, b), -axis(drawn_half_, c), axis(drawn_half_, c)};
}

mesh_vertex shape_builder::vertex(vec3 drawn, int face, const picture_area& area, float inset) const {
    const int a = face_axis(face), b = (a + 1) % 3, c = (a + 2) % 3;
    const auto onto_face = [&](float along, float low, float high, int k) {
        const float share = std::clamp(high > low ? (along - low) / (high - low) : 0.5f, inset, 1 - inset);
        const float drawn_along = (2 * share - 1) * axis(drawn_half_, k);
        return drawn_along / axis(frame_.factor, k) + axis(frame_.centre, k);
    };
    const float own_b = onto_face(axis(drawn, b), area.low_b, area.high_b, b);
    const float own_c = onto_face(axis(drawn, c), area.low_c, area.high_c, c);
    const face_map& map = maps_[face];
    vec3 own;
    for (int k = 0; k < 3; ++k) axis(own, k) = axis(drawn, k) / axis(frame_.factor, k) + axis(frame_.centre, k);
    return {own, map.u0 + map.du_db * own_b + map.du_dc * own_c, map.v0 + map.dv_db * own_b + map.dv_dc * own_c};
}

void shape_builder::quad(vec3 p0, vec3 p1, vec3 p2, vec3 p3, vec3 outward, int face) {
    quad(p0, p1, p2, p3, outward, face, face_area(face));
}

void shape_builder::quad(vec3 p0, vec3 p1, vec3 p2, vec3 p3, vec3 outward, int face, const picture_area& area) {
    const vec3 normal = cross(p1 - p0, p2 - p0) + cross(p2 - p0, p3 - p0);
    if (dot(normal, outward) < 0) std::swap(p1, p3);
    // A surface across its face's plane, such as a cover's cut edge, shows the picture's edge,
    // a little inside it so that filtering never reaches the atlas beyond the face.
    vec3 across{0, 0, 0};
    axis(across, face_axis(face)) = 1;
    const bool edge_on = std::fabs(dot(normalized(normal), across)) < 0.5f;
    const uint32_t first = uint32_t(made_.vertices.size());
    for (vec3 corner : {p0, p1, p2, p3}) made_.vertices.push_back(vertex(corner, face, area, edge_on ? edge_inset : 0));
    for (uint32_t index : {0u, 1u, 2u, 0u, 2u, 3u}) made_.triangles.push_back(first + index);
}

void shape_builder::fan(vec3 centre, const std::vector<vec3>& ring, vec3 outward, int face) {
    for (size_t i = 0; i < ring.size(); ++i) quad(centre, ring[i], ring[(i + 1) % ring.size()], centre, outward, face);
}

void shape_builder::block(vec3 low, vec3 high, const int (&faces)[box_face_count]) {
    for (int side = 0; side < box_face_count; ++side) {
        if (faces[side] < 0) continue;
        const int a = face_axis(side), b = (a + 1) % 3, c = (a + 2) % 3;
        vec3 corner[4];
        for (int k = 0; k < 4; ++k) {
            axis(corner[k], a) = face_sign(side) > 0 ? axis(high, a) : axis(low, a);
            axis(corner[k], b) = (k == 1 || k == 2) ? axis(high, b) : axis(low, b);
            axis(corner[k], c) = k >= 2 ? axis(high, c) : axis(low, c);
        }
        vec3 outward{0, 0, 0};
        axis(outward, a) = face_sign(side);
        const int f = faces[side], fb = (face_axis(f) + 1) % 3, fc = (face_axis(f) + 2) % 3;
        const picture_area own_extent{axis(low, fb), axis(high, fb), axis(low, fc), axis(high, fc)};
        quad(corner[0], corner[1], corner[2], corner[3], outward, f, own_extent);
    }
}

}  // namespace engine3d
