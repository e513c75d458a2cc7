// What the renderer draws: faces where the projection puts them and the right way up,
// depth order, culling, clipping at the camera, and equal pictures in every pixel format.
#include <functional>

#include <gtest/gtest.h>

#include "tests/engine3d/engine_harness.h"

namespace {

constexpr int centre = preview_size / 2;
// A face of edge 5 at distance 24.5 with a 30 degree field of view: 56 pixels either side.
constexpr int inside_face = 50, outside_face = 62;

struct face_rect {
    int x, y, width, height;
    uint32_t colour;
};

const face_rect atlas_faces[6] = {
    {175, 7, 167, 492, 0xFF0000}, {0, 511, 166, 512, 0x00FF00},   {166, 511, 351, 512, 0x0000FF},
    {517, 511, 351, 512, 0xFFFF00}, {342, 7, 167, 492, 0xFF00FF}, {0, 0, 166, 511, 0x00FFFF},
};

uint32_t darker(uint32_t colour) { return (colour >> 1) & 0x7F7F7F; }

// Each face in its own colour, its lower half darker, so that up and down can be told.
void write_face_atlas() {
    picture atlas = filled(868, 1023, 0x808080);
    for (const face_rect& f : atlas_faces)
        for (int y = f.y; y < f.y + f.height; ++y)
            for (int x = f.x; x < f.x + f.width; ++x)
                atlas.pixels[size_t(y) * 868 + x] = y < f.y + f.height / 2 ? f.colour : darker(f.colour);
    write_picture("model\\faces.bmp", atlas, picture_format::bmp);
}

class engine_render : public testing::Test {
protected:
    const engine_dll* e = engine_library();

    void SetUp() override {
        ASSERT_TRUE(e);
        write_picture("model\\land.jpg", filled(64, 64, 0xFFFFFF), picture_format::jpeg);
        write_face_atlas();
        ASSERT_TRUE(engine_start());
    }

    // The box alone, front to the camera, nothing behind it.
    void box_only() {
        e->LoadMesh(46, "box.mesh");
        e->CreateMaterial(0, e->LoadTexture(306, "faces.bmp"));
        e->DisableMaterialLighting(0, 1);
        e->CreateEntity2(5, e->MeshID(46), e->MaterialID(0), 0, 0, 20);
        e->ResizeEntity(5, 5, 5, 5);
        e->CreateCamera(0, 0, 0, 100, 100);
        e->CameraLocate(0, 0, 0, 47);
    }

