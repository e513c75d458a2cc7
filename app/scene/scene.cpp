// Sends the scene to the engine. The engine keeps the objects; the application only re-sends
// the values it holds, so every call here is a full, absolute setting.
#include "app/scene/scene.h"

#include <algorithm>
#include <cmath>

#include "app/app_state.h"
#include "app/engine/engine.h"
#include "app/export/sets/view_set.h"
#include "app/export/stills/export_atlas.h"
#include "app/faces/face_atlas.h"
#include "runtime/core/core.h"
#include "runtime/screen/screen.h"

namespace {

constexpr const char* model_folder = "model\\";
constexpr float floor_scale = 15.0f;
constexpr float box_z = 20.0f;
constexpr float floor_y = -5.0f;
constexpr float lower_floor_drop = -10.0f;
constexpr int frame_rate = 50;
constexpr int bilinear_filtering = 1;
// Once "Box Heben/Senken" has moved it, the camera stands this far below the bar's value.
constexpr float camera_height_offset = -5.0f;

// The studio look: the shadow's darkness, and the reflection's strength where it starts and
// the share of the box's height over which it fades to nothing.
constexpr float shadow_strength = 0.5f;
constexpr float reflection_strength = 0.3f;
constexpr float reflection_fade = 0.5f;
// The level floor lies below the preview's view; with a shadow or a reflection it rises to
// the box's lowest point, so that the box stands on it. Floor heights lie on a grid of
// 1/65536 unit, rounded down: the relative moves then add up exactly, the floor comes back to
// its own depth to the bit, and the box never sinks into it.
constexpr float floor_grid = 65536.0f;

// Where the level floor stands now, and the box's tilt as last sent.
float lower_floor_y = floor_y + lower_floor_drop;
float box_tilt = 0.0f;

const int white = int(color_rgb(255, 255, 255));
const int rebuilt_box_ambient = int(color_rgb(100, 100, 100));

// Start-up and a rebuild after a face choice differ only here; a material made without the
// filtering call keeps the engine's default, which is the same bilinear filter.
void create_box_material(int ambient, bool set_filtering) {
    const engine_calls& e = engine.call;
    e.CreateMaterial(scene::box_material, app.box_texture);
    e.DisableMaterialLighting(scene::box_material, 1);
    e.MaterialAmbientColor(scene::box_material, ambient);
    e.MaterialSpecularColor(scene::box_material, white);
    if (set_filtering) e.MaterialFilteringMode(scene::box_material, bilinear_filtering);
}

void create_box_entity() {
    const engine_calls& e = engine.call;
    e.CreateEntity2(scene::box, e.MeshID(scene::box_mesh), e.MaterialID(scene::box_material),
                    0.0f, 0.0f, box_z);
}

void create_floor_material(int texture) {
    const engine_calls& e = engine.call;
    e.CreateMaterial(scene::floor_material, texture);
    e.DisableMaterialLighting(scene::floor_material, 1);
    e.MaterialAmbientColor(scene::floor_material, white);
    e.MaterialSpecularColor(scene::floor_material, white);
}

void create_floor_entities() {
    const engine_calls& e = engine.call;
    lower_floor_y = floor_y + lower_floor_drop;
    e.CreateEntity2(scene::floor, e.MeshID(scene::floor_mesh), e.MaterialID(scene::floor_material),
                    0.0f, floor_y, 0.0f);
    e.CopyEntity(scene::floor, scene::lower_floor);
    e.ScaleEntity(scene::floor, floor_scale, 1.0f, floor_scale);
    e.ScaleEntity(scene::lower_floor, floor_scale, 1.0f, floor_scale);
}

// A book's or a case's edges are painted over the stored atlas; the box shows it as stored.
int load_box_texture() {
    if (face_edges_painted() && engine.exports_ready)
        if (const int handle = shaped_atlas_texture(engine.exports, scene::box_texture)) return handle;
    return engine.call.LoadTexture(scene::box_texture, "cube1.jpg");
}

// The space the shape fills as the engine draws it: a size-bar step is one unit.
struct drawn_box {
    double width, height, depth;
};

drawn_box drawn_size() {
    const double step = size_step_mm(app.box);
    const box_size extent = shape_extent(app.shape, app.box);
    return {extent.width_mm / step, extent.height_mm / step, extent.depth_mm / step};
}

// The box's lowest point: its height and depth stand at the tilt about its width. Rounded,
// the box is a smaller one grown by the radius all round; a book's or a case's rounding lies
// across the width, where the tilt does not turn it.
float box_lowest_point() {
    const double tilt = double(box_tilt) * 3.14159265358979 / 180.0;
    const drawn_box drawn = drawn_size();
    double radius = 0;
    if (app.view.soft_edges && app.shape == box_shape::box)
        radius = soft_edge_share * std::min({drawn.depth, drawn.height, drawn.width});
    const double half_depth = drawn.depth / 2.0 - radius, half_height = drawn.height / 2.0 - radius;
    return -float(std::fabs(std::sin(tilt)) * half_depth + std::fabs(std::cos(tilt)) * half_height + radius);
}

void place_lower_floor() {
    const view_options& view = app.view;
    float target = floor_y + lower_floor_drop;
    if (engine.studio_ready && (view.shadow || view.reflection))
        target = std::floor(box_lowest_point() * floor_grid) / floor_grid;
    if (target == lower_floor_y) return;
    engine.call.MoveEntity(scene::lower_floor, 0.0f, target - lower_floor_y, 0.0f);
    lower_floor_y = target;
}

}  // namespace

