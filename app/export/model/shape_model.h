// A book or a media case as a 3D model: the triangles the engine draws the shape with, carried
// into the model's frame (metres, y up, the front facing +z, as box_model.h) and split into
// faces by the face picture each triangle shows. Host-neutral.
#pragma once

#include <vector>

#include "app/export/model/box_model.h"

// One corner as the engine hands it out: millimetres in the engine's frame (x the depth with
// the front at -x, y the height, z the width with the viewer's left at -z) and its place in
// the face atlas (u, v from 0 to 1, v downwards).
struct drawn_corner {
    float x, y, z, u, v;
};

// Three corners a triangle, counter-clockwise seen from outside. The faces come in the order
// of model_face_labels, those that show nothing left out; triangles without area are dropped.
std::vector<model_face> shape_model(const std::vector<drawn_corner>& corners);
