// The box as a 3D model for other programs: six faces at the box's real size in metres,
// centred on its middle, y up and the front facing +z, each face with the texture
// coordinates of its own upright picture. Host-neutral.
#pragma once

#include <cstdint>
#include <vector>

#include "app/project/box_size.h"

struct model_vertex {
    float position[3];
    float normal[3];
    float uv[2];  // (0, 0) the picture's top left corner, (1, 1) its bottom right
};

struct model_face {
    int32_t atlas_face;  // the face index of face_rectangles.h whose picture it shows
    const char* name;    // ASCII; JSON escapes allowed
    std::vector<model_vertex> vertices;
    std::vector<uint16_t> triangles;  // counter-clockwise seen from outside
};

struct model_face_label {
    int32_t atlas_face;
    const char* name;
};

// The model's faces in their order: front, back, right, left, top, bottom.
constexpr model_face_label model_face_labels[] = {
    {2, "Vorderseite"}, {3, "R\\u00fcckseite"}, {1, "Rechte Seite"}, {5, "Linke Seite"}, {0, "Oberseite"}, {4, "Unterseite"},
};

// In the order of model_face_labels. With `soft_edges` the twelve edges are rounded as
// the preview rounds them: radius `soft_edge_share` times the smallest side.
std::vector<model_face> box_model(const box_size& box, bool soft_edges);
