// The engine's numbered objects: texture files of every format, reading a file anew at each
// load, replacing objects under a used number without keeping the old ones, copies.
#include <gtest/gtest.h>

#include "runtime/core/windows_host.h"
#include <psapi.h>

#include "harness/harness.h"

namespace {

constexpr int centre = preview_size / 2;

size_t private_bytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PrivateUsage;
}

class engine_objects : public testing::Test {
protected:
    const engine_dll* e = engine_library();

    void SetUp() override {
        ASSERT_TRUE(e);
        ASSERT_TRUE(engine_start());
        e->LoadMesh(46, "box.mesh");
        e->CreateCamera(0, 0, 0, 100, 100);
        e->CameraLocate(0, 0, 0, 47);
    }

    // The box in a one-texture material; true when every call succeeded.
    bool show_box(const char* texture) {
        int image = e->LoadTexture(306, texture);
        return image && e->CreateMaterial(0, image) && e->DisableMaterialLighting(0, 1) &&
               e->CreateEntity2(5, e->MeshID(46), e->MaterialID(0), 0, 0, 20) &&
               e->ResizeEntity(5, 5, 5, 5);
    }
};

TEST_F(engine_objects, textures_load_from_bmp_png_and_jpeg) {
    const struct {
        const char* name;
        picture_format format;
        uint32_t colour;
    } files[] = {{"model\\red.bmp", picture_format::bmp, 0xE01010},
                 {"model\\green.png", picture_format::png, 0x10E010},
                 {"model\\blue.jpg", picture_format::jpeg, 0x1010E0}};
    for (const auto& file : files) {
        write_picture(file.name, filled(40, 30, file.colour), file.format);
        ASSERT_TRUE(show_box(file.name + 6)) << file.name;
        EXPECT_LE(channel_distance(render_picture().at(centre, centre), file.colour), 6) << file.name;
    }
    EXPECT_FALSE(e->LoadTexture(307, "missing.png"));
    EXPECT_FALSE(e->LoadTexture(307, "box.mesh"));
}

TEST_F(engine_objects, a_rewritten_file_shows_its_new_pixels) {
    write_picture("model\\face.bmp", filled(16, 16, 0xFF0000), picture_format::bmp);
    ASSERT_TRUE(show_box("face.bmp"));
    EXPECT_EQ(render_picture().at(centre, centre), 0xFF0000u);
    write_picture("model\\face.bmp", filled(16, 16, 0x00FF00), picture_format::bmp);
    e->FreeEntity(5);
    e->FreeMaterial(0);
    e->FreeTexture(306);
    ASSERT_TRUE(show_box("face.bmp"));
    EXPECT_EQ(render_picture().at(centre, centre), 0x00FF00u);
}

TEST_F(engine_objects, replacing_under_a_used_number_frees_the_old_object) {
    write_picture("model\\large.bmp", filled(1024, 1024, 0x406080), picture_format::bmp);
    ASSERT_TRUE(show_box("large.bmp"));
    int first_texture = e->LoadTexture(306, "large.bmp");
    int first_material = e->MaterialID(0);
    size_t before = private_bytes();
    // Each texture holds about 5.6 MB with its smaller levels.
    for (int round = 0; round < 40; ++round) ASSERT_TRUE(show_box("large.bmp"));
    EXPECT_LT(private_bytes() - before, size_t(30) << 20);
    EXPECT_FALSE(e->CreateMaterial(3, first_texture)) << "old texture handle still names one";
    EXPECT_NE(e->MaterialID(0), first_material);
    EXPECT_FALSE(e->CreateEntity2(8, e->MeshID(46), first_material, 0, 0, 0));
}

TEST_F(engine_objects, entities_copy_move_and_free) {
    write_picture("model\\grey.bmp", filled(8, 8, 0x808080), picture_format::bmp);
    ASSERT_TRUE(show_box("grey.bmp"));
    ASSERT_TRUE(e->CopyEntity(5, 6));
    EXPECT_TRUE(e->MoveEntity(6, -30, 0, 0));
    EXPECT_EQ(render_picture().at(centre, centre), 0x808080u) << "moving the copy moved the source";
    EXPECT_TRUE(e->MoveEntity(5, 30, 0, 0));
    EXPECT_EQ(render_picture().at(centre, centre), 0u) << "move is not relative";
    EXPECT_TRUE(e->IsEntity(5));
    EXPECT_TRUE(e->FreeEntity(5));
    EXPECT_FALSE(e->IsEntity(5));
    EXPECT_FALSE(e->FreeEntity(5));
    EXPECT_FALSE(e->RotateEntity(5, 1, 2, 3));
    EXPECT_TRUE(e->IsEntity(6));
}

}  // namespace
