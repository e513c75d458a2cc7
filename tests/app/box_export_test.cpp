// An export's failures told apart, with a stand-in for the engine: without the preview's
// camera the export says so, a band that finds no memory is named as such, and neither
// touches the file it would have replaced.
#include <gtest/gtest.h>

#include "app/export/box_export.h"
#include "tests/support/test_runtime.h"

namespace {

bool camera_there = false;

int ENGINE3D_CALL no_texture(int, const void*, int, int, int) { return 0; }
int ENGINE3D_CALL texture_freed(int) { return 1; }
int ENGINE3D_CALL texture_shown(int, int) { return 1; }
int ENGINE3D_CALL entity_hidden(int, int) { return 1; }
int ENGINE3D_CALL window_set(float, float, float, float) { return 1; }
int ENGINE3D_CALL backdrop_set(int) { return 1; }
// With the camera there, only the smallest view finds memory.
int ENGINE3D_CALL render_rows(int, int width, int, int, int, int, void*, int) {
    return camera_there && width == 1 ? 1 : 0;
}

TEST(BoxExport, MissingCameraAndMissingMemoryAreToldApartAndTheTargetStays) {
    const engine_export_calls engine = {no_texture, texture_freed, texture_shown, entity_hidden, window_set, backdrop_set, render_rows};
    const export_scene scene = {1, 2, 3, {4, 5}};
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    write_file("export.png", old);
    camera_there = false;
    EXPECT_EQ(export_box(engine, scene, "export.png", export_types[1], nullptr, nullptr), export_failure::no_preview);
    camera_there = true;
    EXPECT_EQ(export_box(engine, scene, "export.png", export_types[1], nullptr, nullptr), export_failure::no_memory);
    EXPECT_EQ(read_file("export.png"), old);
}

}  // namespace