void scene_create() {
    const engine_calls& e = engine.call;
    engine_add_archive(model_folder, 0);
    e.LoadMesh(scene::box_mesh, "box.mesh");
    e.LoadMesh(scene::floor_mesh, "land.mesh");
    app.box_texture = load_box_texture();
    const int floor_texture = e.LoadTexture(scene::floor_texture, "land.jpg");
    screen_set_frame_rate(frame_rate);

    create_box_material(white, true);
    create_floor_material(floor_texture);

    create_box_entity();
    create_floor_entities();
    e.RotateEntity(scene::box, 30.0f, 10.0f, 0.0f);
    e.RotateEntity(scene::floor, 0.0f, 90.0f, 0.0f);
    e.MoveEntity(scene::lower_floor, 0.0f, lower_floor_drop, 0.0f);
    e.RotateEntity(scene::lower_floor, 0.0f, 0.0f, 0.0f);

    e.CreateCamera(scene::camera, 0.0f, 0.0f, 100.0f, 100.0f);
    e.CameraLocate(scene::camera, 0.0f, float(app.camera_height), float(app.camera_distance));
    e.CreateLight2(scene::light, int(color_rgb(25, 25, 255)), 0.0f, 20.0f, 15.0f);
    e.LightLocate(scene::light, 2000.0f, 2000.0f, 2000.0f);
    apply_view_options();
}

// The engine reads the rewritten atlas anew; the box is made again around it.
void rebuild_box() {
    const engine_calls& e = engine.call;
    engine_add_archive(model_folder, 0);
    e.FreeEntity(scene::box);
    e.FreeMaterial(scene::box_material);
    e.FreeTexture(scene::box_texture);
    app.box_texture = load_box_texture();
    create_box_material(rebuilt_box_ambient, false);
    create_box_entity();
    apply_box_rotation();
    apply_box_size();
    apply_view_options();
}

// Texture, material and entities are created again under their numbers: the engine
// replaces what lived there.
void rebuild_floor() {
    const engine_calls& e = engine.call;
    create_floor_material(e.LoadTexture(scene::floor_texture, "land.jpg"));
    create_floor_entities();
    e.MoveEntity(scene::lower_floor, 0.0f, lower_floor_drop, 0.0f);
    e.RotateEntity(scene::floor, 0.0f, 90.0f, 0.0f);
    e.RotateEntity(scene::lower_floor, 0.0f, 0.0f, 0.0f);
    apply_view_options();
}

// The box casts its shadow on, and is mirrored in, the level floor it stands on.
void apply_view_options() {
    place_lower_floor();
    if (!engine.studio_ready) return;
    const engine_studio_calls& e = engine.studio;
    const view_options& view = app.view;
    e.EntityStudioLight(scene::box, view.light ? 1 : 0);
    e.EntityShadow(scene::box, scene::lower_floor, view.shadow ? shadow_strength : 0.0f);
    e.EntityMirror(scene::box, scene::lower_floor, view.reflection ? reflection_strength : 0.0f,
                   reflection_fade);
    e.EntityRoundEdges(scene::box, view.soft_edges ? soft_edge_share : 0.0f);
}

void apply_box_rotation() {
    app.offsets_shown = true;
    box_tilt = float(app.tilt_angle + app.tilt_offset);
    engine.call.RotateEntity(scene::box, float(app.turn_angle + app.turn_offset), 0.0f, box_tilt);
    place_lower_floor();
}

void apply_box_angles() {
    app.offsets_shown = false;
    box_tilt = float(app.tilt_angle);
    engine.call.RotateEntity(scene::box, float(app.turn_angle), 0.0f, box_tilt);
    place_lower_floor();
}

void apply_box_size() {
    const drawn_box drawn = drawn_size();
    if (engine.EntityShape)
        engine.EntityShape(scene::box, engine_shape_kind(app.shape), float(size_step_mm(app.box)));
    engine.call.ResizeEntity(scene::box, float(drawn.depth), float(drawn.height), float(drawn.width));
    place_lower_floor();
}

void apply_camera() {
    engine.call.CameraLocate(scene::camera, 0.0f, float(app.camera_height) + camera_height_offset,
                             float(app.camera_distance));
}

void pose_box(float turn, float tilt, float camera_elevation) {
    box_tilt = tilt;
    engine.call.RotateEntity(scene::box, turn, 0.0f, tilt);
    place_lower_floor();
    if (camera_elevation < 0) return apply_camera();
    const double distance = double(app.camera_distance) - box_z;
    const double height = distance * std::tan(double(camera_elevation) * 3.14159265358979 / 180.0);
    engine.call.CameraLocate(scene::camera, 0.0f, float(height), float(app.camera_distance));
}

void restore_box_pose() {
    if (app.offsets_shown) apply_box_rotation();
    else apply_box_angles();
    apply_camera();
}

void pose_set_view(const set_view& view) {
    if (view.as_shown) restore_box_pose();
    else pose_box(view.turn, view.tilt, view.camera_elevation);
}

uint32_t scene_draw() {
    screen_clear(color_rgb(0, 0, 0));
    if (!engine.ready || !engine.call.RenderWorld() || !engine.PictureNumber) return 0;
    return uint32_t(engine.PictureNumber());
}
