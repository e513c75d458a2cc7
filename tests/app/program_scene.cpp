// The engine is started once for every test of the program: its scene outlives each test.
#include "tests/app/program_scene.h"

#include "runtime/core/windows_host.h"

#include "app/engine/engine.h"
#include "app/scene/scene.h"
#include "runtime/core/core.h"
#include "runtime/image/image.h"

// The program's numbers, as its main file holds them.
app_state app;

namespace {

constexpr object_number work_image = 61;

// 0x00RRGGBB to the drawing's colour.
uint32_t drawn_colour(uint32_t rgb) { return color_rgb(int32_t(rgb >> 16), int32_t(rgb >> 8 & 0xFF), int32_t(rgb & 0xFF)); }

bool save_picture(const char* name, int32_t width, int32_t height, uint32_t plugin, bool faces) {
    if (!image_create(work_image, width, height)) return false;
    draw_begin(image_output(work_image));
    draw_box(0, 0, width, height, drawn_colour(faces ? 0x808080 : 0xFFFFFF));
    for (int f = 0; faces && f < face_count; ++f) {
        const face_rectangle& r = face_rectangles[f];
        draw_box(r.x, r.y, r.width, r.height, drawn_colour(face_colours[f]));
    }
    draw_end();
    const bool saved = image_save(work_image, name, plugin, 10) == 1;
    image_free(work_image);
    return saved;
}

}  // namespace

bool start_program_scene() {
    static const bool started = [] {
        CreateDirectoryA("model", nullptr);
        // The engine tells pictures by their signature, not their names.
        if (!save_picture("model\\cube1.jpg", atlas_width, atlas_height, plugin_bmp, true) ||
            !save_picture("model\\land.jpg", 64, 64, plugin_jpeg, false))
            return false;
        engine_load();
        engine_bind_camera(), engine_bind_texture(), engine_bind_entity(), engine_bind_light();
        engine_bind_material(), engine_bind_mesh(), engine_bind_world();
        if (!engine_init() || !engine.exports_ready || !engine.studio_ready) return false;
        app.camera_distance = 47;
        app.camera_height = 5;
        app.turn_angle = start_turn_angle;
        scene_create();
        for (int entity : program_scene.backdrop) engine.exports.ExportHideEntity(entity, 1);
        return true;
    }();
    return started;
}
