// Hostile input: a mesh whose texture coordinates overflow once projected still reads
// only texels inside its texture.
#include <gtest/gtest.h>

#include <cstdio>

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

}  // namespace
