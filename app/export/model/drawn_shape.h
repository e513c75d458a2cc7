// A book's or a case's triangles as the engine draws them, for its 3D model.
#pragma once

#include <vector>

#include "app/engine/engine.h"
#include "app/export/model/shape_model.h"
#include "app/project/box_shape.h"

// The box mesh and material the scene draws with, and an entity number free for the while.
struct model_scene {
    int box_mesh;
    int box_material;
    int entity;
};

// The shape filling `extent`, with a paperback's spine rounded when `soft`; the entity is
// made at one millimetre a unit and freed again. False when the engine makes no shape of it.
bool drawn_shape(const engine_model_calls& engine, const model_scene& scene, box_shape shape, const box_size& extent,
                 bool soft, std::vector<drawn_corner>& corners);
