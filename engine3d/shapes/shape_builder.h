// Builds a shape's mesh over a box's frame: surfaces are given in drawn units from the box's
// centre and come out in the box's own coordinates, so the shape is placed as the box is.
// Every surface shows one of the box's face pictures, projected onto that face's plane.
#pragma once

#include <vector>

#include "engine3d/shapes/box_faces.h"

namespace engine3d {

// Box faces by what they are on a box (box.mesh: x the depth with the front at -x, y the
// height, z the width with the viewer's left at -z).
constexpr int back_face = 0, front_face = 1, top_face = 2, bottom_face = 3, right_face = 4, left_face = 5;

// The part of a face's plane, in drawn units, that shows the whole picture; a point beyond
// it takes the picture's edge. By default the face itself.
struct picture_area {
    float low_b, high_b, low_c, high_c;
};

class shape_builder {
public:
    shape_builder(const box_frame& frame, const face_map (&maps)[box_face_count], int32_t handle);

    vec3 half() const { return drawn_half_; }
    picture_area face_area(int face) const;
    // A flat quad or triangle (p3 == p0 is allowed), wound to face `outward`.
    void quad(vec3 p0, vec3 p1, vec3 p2, vec3 p3, vec3 outward, int face);
    void quad(vec3 p0, vec3 p1, vec3 p2, vec3 p3, vec3 outward, int face, const picture_area& area);
    // A convex flat ring round `centre`, in either order.
    void fan(vec3 centre, const std::vector<vec3>& ring, vec3 outward, int face);
    // An axis-aligned block of drawn corners `low`, `high`: each side shows the picture of
    // `faces[side]` stretched over the block's own extent; a side with face -1 is left out.
    void block(vec3 low, vec3 high, const int (&faces)[box_face_count]);
    // What is made from here on lies under a clear sleeve.
    void sleeve_from_here() { made_.sleeve_from = uint32_t(made_.triangles.size() / 3); }
    mesh take() { return std::move(made_); }

private:
    mesh_vertex vertex(vec3 drawn, int face, const picture_area& area, float inset) const;

    box_frame frame_;
    face_map maps_[box_face_count];
    vec3 drawn_half_;
    mesh made_;
};

}  // namespace engine3d
