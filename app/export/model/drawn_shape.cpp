// The model's own entity stands apart from the preview's box, so that the model follows the
// project's sizes in millimetres whatever the preview shows, and the preview keeps its look.
#include "app/export/model/drawn_shape.h"

#include "app/project/view_settings.h"

namespace {

constexpr float mm_per_unit = 1.0f;
constexpr int floats_per_corner = 5;

bool fetch_triangles(const engine_model_calls& engine, int entity, std::vector<drawn_corner>& corners) {
    const int count = engine.EntityDrawnTriangles(entity, nullptr, 0);
    if (count <= 0) return false;
    std::vector<float> values(size_t(count) * 3 * floats_per_corner);
    if (engine.EntityDrawnTriangles(entity, values.data(), count) != count) return false;
    corners.resize(size_t(count) * 3);
    for (size_t i = 0; i < corners.size(); ++i) {
        const float* at = &values[i * floats_per_corner];
        corners[i] = {at[0], at[1], at[2], at[3], at[4]};
    }
    return true;
}

}  // namespace

bool drawn_shape(const engine_model_calls& engine, const model_scene& scene, box_shape shape, const box_size& extent,
                 bool soft, std::vector<drawn_corner>& corners) {
    const int kind = engine_shape_kind(shape);
    if (kind == 0) return false;  // the box has its own model
    if (!engine.CreateEntity2(scene.entity, engine.MeshID(scene.box_mesh), engine.MaterialID(scene.box_material), 0, 0, 0))
        return false;
    // The engine's box: x the depth, y the height, z the width. The settings stay with the
    // number, so a sharp model clears the last one's rounding.
    const bool made = engine.ResizeEntity(scene.entity, float(extent.depth_mm), float(extent.height_mm), float(extent.width_mm)) &&
                      engine.EntityRoundEdges(scene.entity, soft ? soft_edge_share : 0) &&
                      engine.EntityShape(scene.entity, kind, mm_per_unit) && fetch_triangles(engine, scene.entity, corners);
    engine.FreeEntity(scene.entity);
    return made;
}
