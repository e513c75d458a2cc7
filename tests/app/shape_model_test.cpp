// The 3D model of a book or a case, made from the triangles Engine3D.dll draws the shape with,
// in the program's own scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/engine/engine.h"
#include "app/export/model/glb_export.h"
#include "app/export/model/shape_model.h"
#include "tests/app/program_scene.h"

namespace {

// Each shape's model is the engine's shape at its real size, in metres: a hardcover's boards
// stand over its trim. The spine lies on the viewer's left and the front cover faces +z.
TEST(ShapeModel, EachShapeFillsItsRealExtentWithTheSpineLeftAndTheFrontToTheViewer) {
    ASSERT_TRUE(start_program_scene());
    ASSERT_TRUE(engine.model_ready);
    const model_scene scene{scene::box_mesh, scene::box_material, scene::model_entity};
    const box_size book{135, 215, 18};
    for (box_shape shape : {box_shape::paperback, box_shape::hardcover, box_shape::dvd, box_shape::bluray}) {
        const box_size size = shape_is_case(shape) ? standard_case_size(shape) : book;
        std::vector<drawn_corner> corners;
        ASSERT_TRUE(drawn_shape(engine.model, scene, shape, shape_extent(shape, size), true, corners)) << shape_key(shape);
        float low[3] = {1, 1, 1}, high[3] = {-1, -1, -1}, spine_left = 1, front_z = -1;
        for (const model_face& face : shape_model(corners))
            for (const model_vertex& v : face.vertices) {
                for (int k = 0; k < 3; ++k) low[k] = std::min(low[k], v.position[k]), high[k] = std::max(high[k], v.position[k]);
                if (face.atlas_face == 5) spine_left = std::min(spine_left, v.position[0]);
                if (face.atlas_face == 2 && v.normal[2] > 0.99f) front_z = std::max(front_z, v.position[2]);
            }
        const box_size extent = shape_extent(shape, size);
        char seen[160], wanted[160];
        std::snprintf(seen, sizeof seen, "%.5f x %.5f x %.5f, spine at %.5f, front at %.5f", high[0] - low[0],
                      high[1] - low[1], high[2] - low[2], spine_left, front_z);
        std::snprintf(wanted, sizeof wanted, "%.5f x %.5f x %.5f, spine at %.5f, front at %.5f", extent.width_mm / 1000,
                      extent.height_mm / 1000, extent.depth_mm / 1000, low[0], high[2]);
        EXPECT_STREQ(seen, wanted) << shape_key(shape);
        EXPECT_EQ(export_shape_glb(engine.model, scene, (std::string(shape_key(shape)) + ".glb").c_str(), shape, size, true),
                  export_failure::none);
    }
}

}  // namespace
