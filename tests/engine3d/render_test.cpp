// What the renderer draws: faces where the projection puts them and the right way up,
// the rotation convention, depth order, reuse of an unchanged frame, culling, clipping at
// the camera, the backdrop of the program's scene, equal pictures in every pixel format, and
// the studio look: the rig's light, the soft shadow, the mirror image in the floor and the
// lights mirrored in a case's sleeve.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "harness/harness.h"

namespace {

constexpr int centre = preview_size / 2;
// A face of edge 5 at distance 24.5 with a 30 degree field of view: 56 pixels either side.
constexpr int inside_face = 50, outside_face = 62;
constexpr int quarter = 28;

struct face_rect {
    int x, y, width, height;
    uint32_t colour;
};

enum face { top, right_side, front, back, bottom, left_side };

const face_rect atlas_faces[6] = {
    {175, 7, 167, 492, 0xFF0000}, {0, 511, 166, 512, 0x00FF00},   {166, 511, 351, 512, 0x0000FF},
    {517, 511, 351, 512, 0xFFFF00}, {342, 7, 167, 492, 0xFF00FF}, {0, 0, 166, 511, 0x00FFFF},
};

// The quarters of a picture, in reading order.
enum corner { upper_left, upper_right, lower_left, lower_right };

// Each quarter of a face its own shade of the face's colour, so that a picture turned or
// mirrored is told from one standing upright.
uint32_t shade(uint32_t colour, int quarter_index) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((colour >> shift & 0xFF) * uint32_t(4 - quarter_index) / 4) << shift;
    return out;
}

void write_face_atlas() {
    picture atlas = filled(868, 1023, 0x808080);
    for (const face_rect& f : atlas_faces)
        for (int y = f.y; y < f.y + f.height; ++y)
            for (int x = f.x; x < f.x + f.width; ++x)
                atlas.pixels[size_t(y) * 868 + x] =
                    shade(f.colour, (y < f.y + f.height / 2 ? 0 : 2) + (x < f.x + f.width / 2 ? 0 : 1));
    write_picture("model\\faces.bmp", atlas, picture_format::bmp);
}

// The face and quarter whose shade a pixel shows, as face * 4 + quarter, or -1.
int face_quarter(uint32_t pixel) {
    for (int f = 0; f < 6; ++f)
        for (int q = 0; q < 4; ++q)
            if (channel_distance(pixel, shade(atlas_faces[f].colour, q)) <= 8) return f * 4 + q;
    return -1;
}

int face_of(uint32_t pixel) {
    int found = face_quarter(pixel);
    return found < 0 ? -1 : found / 4;
}

// A band of rows of a size x size export at 16 samples, B, G, R, A per pixel.
struct export_band {
    int size, first;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y - first) * size + x]; }
};

export_band export_rows(int size, int first, int rows) {
    export_band band{size, first, std::vector<uint32_t>(size_t(size) * rows)};
    engine_library()->RenderCameraRows(0, size, size, 16, first, rows, band.pixels.data(), size * 4);
    return band;
}

// Seen from here, a 2048 export shows the floor below the box: the middle of the shadow at
// row 1441; the mirror image of the unturned box's bottom from row 1856 and of its side
// from row 1895, faded out at row 1984; the side's left half in columns 935 to 1024.
constexpr float far_eye[3] = {0, -3, 130};
constexpr int export_side = 2048, export_middle = 1024;
constexpr int shadow_row = 1441, image_top = 1895, image_fade_end = 1984, side_left_half = 980;

int grey_of(uint32_t pixel) { return int(pixel >> 8 & 0xFF); }

class engine_render : public testing::Test {
protected:
    const engine_dll* e = engine_library();

    void SetUp() override {
        ASSERT_TRUE(e);
        write_picture("model\\land.jpg", filled(64, 64, 0xFFFFFF), picture_format::jpeg);
        write_face_atlas();
        ASSERT_TRUE(engine_start());
    }

