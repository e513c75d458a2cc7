// Hostile input: a mesh whose texture coordinates overflow once projected still reads
// only texels inside its texture; shadows and mirror images of absurd strengths and sizes
// draw without fault.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

#include "harness/harness.h"

namespace {

TEST(engine_hostile, extreme_texture_coordinates_stay_inside_the_texture) {
    const engine_dll* e = engine_library();
    ASSERT_TRUE(e && engine_start());
    FILE* mesh = std::fopen("model\\wild.mesh", "wb");
    std::fputs("v -5 -5 0\nv 5 -5 0\nv 5 5 0\nv -5 5 0\n"
               "vt -3e38 3e38\nvt 3e38 -3e38\nvt 3e38 3e38\nvt -3e38 -3e38\n"
               "f 1/1 2/2 3/3 4/4\n", mesh);
    std::fclose(mesh);
    write_picture("model\\grey.bmp", filled(4, 4, 0x808080), picture_format::bmp);
    ASSERT_TRUE(e->CreateMaterial(0, e->LoadTexture(306, "grey.bmp")));
    e->DisableMaterialLighting(0, 1);
    ASSERT_TRUE(e->CreateEntity2(5, e->LoadMesh(46, "wild.mesh"), e->MaterialID(0), 0, 0, 20));
    e->CreateCamera(0, 0, 0, 100, 100);
    e->CameraLocate(0, 0, 0, 47);
    EXPECT_EQ(render_picture().at(preview_size / 2, preview_size / 2), 0x808080u);
}

TEST(engine_hostile, studio_look_of_absurd_strengths_and_sizes_draws_without_fault) {
    const engine_dll* e = engine_library();
    ASSERT_TRUE(e && engine_start());
    build_default_scene();
    std::vector<uint32_t> row(preview_size);
    for (float value : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 3e38f,
                        -1.0f, 1e-30f}) {
        e->EntityShadow(5, 7, value);
        e->EntityMirror(5, 7, value, value);
        e->ResizeEntity(5, value, 5, value);
        EXPECT_TRUE(e->RenderWorld()) << value;
        EXPECT_TRUE(e->RenderCameraRows(0, preview_size, preview_size, 16, 200, 1, row.data(), preview_size * 4))
            << value;
    }
}

}  // namespace
