// A triangle belongs to the face whose atlas rectangle holds the middle of its texture
// coordinates: the engine keeps every picture's coordinates inside its rectangle, and the
// rectangles hold the pictures upright, so a place in the rectangle is one in the picture.
#include "app/export/model/shape_model.h"

#include <cmath>
#include <iterator>

#include "app/faces/face_rectangles.h"

namespace {

constexpr double metres_per_mm = 0.001;
constexpr double least_area = 1e-12;  // in square millimetres, twice over

// How far an atlas point lies outside a face's rectangle, in pixels; 0 inside.
double outside(const face_rectangle& r, double x, double y) {
    const double dx = std::fmax(std::fmax(r.x - x, x - (r.x + r.width)), 0.0);
    const double dy = std::fmax(std::fmax(r.y - y, y - (r.y + r.height)), 0.0);
    return dx * dx + dy * dy;
}

int32_t face_shown(const drawn_corner* triangle) {
    const double x = (triangle[0].u + triangle[1].u + triangle[2].u) / 3 * atlas_width;
    const double y = (triangle[0].v + triangle[1].v + triangle[2].v) / 3 * atlas_height;
    int32_t nearest = 0;
    for (int32_t face = 1; face < face_count; ++face)
        if (outside(face_rectangles[face], x, y) < outside(face_rectangles[nearest], x, y)) nearest = face;
    return nearest;
}

// The model's x is the engine's z, its z the engine's -x: a turn, so windings stay.
void model_position(const drawn_corner& c, double (&p)[3]) {
    p[0] = c.z;
    p[1] = c.y;
    p[2] = -c.x;
}

// A triangle without area has no normal and draws nothing: it is left out.
void add_triangle(const drawn_corner* triangle, model_face& face) {
    double p[3][3];
    for (int k = 0; k < 3; ++k) model_position(triangle[k], p[k]);
    double n[3];
    for (int k = 0; k < 3; ++k) {
        const int a = (k + 1) % 3, b = (k + 2) % 3;
        n[k] = (p[1][a] - p[0][a]) * (p[2][b] - p[0][b]) - (p[1][b] - p[0][b]) * (p[2][a] - p[0][a]);
    }
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > least_area)) return;
    const face_rectangle& r = face_rectangles[face.atlas_face];
    for (int corner = 0; corner < 3; ++corner) {
        model_vertex vertex{};
        for (int k = 0; k < 3; ++k) {
            vertex.position[k] = float(p[corner][k] * metres_per_mm);
            vertex.normal[k] = float(n[k] / length);
        }
        vertex.uv[0] = float((triangle[corner].u * atlas_width - r.x) / r.width);
        vertex.uv[1] = float((triangle[corner].v * atlas_height - r.y) / r.height);
        face.triangles.push_back(uint16_t(face.vertices.size()));
        face.vertices.push_back(vertex);
    }
}

}  // namespace

std::vector<model_face> shape_model(const std::vector<drawn_corner>& corners) {
    model_face by_atlas[face_count];
    for (const model_face_label& label : model_face_labels) by_atlas[label.atlas_face] = {label.atlas_face, label.name, {}, {}};
    for (size_t i = 0; i + 3 <= corners.size(); i += 3)
        add_triangle(&corners[i], by_atlas[face_shown(&corners[i])]);
    std::vector<model_face> faces;
    for (const model_face_label& label : model_face_labels)
        if (!by_atlas[label.atlas_face].triangles.empty()) faces.push_back(std::move(by_atlas[label.atlas_face]));
    return faces;
}