    void wall(int number) {
        e->LoadMesh(47, "land.mesh");
        e->CreateMaterial(1, e->LoadTexture(302, "land.jpg"));
        e->DisableMaterialLighting(1, 1);
        e->CreateEntity2(number, e->MeshID(47), e->MaterialID(1), 0, 0, 20);
        e->RotateEntity(number, 90, 0, 0);
    }
};

TEST_F(engine_render, face_lands_where_the_projection_puts_it) {
    box_only();
    picture p = render_picture();
    ASSERT_EQ(p.width, preview_size);
    for (int d : {-inside_face, inside_face}) {
        EXPECT_LE(channel_distance(p.at(centre + d, centre - 20), 0x0000FF), 8) << d;
        EXPECT_LE(channel_distance(p.at(centre - 20, centre + d), d < 0 ? 0x0000FF : darker(0x0000FF)), 8) << d;
        EXPECT_EQ(p.at(centre + outside_face * d / inside_face, centre), black) << d;
        EXPECT_EQ(p.at(centre, centre + outside_face * d / inside_face), black) << d;
    }
}

TEST_F(engine_render, every_turn_shows_its_face_upright) {
    struct turn {
        float x, y;
        int face;
        bool upside_down;
    };
    // The bottom picture's top edge lies toward the back, so tipping it forward inverts it.
    const turn turns[] = {{0, 0, 2, false},  {0, 180, 3, false}, {0, 90, 5, false},
                          {0, -90, 1, false}, {90, 0, 0, false},  {-90, 0, 4, true}};
    box_only();
    for (const turn& t : turns) {
        e->RotateEntity(5, t.x, t.y, 0);
        picture p = render_picture();
        uint32_t colour = atlas_faces[t.face].colour;
        uint32_t upper = t.upside_down ? darker(colour) : colour;
        uint32_t lower = t.upside_down ? colour : darker(colour);
        EXPECT_LE(channel_distance(p.at(centre, centre - 30), upper), 8) << "face " << t.face;
        EXPECT_LE(channel_distance(p.at(centre, centre + 30), lower), 8) << "face " << t.face;
    }
}

TEST_F(engine_render, nearer_surfaces_hide_farther_ones_in_any_order) {
    for (int wall_number : {4, 9}) {
        ASSERT_TRUE(engine_start());
        box_only();
        wall(wall_number);
        picture p = render_picture();
        EXPECT_LE(channel_distance(p.at(centre, centre - 20), 0x0000FF), 8) << wall_number;
        EXPECT_LE(channel_distance(p.at(centre + 80, centre), 0xFFFFFF), 8) << wall_number;
    }
}

TEST_F(engine_render, faces_turned_away_never_show) {
    box_only();
    for (float z : {20.0f, 21.0f, 18.0f}) {
        e->CameraLocate(0, 0.5f, -0.5f, z);
        picture p = render_picture();
        for (uint32_t pixel : p.pixels) ASSERT_EQ(pixel, black) << "camera inside at z " << z;
    }
    e->CameraLocate(0, 0, 0, -10);
    picture behind = render_picture();
    for (uint32_t pixel : behind.pixels) ASSERT_EQ(pixel, black) << "box behind the camera";
}

TEST_F(engine_render, camera_at_zero_and_behind_the_box_renders_the_floor) {
    build_default_scene("faces.bmp");
    for (float distance : {47.0f, 22.5f, 20.0f, 0.0f, -3.0f, -100.0f}) {
        e->CameraLocate(0, 0, 0, distance);
        picture p = render_picture();
        ASSERT_EQ(p.width, preview_size);
        EXPECT_LE(channel_distance(p.at(centre, preview_size - 1), 0xFFFFFF), 8) << distance;
        EXPECT_LE(channel_distance(p.at(0, preview_size - 1), 0xFFFFFF), 8) << distance;
        EXPECT_EQ(p.at(centre, 0), black) << distance;
    }
}

TEST_F(engine_render, default_scene_frames_the_box_inside_the_preview) {
    build_default_scene("faces.bmp");
    picture p = render_picture();
    int top = preview_size, bottom = -1;
    for (int y = 0; y < preview_size; ++y) {
        uint32_t pixel = p.at(centre, y);
        if (pixel != black && channel_distance(pixel, 0xFFFFFF) > 8) top = std::min(top, y), bottom = y;
    }
    EXPECT_GT(top, preview_size / 6);
    EXPECT_LT(bottom, preview_size * 5 / 6);
    EXPECT_GT(bottom - top, preview_size / 3);
    EXPECT_TRUE(e->FlipWindowedBuffers(0, 0, preview_size * 2, preview_size * 2));
}

// A render of an unchanged scene copies the kept frame over whatever the buffer holds; each
// change draws anew, and undoing it gives the first picture back exactly.
TEST_F(engine_render, unchanged_scene_reuses_its_frame_and_every_change_draws_anew) {
    write_picture("model\\plain.bmp", filled(868, 1023, 0x30A050), picture_format::bmp);
    build_default_scene("faces.bmp");
    const picture first = render_picture();
    fill_back_buffer(0x123456);
    ASSERT_EQ(render_picture().pixels, first.pixels);

    auto load_atlas = [&](const char* file) {
        e->CreateMaterial(0, e->LoadTexture(306, file));
        e->DisableMaterialLighting(0, 1);
        e->CreateEntity2(5, e->MeshID(46), e->MaterialID(0), 0, 0, 20);
        e->ResizeEntity(5, 5, 5, 5);
        e->RotateEntity(5, 120, 0, 0);
    };
    struct change {
        const char* name;
        std::function<void()> make, undo;
    } changes[] = {
        {"RotateEntity", [&] { e->RotateEntity(5, 150, 0, 0); }, [&] { e->RotateEntity(5, 120, 0, 0); }},
        {"CameraLocate", [&] { e->CameraLocate(0, 0, 3, 47); }, [&] { e->CameraLocate(0, 0, 0, 47); }},
        {"texture reload", [&] { load_atlas("plain.bmp"); }, [&] { load_atlas("faces.bmp"); }},
    };
    for (const change& c : changes) {
        c.make();
        EXPECT_NE(render_picture().pixels, first.pixels) << c.name;
        c.undo();
        EXPECT_EQ(render_picture().pixels, first.pixels) << c.name;
    }
}

TEST_F(engine_render, sixteen_twenty_four_and_thirty_two_bits_give_one_picture) {
    build_default_scene("faces.bmp");
    picture reference = render_picture();
    for (int depth : {24, 16}) {
        ASSERT_TRUE(engine_start(preview_size, depth));
        build_default_scene("faces.bmp");
        picture p = render_picture();
        ASSERT_EQ(p.pixels.size(), reference.pixels.size()) << depth;
        int tolerance = depth == 16 ? 8 : 0;
        for (size_t i = 0; i < p.pixels.size(); ++i)
            ASSERT_LE(channel_distance(p.pixels[i], reference.pixels[i]), tolerance) << depth << " at " << i;
    }
}

}  // namespace
