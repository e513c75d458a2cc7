// The model's faces are made as the engine makes its rounded box (engine3d/shapes/rounded_box.cpp):
// a grid over each sharp face whose outer rows and columns lie in the rounding, every grid
// point pushed onto the rounded surface (the box shrunk by the radius, grown back by it
// along the way out). Two faces meet at the 45 degree line of their edge, where both
// compute the same point and normal. The picture keeps its place on the sharp face and wraps
// over its half of the rounding.
#include "app/export/model/box_model.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "app/project/view_settings.h"

namespace {

constexpr double metres_per_mm = 0.001;

struct vec {
    double v[3];
};

// Where a face lies and which way its picture reads: its outward axis, and the axes along
// which the picture's right and its downward direction run (right x down points inwards).
struct face_frame {
    int normal_axis, right_axis, down_axis;
    double normal_sign, right_sign, down_sign;
};

// In the order of model_face_labels; x the width, y the height, z the depth. The window's
// front (face 2) turned to the camera, as the view set's front view shows it; the top
// picture's upper edge along the back edge, the bottom's along the front edge.
constexpr face_frame face_frames[] = {
    {2, 0, 1, 1, 1, -1},  {2, 0, 1, -1, -1, -1}, {0, 2, 1, 1, -1, -1},
    {0, 2, 1, -1, 1, -1}, {1, 0, 2, 1, 1, 1},    {1, 0, 2, -1, 1, -1},
};

// Grid lines across a half extent: the sharp edge, the rounding's start and their mirrors;
// without rounding only the edges.
std::vector<double> grid_of(double half, double radius) {
    if (radius <= 0) return {-half, half};
    return {-half, radius - half, half - radius, half};
}

struct rounding {
    vec half, inner;
    double radius;

    // A point of the sharp box onto the rounding: the nearest point of the shrunk box, grown
    // back by the radius along the way out, which is the normal there too. Without rounding
    // the point keeps its place and the face's normal.
    void place(const vec& sharp, const vec& face_normal, model_vertex& vertex) const {
        vec out = face_normal;
        double length = 1;
        if (radius > 0) {
            length = 0;
            for (int k = 0; k < 3; ++k) {
                out.v[k] = sharp.v[k] - std::clamp(sharp.v[k], -inner.v[k], inner.v[k]);
                length += out.v[k] * out.v[k];
            }
            length = std::sqrt(length);
        }
        for (int k = 0; k < 3; ++k) {
            const double direction = out.v[k] / length;
            vertex.position[k] = float(radius > 0 ? sharp.v[k] - out.v[k] + direction * radius : sharp.v[k]);
            vertex.normal[k] = float(direction);
        }
    }
};

model_face face_of(const face_frame& frame, const model_face_label& label, const rounding& round) {
    model_face face{label.atlas_face, label.name, {}, {}};
    const double half_right = round.half.v[frame.right_axis], half_down = round.half.v[frame.down_axis];
    const std::vector<double> across = grid_of(half_right, round.radius), down = grid_of(half_down, round.radius);
    vec normal{};
    normal.v[frame.normal_axis] = frame.normal_sign;
    for (double d : down)
        for (double r : across) {
            vec sharp{};
            sharp.v[frame.normal_axis] = frame.normal_sign * round.half.v[frame.normal_axis];
            sharp.v[frame.right_axis] = frame.right_sign * r;
            sharp.v[frame.down_axis] = frame.down_sign * d;
            model_vertex vertex{};
            round.place(sharp, normal, vertex);
            vertex.uv[0] = float((r + half_right) / (2 * half_right));
            vertex.uv[1] = float((d + half_down) / (2 * half_down));
            face.vertices.push_back(vertex);
        }
    // Seen from outside the picture stands upright: top left, bottom left, bottom right.
    const auto columns = uint16_t(across.size());
    for (uint16_t row = 0; row + 1 < uint16_t(down.size()); ++row)
        for (uint16_t column = 0; column + 1 < columns; ++column) {
            const uint16_t top_left = uint16_t(row * columns + column), bottom_left = uint16_t(top_left + columns);
            const uint16_t quad[6] = {top_left, bottom_left, uint16_t(bottom_left + 1),
                                      top_left, uint16_t(bottom_left + 1), uint16_t(top_left + 1)};
            face.triangles.insert(face.triangles.end(), quad, quad + 6);
        }
    return face;
}

}  // namespace

std::vector<model_face> box_model(const box_size& box, bool soft_edges) {
    rounding round{{{box.width_mm / 2 * metres_per_mm, box.height_mm / 2 * metres_per_mm, box.depth_mm / 2 * metres_per_mm}},
                   {},
                   0};
    const double smallest = 2 * std::min({round.half.v[0], round.half.v[1], round.half.v[2]});
    round.radius = soft_edges ? soft_edge_share * smallest : 0;
    for (int k = 0; k < 3; ++k) round.inner.v[k] = round.half.v[k] - round.radius;
    std::vector<model_face> faces;
    for (size_t i = 0; i < std::size(face_frames); ++i) faces.push_back(face_of(face_frames[i], model_face_labels[i], round));
    return faces;
}
