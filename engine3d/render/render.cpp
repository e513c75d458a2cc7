// The scene pass: every entity placed relative to each camera's eye and its triangles sent
// down the triangle path; then two threads draw and resolve alternate rows.
#include "engine3d/render/render.h"

#include <algorithm>
#include <cmath>

#include "engine3d/render/parallel.h"
#include "engine3d/studio/studio.h"
#include "engine3d/render/triangle.h"

namespace engine3d {
namespace {

constexpr uint32_t background = 0;

}  // namespace

view make_view(const camera& cam, int32_t screen_width, int32_t screen_height) {
    // Clamped while still a float: a NaN or huge percentage has no integer.
    auto at = [](float percent, int32_t size) {
        float pixels = percent * float(size) / 100;
        return pixels > 0 ? int32_t(std::lround(std::min(pixels, float(size)))) : 0;
    };
    view out;
    out.rect = {at(cam.left, screen_width), at(cam.top, screen_height),
                at(cam.left + cam.width, screen_width), at(cam.top + cam.height, screen_height)};
    float width = float(out.rect.right - out.rect.left), height = float(out.rect.bottom - out.rect.top);
    out.centre_x = float(out.rect.left) + width / 2;
    out.centre_y = float(out.rect.top) + height / 2;
    out.half_width = width / 2;
    out.half_height = height / 2;
    out.focal_y = 1 / std::tan(field_of_view_degrees * 3.14159265f / 360);
    out.focal_x = height > 0 ? out.focal_y * height / width : 0;
    out.position = cam.position;
    return out;
}

namespace {

struct entity_pass {
    const context& engine;
    const view& viewer;
    const drawn_entity& drawn;
    const surface_role& role;
    std::vector<raster_job>& jobs;
    std::vector<vec3>& placed;  // the mesh's vertices relative to the eye
};

// A mirror image stands upside down below the plane; mirrored, its corners run the other
// way round, so two of them swap to keep its front faces in front.
void draw_entity(entity_pass& pass) {
    const entity& body = *pass.drawn.body;
    const mesh& shape = studio_shape(pass.engine, pass.drawn.number, body);
    placement place(body);
    const bool mirrored = pass.role.kind == paint_kind::mirror;
    const float plane_twice = 2 * pass.role.fade.plane_y;
    pass.placed.clear();
    for (const mesh_vertex& vertex : shape.vertices) {
        vec3 point = place(vertex.position);
        if (mirrored) point.y = plane_twice - point.y;
        pass.placed.push_back(point - pass.viewer.position);
    }
    const std::vector<mesh_vertex>& vertices = shape.vertices;
    const std::vector<uint32_t>& triangles = shape.triangles;
    const bool sleeved = shape.sleeve_from < triangles.size() / 3;
    const surface_role sleeve = sleeved ? sleeve_role(pass.role, pass.placed) : pass.role;
    for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
        view_triangle triangle;
        for (int k = 0; k < 3; ++k) {
            uint32_t index = triangles[i + (mirrored && k ? 3 - k : k)];
            triangle.corner[k] = pass.placed[index];
            triangle.vertex[k] = &vertices[index];
        }
        const surface_role& role = i / 3 >= shape.sleeve_from ? sleeve : pass.role;
        triangle_queue(pass.engine, pass.viewer, *pass.drawn.look, triangle, role, pass.jobs);
    }
}

}  // namespace

void collect_view(const context& engine, const view& viewer, std::vector<drawn_entity> drawn,
                  std::vector<raster_job>& jobs) {
    if (viewer.rect.right <= viewer.rect.left || viewer.rect.bottom <= viewer.rect.top) return;
    // Nearest entities first, so that hidden pixels of later ones fail the depth test early.
    auto distance = [&](const drawn_entity& e) {
        vec3 d = e.body->position - viewer.position;
        return dot(d, d);
    };
    std::sort(drawn.begin(), drawn.end(),
              [&](const drawn_entity& a, const drawn_entity& b) { return distance(a) < distance(b); });
    std::vector<vec3> placed;
    // Mirror images before everything: the receivers drawn over them let them through.
    for (const drawn_entity& entry : drawn) {
        surface_role role;
        if (!mirror_role(engine, viewer, entry, role)) continue;
        entity_pass pass{engine, viewer, entry, role, jobs, placed};
        draw_entity(pass);
    }
    for (const drawn_entity& entry : drawn) {
        const surface_role role = studio_role(engine, entry);
        if (entry.catcher_only && role.kind != paint_kind::catcher) continue;
        entity_pass pass{engine, viewer, entry, role, jobs, placed};
        draw_entity(pass);
    }
}

namespace {

struct frame_work {
    context& engine;
    const locked_surface& target;
};

void draw_rows(void* data, int32_t part) {
    auto* work = static_cast<frame_work*>(data);
    frame_buffer& frame = work->engine.frame;
    row_share rows{part, work_parts};
    frame_clear(frame, background, rows);
    for (const raster_job& job : work->engine.jobs) raster_triangle(frame, job.clip, job.corner, job.style, rows);
    surface_write_rows(work->target, frame, rows);
}

bool reuse_kept_frame(context& engine) {
    if (engine.kept.version != engine.version || engine.kept.restores != engine.screen.restores)
        return false;
    locked_surface target;
    if (!display_lock(engine.screen, target)) return false;
    bool reused = frame_reuse(engine.kept, target, engine.version);
    display_unlock(engine.screen);
    return reused;
}

// A render after a restore counts as a new picture even with the kept frame's pixels: the
// window may show what the lost memory held when it was presented.
bool draw_frame(context& engine) {
    display& screen = engine.screen;
    frame_resize(engine.frame, screen.width, screen.height);
    studio_prepare(engine);
    engine.jobs.clear();
    std::vector<drawn_entity> drawn;
    for (const auto& [number, body] : engine.entities) drawn.push_back({&body, body.look.get(), number});
    for (const auto& [number, eye] : engine.cameras)
        collect_view(engine, make_view(eye, screen.width, screen.height), drawn, engine.jobs);
    locked_surface target;
    if (!display_lock(screen, target)) return false;
    frame_work work{engine, target};
    run_in_parts(draw_rows, &work);
    const bool restored = engine.kept.restores != screen.restores;
    if (frame_keep(engine.kept, target, engine.version) || restored) ++engine.picture;
    engine.kept.restores = screen.restores;
    display_unlock(screen);
    return true;
}

}  // namespace

bool render_world(context& engine) {
    const uint32_t restores = engine.screen.restores;
    bool drawn = engine.screen.back && (reuse_kept_frame(engine) || draw_frame(engine));
    // A failed frame leaves whatever the buffer held; a restore took the window's picture.
    if (!drawn || restores != engine.screen.restores) ++engine.picture;
    return drawn;
}

}  // namespace engine3d