    // The box alone, unturned, nothing behind it.
    void box_only() {
        e->LoadMesh(46, "box.mesh");
        e->CreateMaterial(0, e->LoadTexture(306, "faces.bmp"));
        e->DisableMaterialLighting(0, 1);
        e->CreateEntity2(5, e->MeshID(46), e->MaterialID(0), 0, 0, 20);
        e->ResizeEntity(5, 5, 5, 5);
        e->CreateCamera(0, 0, 0, 100, 100);
        e->CameraLocate(0, 0, 0, 47);
    }

    // The floor plane stood up behind the box, facing the camera.
    void wall(int number) {
        e->LoadMesh(47, "land.mesh");
        e->CreateMaterial(1, e->LoadTexture(302, "land.jpg"));
        e->DisableMaterialLighting(1, 1);
        e->CreateEntity2(number, e->MeshID(47), e->MaterialID(1), 0, 0, 20);
        e->RotateEntity(number, 0, 90, 0);
    }
};

TEST_F(engine_render, face_lands_where_the_projection_puts_it) {
    box_only();
    picture p = render_picture();
    ASSERT_EQ(p.width, preview_size);
    for (int d : {-inside_face, inside_face}) {
        EXPECT_EQ(face_of(p.at(centre + d, centre - 20)), right_side) << d;
        EXPECT_EQ(face_of(p.at(centre - 20, centre + d)), right_side) << d;
        EXPECT_EQ(p.at(centre + outside_face * d / inside_face, centre), black) << d;
        EXPECT_EQ(p.at(centre, centre + outside_face * d / inside_face), black) << d;
    }
}

// RotateEntity(a, b, c) turns by Ry(a) * Rx(b) * Rz(c); the box's front faces -x, its
// right side +z, and every face reads upright and unmirrored from outside, rounded or not.
TEST_F(engine_render, each_turn_shows_the_face_the_convention_predicts_upright) {
    struct turn {
        float a, b, c;
        face shown;
    };
    // The top is the front tipped toward the camera: its picture's upper edge lies along the
    // back edge. The bottom is the front tipped away: its upper edge along the front edge.
    const turn turns[] = {{0, 0, 0, right_side}, {90, 0, 0, front},   {-90, 0, 0, back},
                          {180, 0, 0, left_side}, {90, 0, -90, bottom}, {90, 0, 90, top}};
    box_only();
    for (float rounding : {0.0f, 0.02f}) {
        e->EntityRoundEdges(5, rounding);
        for (const turn& t : turns) {
            e->RotateEntity(5, t.a, t.b, t.c);
            picture p = render_picture();
            const int base = int(t.shown) * 4;
            EXPECT_EQ(face_quarter(p.at(centre - quarter, centre - quarter)), base + upper_left) << t.shown << " " << rounding;
            EXPECT_EQ(face_quarter(p.at(centre + quarter, centre - quarter)), base + upper_right) << t.shown << " " << rounding;
            EXPECT_EQ(face_quarter(p.at(centre - quarter, centre + quarter)), base + lower_left) << t.shown << " " << rounding;
            EXPECT_EQ(face_quarter(p.at(centre + quarter, centre + quarter)), base + lower_right) << t.shown << " " << rounding;
        }
    }
}

// The program's start: a three-quarter view of the front with the left side beside it.
TEST_F(engine_render, start_turn_shows_front_right_of_centre_and_left_side_left_of_it) {
    build_default_scene("faces.bmp");
    picture p = render_picture();
    EXPECT_EQ(face_of(p.at(centre + 40, centre - 20)), front);
    EXPECT_EQ(face_of(p.at(centre - 50, centre - 20)), left_side);
    for (uint32_t pixel : p.pixels) {
        ASSERT_NE(face_of(pixel), right_side);
        ASSERT_NE(face_of(pixel), back);
    }
    // Tipping about the box's own width brings the top or the bottom toward the camera.
    e->RotateEntity(5, 120, 0, 30);
    EXPECT_EQ(face_of(render_picture().at(centre + 10, centre - 45)), top);
    e->RotateEntity(5, 120, 0, -30);
    EXPECT_EQ(face_of(render_picture().at(centre + 10, centre + 45)), bottom);
}

TEST_F(engine_render, nearer_surfaces_hide_farther_ones_in_any_order) {
    for (int wall_number : {4, 9}) {
        ASSERT_TRUE(engine_start());
        box_only();
        wall(wall_number);
        picture p = render_picture();
        EXPECT_EQ(face_of(p.at(centre - 20, centre - 20)), right_side) << wall_number;
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

// The upright floor plane stands at z = 0: in front of it the whole view is floor colour,
// behind it only the level floor below is left.
TEST_F(engine_render, camera_before_or_behind_the_backdrop_renders_the_floor) {
    build_default_scene("faces.bmp");
    for (float distance : {47.0f, 22.5f, 20.0f, 0.0f, -3.0f, -100.0f}) {
        e->CameraLocate(0, 0, 0, distance);
        picture p = render_picture();
        ASSERT_EQ(p.width, preview_size);
        EXPECT_LE(channel_distance(p.at(centre, preview_size - 1), 0xFFFFFF), 8) << distance;
        EXPECT_LE(channel_distance(p.at(0, preview_size - 1), 0xFFFFFF), 8) << distance;
        if (distance > 0)
            EXPECT_LE(channel_distance(p.at(centre, 0), 0xFFFFFF), 8) << distance;
        else
            EXPECT_EQ(p.at(centre, 0), black) << distance;
    }
}

// Camera heights -4 to 4 (scroll bar 19) and distances 27 to 197 (the zoom buttons from the
// start): no sky and no seam anywhere, and wherever the box leaves room the corners take
// the floor colour.
TEST_F(engine_render, floor_colour_fills_the_background_at_every_reachable_camera) {
    build_default_scene("faces.bmp");
    const int last = preview_size - 1;
    for (float height : {-4.0f, 4.0f})
        for (float distance : {27.0f, 47.0f, 197.0f}) {
            e->CameraLocate(0, 0, height, distance);
            picture p = render_picture();
            for (uint32_t pixel : p.pixels) ASSERT_NE(pixel, black) << height << ", " << distance;
            if (distance < 47) continue;
            for (int x : {0, last})
                for (int y : {0, last})
                    EXPECT_LE(channel_distance(p.at(x, y), 0xFFFFFF), 8)
                        << "height " << height << ", distance " << distance << " at " << x << ", " << y;
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
// change draws anew, and undoing it gives the first picture back exactly. The picture's
// number moves only when the pixels do.
TEST_F(engine_render, unchanged_scene_reuses_its_frame_and_every_change_draws_anew) {
    write_picture("model\\plain.bmp", filled(868, 1023, 0x30A050), picture_format::bmp);
    build_default_scene("faces.bmp");
    const picture first = render_picture();
    const int number = e->PictureNumber();
    fill_back_buffer(0x123456);
    ASSERT_EQ(render_picture().pixels, first.pixels);
    e->RotateEntity(5, 120, 0, 0);
    render_picture();
    EXPECT_EQ(e->PictureNumber(), number) << "the same angles drawn again";

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
        {"EntityStudioLight", [&] { e->EntityStudioLight(5, 1); }, [&] { e->EntityStudioLight(5, 0); }},
    };
    for (const change& c : changes) {
        const int before = e->PictureNumber();
        c.make();
        EXPECT_NE(render_picture().pixels, first.pixels) << c.name;
        EXPECT_NE(e->PictureNumber(), before) << c.name;
        c.undo();
        EXPECT_EQ(render_picture().pixels, first.pixels) << c.name;
    }
}

// An export draws the preview's view into memory in bands; entities left out leave alpha 0,
// their edges partial alpha in the face's own colour, and the preview stays as it was.
TEST_F(engine_render, export_draws_the_preview_view_with_alpha_where_entities_are_left_out) {
    build_default_scene("faces.bmp");
    const picture preview = render_picture();
    std::vector<uint32_t> out(preview.pixels.size());
    auto export_rows = [&](int samples, int first, int rows) {
        return e->RenderCameraRows(0, preview_size, preview_size, samples, first, rows,
                                   &out[size_t(first) * preview_size], preview_size * 4);
    };
    ASSERT_TRUE(export_rows(4, 0, 100) && export_rows(4, 100, preview_size - 100));
    int differing = 0;
    for (size_t i = 0; i < out.size(); ++i)
        differing += out[i] >> 24 != 255 || channel_distance(out[i], preview.pixels[i]) > 8;
    EXPECT_LT(differing, preview_size) << "pixels unlike the preview";
    EXPECT_FALSE(export_rows(5, 0, 1));

    constexpr uint32_t green = 0x30A050;
    const picture plain = filled(64, 64, green);
    e->ExportMaterialTexture(0, e->LoadTexturePixels(900, plain.pixels.data(), 64, 64, 64 * 4));
    e->ExportHideEntity(6, 1);
    e->ExportHideEntity(7, 1);
    ASSERT_TRUE(export_rows(16, 0, preview_size));
    EXPECT_EQ(out[0], 0u);
    EXPECT_EQ(out[size_t(centre) * preview_size + centre], 0xFF000000 | green);
    int edges = 0;
    for (uint32_t pixel : out)
        if (pixel >> 24 && pixel >> 24 < 255) {
            ++edges;
            ASSERT_LE(channel_distance(pixel, green), 2) << std::hex << pixel;
        }
    EXPECT_GT(edges, 100);

    // The middle half of the view as the export's window is the view drawn twice as large.
    std::vector<uint32_t> large(512 * 512), middle(256 * 256);
    ASSERT_TRUE(e->RenderCameraRows(0, 512, 512, 16, 0, 512, large.data(), 512 * 4));
    ASSERT_TRUE(e->ExportViewWindow(0.25f, 0.25f, 0.5f, 0.5f) && !e->ExportViewWindow(0, 0, 0, 1));
    ASSERT_TRUE(e->RenderCameraRows(0, 256, 256, 16, 0, 256, middle.data(), 256 * 4));
    int unlike = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const uint32_t a = middle[size_t(y) * 256 + x], b = large[size_t(y + 128) * 512 + x + 128];
            unlike += channel_distance(a, b) > 8 || std::abs(int(a >> 24) - int(b >> 24)) > 8;
        }
    EXPECT_LT(unlike, 256);
    // A flat backdrop fills in what the floor would show, opaque.
    e->ExportFlatBackdrop(0xFFFFFF);
    ASSERT_TRUE(export_rows(16, 0, preview_size));
    EXPECT_EQ(out[0], 0xFFFFFFFFu);
    EXPECT_EQ(out[size_t(centre) * preview_size + centre], 0xFF000000 | green);
    e->ExportFlatBackdrop(-1);
    e->ExportViewWindow(0, 0, 1, 1);
    EXPECT_EQ(render_picture().pixels, preview.pixels);
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

namespace {

// With one grey picture on every face, the rig lights the two faces of the start view
// unlike, neutral and no brighter than the picture: the face right of centre, turned to the
// key light at the upper front right, shows its picture, the other 15 to 40 levels darker,
// whichever faces they are; switched off, the picture is as before to the byte.
TEST_F(engine_render, studio_light_is_fixed_in_the_world_neutral_and_comes_off_exactly) {
    write_picture("model\\grey.bmp", filled(868, 1023, 0x808080), picture_format::bmp);
    build_default_scene("grey.bmp");
    const picture plain = render_picture();
    const int left = centre - 50, right = centre + 40, row = centre - 20;
    EXPECT_EQ(plain.at(left, row), plain.at(right, row));
    for (float turn : {121.0f, 211.0f}) {
        e->RotateEntity(5, turn, 0, 0);
        e->EntityStudioLight(5, 1);
        picture lit = render_picture();
        for (int x : {left, right}) {
            uint32_t pixel = lit.at(x, row);
            EXPECT_EQ(pixel, (pixel & 0xFF) * 0x010101) << std::hex << pixel << " not neutral";
            EXPECT_GE(grey_of(pixel), 64) << turn;
            EXPECT_LE(grey_of(pixel), 0x80 + 3) << turn;
        }
        EXPECT_GE(grey_of(lit.at(right, row)), 0x80 - 3) << turn;
        const int darker = grey_of(lit.at(right, row)) - grey_of(lit.at(left, row));
        EXPECT_TRUE(darker >= 15 && darker <= 40) << turn << ": " << darker;
    }
    e->RotateEntity(5, 120, 0, 0);
    e->EntityStudioLight(5, 0);
    EXPECT_EQ(render_picture().pixels, plain.pixels);
}

// Under the floating box a soft shadow, no step between neighbours along its row and
// column, that leaves the export as it was once switched off; freeing the floor leaves no
// shadow to draw.
TEST_F(engine_render, shadow_is_darkest_under_the_box_smooth_and_comes_off_exactly) {
    build_default_scene("faces.bmp");
    e->CameraLocate(0, far_eye[0], far_eye[1], far_eye[2]);
    const int first = shadow_row - 100;
    const export_band plain = export_rows(export_side, first, 200);
    const picture preview = render_picture();
    e->EntityShadow(5, 7, 0.5f);
    EXPECT_NE(render_picture().pixels, preview.pixels) << "the kept frame shown again";
    const export_band shaded = export_rows(export_side, first, 200);
    const uint32_t middle = shaded.at(export_middle, shadow_row);
    EXPECT_GE(grey_of(plain.at(export_middle, shadow_row)) - grey_of(middle), 15) << std::hex << middle;
    EXPECT_EQ(plain.at(600, shadow_row), shaded.at(600, shadow_row)) << "shadow too wide";
    int steepest = 0;
    for (int x = 600; x < 1448; ++x)
        steepest = std::max(steepest, channel_distance(shaded.at(x, shadow_row), shaded.at(x + 1, shadow_row)));
    for (int y = first; y < first + 199; ++y)
        steepest = std::max(steepest, channel_distance(shaded.at(export_middle, y), shaded.at(export_middle, y + 1)));
    EXPECT_LE(steepest, 3);
    e->EntityShadow(5, 7, 0);
    EXPECT_EQ(export_rows(export_side, first, 200).pixels, plain.pixels);
    e->EntityShadow(5, 7, 0.5f);
    e->FreeEntity(7);
    EXPECT_TRUE(e->RenderWorld());
}

// The unturned box's side (green, its lower half the darker) mirrored upside down below the
// floor line: the darker half first, 0.3 of it over the white floor, fading to nothing.
TEST_F(engine_render, mirror_image_shows_the_face_upside_down_fading_into_the_floor) {
    build_default_scene("faces.bmp");
    e->RotateEntity(5, 0, 0, 0);
    e->CameraLocate(0, far_eye[0], far_eye[1], far_eye[2]);
    const picture preview = render_picture();
    e->EntityMirror(5, 7, 0.3f, 0.5f);
    EXPECT_NE(render_picture().pixels, preview.pixels) << "the kept frame shown again";
    const int first = image_top - 60;
    const export_band band = export_rows(export_side, first, image_fade_end + 10 - first);
    const uint32_t white = band.at(side_left_half, first);
    const uint32_t darker_half = shade(atlas_faces[right_side].colour, lower_left);
    auto towards = [](uint32_t from, uint32_t to, float w) {
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8)
            out |= uint32_t(float(from >> shift & 0xFF) * (1 - w) + float(to >> shift & 0xFF) * w + 0.5f) << shift;
        return out;
    };
    auto red = [&](int y) { return int(band.at(side_left_half, y) >> 16 & 0xFF); };
    EXPECT_LE(channel_distance(white, 0xFFFFFF), 3) << std::hex << white;
    const uint32_t top = band.at(side_left_half, image_top + 3);
    EXPECT_LE(channel_distance(top, towards(white, darker_half, 0.3f)), 6) << std::hex << top;
    const int middle = (image_top + image_fade_end) / 2;
    EXPECT_LT(red(image_top + 3), red(middle) - 10);
    EXPECT_LT(red(middle), red(image_fade_end - 5));
    EXPECT_LE(channel_distance(band.at(side_left_half, image_fade_end + 5), white), 1);
}

// Without their floor, shadow and mirror image are caught with partial alpha: the shadow
// black, the image in its own straight colour; nothing else is written.
TEST_F(engine_render, export_without_the_floor_catches_shadow_and_mirror_image_in_alpha) {
    build_default_scene("faces.bmp");
    e->RotateEntity(5, 0, 0, 0);
    e->CameraLocate(0, far_eye[0], far_eye[1], far_eye[2]);
    studio_look(true);
    e->EntityStudioLight(5, 0);
    e->ExportHideEntity(6, 1);
    e->ExportHideEntity(7, 1);
    const export_band shadow = export_rows(export_side, shadow_row, 1);
    const export_band image = export_rows(export_side, image_top + 3, 1);
    const uint32_t dark = shadow.at(export_middle, shadow_row), seen = image.at(side_left_half, image_top + 3);
    EXPECT_EQ(dark & 0xFFFFFF, 0u) << std::hex << dark;
    EXPECT_GT(dark >> 24, 15u);
    EXPECT_LT(dark >> 24, 200u);
    EXPECT_LE(channel_distance(seen, shade(atlas_faces[right_side].colour, lower_left)), 4) << std::hex << seen;
    EXPECT_NEAR(double(seen >> 24), 0.3 * 255, 6);
    EXPECT_EQ(shadow.at(100, shadow_row), 0u);
    EXPECT_EQ(image.at(100, image_top + 3), 0u);
}

}  // namespace

namespace {

// The front's bottom edge in 2048 exports of the start view and of the start view two
// clicks further back: the column below its middle, and a row just above it.
struct standing_view {
    float eye_z;
    int column, edge_row;
};
constexpr standing_view standing_views[] = {{47, 1216, 1400}, {57, 1161, 1290}};
// The level floor risen to the standing box's bottom, y = -2.5.
constexpr float standing_rise = 12.5f;

bool neutral(uint32_t pixel) {
    return channel_distance(pixel, (pixel >> 8 & 0xFF) * 0x010101) <= 2;
}

// The first row from `from` down the column whose pixel no longer shows a face's colour.
int first_neutral_row(const export_band& band, int column, int from) {
    int y = from;
    while (y + 1 < band.first + int(band.pixels.size()) / band.size && !neutral(band.at(column, y))) ++y;
    return y;
}

// On a white floor at the box's bottom: below the front's bottom edge the shadow is darkest
// in the first floor row and lightens row by row, gently after the first few; the picture's
// sides stay white. With the mirror image instead, it meets the edge: no floor row between.
TEST_F(engine_render, standing_box_touches_its_shadow_and_its_mirror_image) {
    build_default_scene("faces.bmp");
    e->MoveEntity(7, 0, standing_rise, 0);
    for (const standing_view& v : standing_views) {
        e->CameraLocate(0, 0, 0, v.eye_z);
        e->EntityShadow(5, 7, 0.5f);
        const export_band shaded = export_rows(export_side, v.edge_row, 160);
        const int floor_row = first_neutral_row(shaded, v.column, v.edge_row);
        std::string profile;
        for (int y = floor_row; y < floor_row + 60; ++y) profile += std::to_string(grey_of(shaded.at(v.column, y))) + " ";
        EXPECT_LE(grey_of(shaded.at(v.column, floor_row)), 255 - 60) << profile;
        for (int y = floor_row; y < floor_row + 120; ++y) {
            const int here = grey_of(shaded.at(v.column, y)), next = grey_of(shaded.at(v.column, y + 1));
            EXPECT_LE(here, next) << "row " << y << ": " << profile;
            EXPECT_TRUE(y < floor_row + 4 || next - here <= 4) << "row " << y << ": " << profile;
        }
        for (int x : {0, export_side - 1}) EXPECT_GE(grey_of(shaded.at(x, floor_row + 10)), 252) << x;
        e->ExportHideEntity(7, 1);
        const uint32_t caught = export_rows(export_side, floor_row, 1).at(v.column, floor_row);
        EXPECT_TRUE((caught & 0xFFFFFF) == 0 && caught >> 24 >= 60 && caught >> 24 < 255) << std::hex << caught;
        e->ExportHideEntity(7, 0);
        e->EntityShadow(5, 7, 0);
        e->EntityMirror(5, 7, 0.3f, 0.5f);
        const export_band mirrored = export_rows(export_side, v.edge_row, 160);
        const int image_row = first_neutral_row(mirrored, v.column, v.edge_row);
        EXPECT_GT(image_row, floor_row + 20) << std::hex << mirrored.at(v.column, floor_row);
        e->EntityMirror(5, 7, 0, 0);
    }
}

}  // namespace

namespace {

// The start view's edge between the left side and the front, in a 2048 export: rounded, each
// pixel lies between the two faces' colours, with no seam or gap; lit, the rounding takes
// light of its own; off, the box is sharp again to the byte.
TEST_F(engine_render, rounded_edge_shows_only_the_colours_of_its_two_faces) {
    build_default_scene("faces.bmp");
    constexpr int row = 900, edge = 876;
    const export_band sharp = export_rows(export_side, row, 1);
    ASSERT_TRUE(e->EntityRoundEdges(5, 0.02f));
    const export_band round = export_rows(export_side, row, 1);
    const uint32_t left = sharp.at(edge - 40, row), right = sharp.at(edge + 40, row);
    for (int x = edge - 40; x <= edge + 40; ++x) {
        const uint32_t pixel = round.at(x, row);
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = int(left >> shift & 0xFF), b = int(right >> shift & 0xFF), c = int(pixel >> shift & 0xFF);
            EXPECT_TRUE(c >= std::min(a, b) - 3 && c <= std::max(a, b) + 3) << x << ": " << std::hex << pixel;
        }
    }
    e->EntityStudioLight(5, 1);
    const export_band lit_round = export_rows(export_side, row, 1);
    e->EntityRoundEdges(5, 0);
    const export_band lit_sharp = export_rows(export_side, row, 1);
    int changed = 0;
    for (int x = edge - 40; x <= edge + 40; ++x) changed += lit_round.at(x, row) != lit_sharp.at(x, row);
    EXPECT_GT(changed, 4);
    e->EntityStudioLight(5, 0);
    EXPECT_EQ(export_rows(export_side, row, 1).pixels, sharp.pixels);
}

}  // namespace

namespace {

// A hardcover seen from its fore-edge, 2 deep, 8 high and 5 wide at 20 mm a unit: the two
// boards' cut edges show their covers' pictures either side of the pages, and stand 3 mm
// (0.15 units, 23 pixels) over the pages at the top; a media case seen from the front has
// no corner where the box had one, and a Blu-ray case its band; the box again is the box to
// the byte. The triangles handed
// out for a model are the drawn ones: the book fills the entity's drawn extent.
TEST_F(engine_render, book_boards_stand_over_its_pages_and_a_case_rounds_its_corners) {
    box_only();
    constexpr int size = 2048, middle = size / 2, pages = middle - 60;
    const auto opaque = [](const export_band& band, int x, int y) { return (band.at(x, y) >> 24) > 128; };
    const auto first_row = [&](const export_band& band, int x, const std::function<bool(uint32_t)>& wanted) {
        int y = 0;
        while (y < size - 1 && !wanted(band.at(x, y))) ++y;
        return y;
    };
    e->ResizeEntity(5, 2, 8, 5);
    const export_band box = export_rows(size, 0, size);
    ASSERT_TRUE(e->EntityShape(5, 2, 20.0f));
    const export_band book = export_rows(size, 0, size);
    const int triangles = e->EntityDrawnTriangles(5, nullptr, 0);
    std::vector<float> corners(size_t(triangles) * 15, 9);
    EXPECT_EQ(e->EntityDrawnTriangles(5, corners.data(), triangles - 1), triangles);
    EXPECT_EQ(std::count(corners.begin(), corners.end(), 9.0f), ptrdiff_t(corners.size())) << "written without room";
    ASSERT_EQ(e->EntityDrawnTriangles(5, corners.data(), triangles), triangles);
    const float half[3] = {1, 4, 2.5f};
    float high[3] = {};
    for (size_t i = 0; i < corners.size(); i += 5)
        for (int k = 0; k < 3; ++k) high[k] = std::max(high[k], std::fabs(corners[i + k]));
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(high[k], half[k], 1e-5f) << "axis " << k;
    int left = 0, right = size - 1;
    while (left < middle && !opaque(book, left, middle)) ++left;
    while (right > middle && !opaque(book, right, middle)) --right;
    constexpr int upper = middle - 200;  // clear of the quarters' borders
    EXPECT_EQ(face_of(book.at(left + 4, upper)), front) << left << ": " << std::hex << book.at(left + 4, upper);
    EXPECT_EQ(face_of(book.at(right - 4, upper)), back) << right << ": " << std::hex << book.at(right - 4, upper);
    EXPECT_EQ(face_of(book.at(pages, upper)), right_side) << std::hex << book.at(pages, upper);
    const int board_top = first_row(book, left + 4, [](uint32_t p) { return (p >> 24) > 128; });
    const int pages_top = first_row(book, pages, [](uint32_t p) { return face_of(p) == right_side; });
    EXPECT_GT(pages_top - board_top, 15) << board_top << " " << pages_top;

    e->RotateEntity(5, 90, 0, 0);
    e->EntityShape(5, 0, 0);
    const export_band square = export_rows(size, 0, size);
    ASSERT_TRUE(e->EntityShape(5, 3, 20.0f));
    const export_band round = export_rows(size, 0, size);
    const int top = first_row(square, middle, [](uint32_t p) { return (p >> 24) > 128; });
    int edge = 0;
    while (edge < middle && !opaque(square, edge, middle)) ++edge;
    EXPECT_TRUE(opaque(square, edge + 2, top + 2));
    EXPECT_FALSE(opaque(round, edge + 2, top + 2));
    EXPECT_EQ(face_of(round.at(pages, upper)), front);
    // A Blu-ray case's insert lies below the band across its top (19 mm, 145 pixels), which
    // shows the open edges' plastic.
    ASSERT_TRUE(e->EntityShape(5, 4, 20.0f));
    const export_band bluray = export_rows(size, 0, size);
    EXPECT_EQ(face_of(bluray.at(middle, top + 100)), face::top) << std::hex << bluray.at(middle, top + 100);
    EXPECT_EQ(face_of(bluray.at(middle, top + 180)), front) << std::hex << bluray.at(middle, top + 180);

    e->EntityShape(5, 0, 0);
    e->RotateEntity(5, 0, 0, 0);
    EXPECT_EQ(export_rows(size, 0, size).pixels, box.pixels);
}

// The blue front of a case turned towards the studio's right strip light, 8 high and 5
// wide: lit by the rig, its clear sleeve mirrors the strip as a band of a few columns, whose
// light adds green, which the blue picture has none of; turning the case sweeps the band
// across the front from right to left. A book's matte cover shows none, nor a case unlit.
TEST_F(engine_render, case_sleeve_mirrors_a_strip_light_as_a_band_that_turning_sweeps) {
    box_only();
    constexpr int size = 2048, row = size / 2 - 200;
    e->ResizeEntity(5, 0.7f, 8, 5);
    const auto band = [&](float turn) {
        e->RotateEntity(5, turn, 0, 0);
        const export_band line = export_rows(size, row, 1);
        int first = -1, last = -1, front_width = 0;
        for (int x = 0; x < size; ++x) {
            const uint32_t p = line.at(x, row);
            const bool blue = (p & 0xFF) > 100, green = (p >> 8 & 0xFF) > 40, red = (p >> 16 & 0xFF) > 40;
            if ((p >> 24) < 128 || !blue || green != red) continue;
            ++front_width;
            if (green) last = x, first = first < 0 ? x : first;
        }
        return std::vector<int>{first, last, front_width};
    };
    ASSERT_TRUE(e->EntityShape(5, 3, 20.0f));
    e->EntityStudioLight(5, 1);
    const std::vector<int> start = band(120), turned = band(124);
    const int width = start[1] - start[0];
    EXPECT_TRUE(start[0] >= 0 && width > start[2] / 20 && width < start[2] * 2 / 5)
        << "band " << start[0] << ".." << start[1] << " on a front " << start[2] << " wide";
    EXPECT_TRUE(turned[0] >= 0 && turned[1] < start[0]) << "turned on: " << turned[0] << ".." << turned[1];
    e->EntityStudioLight(5, 0);
    EXPECT_EQ(band(120)[0], -1) << "unlit";
    e->EntityStudioLight(5, 1);
    ASSERT_TRUE(e->EntityShape(5, 1, 20.0f));
    const std::vector<int> book = band(120);
    EXPECT_TRUE(book[0] == -1 && book[2] > 0) << "book: " << book[0] << " on a front " << book[2] << " wide";
}

}  // namespace
