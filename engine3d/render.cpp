// The scene pass: entities transformed into view space, back faces dropped, triangles
// clipped against the near plane and a guard band, projected and given a mip level; then
// two threads draw and resolve alternate rows.
#include "engine3d/render.h"

#include <algorithm>
#include <cmath>

#include "engine3d/parallel.h"
#include "engine3d/shading.h"

namespace engine3d {
namespace {

constexpr float near_distance = 0.05f;
// Side planes lie at twice the viewport: fewer cuts, yet coordinates stay small enough for
// exact edge functions.
constexpr float guard_band = 2;
constexpr int max_polygon = 16;
constexpr uint32_t background = 0;

struct clip_vertex {
    float x, y, w, u, v;
};

struct clip_plane {
    float x, y, w, k;
    float distance(const clip_vertex& p) const { return x * p.x + y * p.y + w * p.w + k; }
};

const clip_plane clip_planes[] = {
    {0, 0, 1, -near_distance},
    {-1, 0, guard_band, 0}, {1, 0, guard_band, 0},
    {0, -1, guard_band, 0}, {0, 1, guard_band, 0},
};

struct view {
    pixel_rect rect;
    float centre_x, centre_y, half_width, half_height, focal_x, focal_y;
    vec3 eye;
};

view make_view(const camera& eye, int32_t screen_width, int32_t screen_height) {
    // Clamped while still a float: a NaN or huge percentage has no integer.
    auto at = [](float percent, int32_t size) {
        float pixels = percent * float(size) / 100;
        return pixels > 0 ? int32_t(std::lround(std::min(pixels, float(size)))) : 0;
    };
    view out;
    out.rect = {at(eye.left, screen_width), at(eye.top, screen_height),
                at(eye.left + eye.width, screen_width), at(eye.top + eye.height, screen_height)};
    float width = float(out.rect.right - out.rect.left), height = float(out.rect.bottom - out.rect.top);
    out.centre_x = float(out.rect.left) + width / 2;
    out.centre_y = float(out.rect.top) + height / 2;
    out.half_width = width / 2;
    out.half_height = height / 2;
    out.focal_y = 1 / std::tan(field_of_view_degrees * 3.14159265f / 360);
    out.focal_x = height > 0 ? out.focal_y * height / width : 0;
    out.eye = eye.position;
    return out;
}

int clip_against(const clip_vertex* in, int count, clip_vertex* out, const clip_plane& plane) {
    int made = 0;
    for (int i = 0; i < count; ++i) {
        const clip_vertex &a = in[i], &b = in[(i + 1) % count];
        float da = plane.distance(a), db = plane.distance(b);
        if (da >= 0) out[made++] = a;
        if ((da >= 0) != (db >= 0)) {
            float t = da / (da - db);
            out[made++] = {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.w + (b.w - a.w) * t,
                           a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t};
        }
    }
    return made;
}

int clip_polygon(clip_vertex* polygon, int count) {
    clip_vertex spare[max_polygon];
    for (const clip_plane& plane : clip_planes) {
        bool all_inside = true;
        for (int i = 0; i < count && all_inside; ++i) all_inside = plane.distance(polygon[i]) >= 0;
        if (all_inside) continue;
        count = clip_against(polygon, count, spare, plane);
        std::copy(spare, spare + count, polygon);
        if (count < 3) return 0;
    }
    return count;
}

float polygon_area(const raster_vertex* p, int count, float raster_vertex::*x, float raster_vertex::*y) {
    float twice = 0;
    for (int i = 0; i < count; ++i) {
        const raster_vertex &a = p[i], &b = p[(i + 1) % count];
        twice += a.*x * b.*y - b.*x * a.*y;
    }
    return std::fabs(twice) / 2;
}

// The level whose texels come closest to one per pixel.
size_t mip_level(const texture& image, const raster_vertex* p, int count) {
    float pixels = polygon_area(p, count, &raster_vertex::x, &raster_vertex::y);
    float texels = polygon_area(p, count, &raster_vertex::u, &raster_vertex::v) *
                   float(image.levels[0].width) * float(image.levels[0].height);
    if (!(pixels > 0) || !(texels > 0)) return 0;
    float level = std::round(0.5f * std::log2(texels / pixels));
    return size_t(std::min(std::max(level, 0.0f), float(image.levels.size() - 1)));
}

// Texel-space bounds of one triangle's picture, half a texel in so the filter stays inside.
void picture_bounds(raster_style& style, const mesh_vertex* const* corner) {
    const texture_level& level = *style.level;
    auto bound = [](float a, float b, float c, int32_t size, float& low, float& high) {
        low = std::min({a, b, c}) * float(size) + 0.5f;
        high = std::max({a, b, c}) * float(size) - 0.5f;
        low = std::min(std::max(low, 0.5f), float(size) - 0.5f);
        high = std::min(std::max(high, 0.5f), float(size) - 0.5f);
        if (high < low) low = high = (low + high) / 2;
    };
    bound(corner[0]->u, corner[1]->u, corner[2]->u, level.width, style.u_min, style.u_max);
    bound(corner[0]->v, corner[1]->v, corner[2]->v, level.height, style.v_min, style.v_max);
}

struct entity_pass {
    const context& engine;
    const view& eye;
    const entity& body;
    std::vector<raster_job>& jobs;
    std::vector<vec3>& placed;  // the mesh's vertices relative to the eye
};

void draw_triangle(entity_pass& pass, const uint32_t* index) {
    const mesh_vertex* corner[3] = {&pass.body.shape->vertices[index[0]],
                                    &pass.body.shape->vertices[index[1]],
                                    &pass.body.shape->vertices[index[2]]};
    vec3 a = pass.placed[index[0]], b = pass.placed[index[1]], c = pass.placed[index[2]];
    vec3 normal = cross(b - a, c - a);
    if (dot(normal, a) >= 0) return;

    clip_vertex polygon[max_polygon];
    const vec3* points[3] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i)
        polygon[i] = {points[i]->x * pass.eye.focal_x, points[i]->y * pass.eye.focal_y, -points[i]->z,
                      corner[i]->u, corner[i]->v};
    int count = clip_polygon(polygon, 3);
    if (!count) return;

    raster_vertex projected[max_polygon];
    for (int i = 0; i < count; ++i) {
        float z = 1 / polygon[i].w;
        projected[i] = {pass.eye.centre_x + polygon[i].x * z * pass.eye.half_width,
                        pass.eye.centre_y - polygon[i].y * z * pass.eye.half_height, z,
                        polygon[i].u * z, polygon[i].v * z};
    }
    const material& look = *pass.body.look;
    const texture& image = *look.image;
    raster_vertex unit[max_polygon];
    for (int i = 0; i < count; ++i)
        unit[i] = {projected[i].x, projected[i].y, projected[i].z, polygon[i].u, polygon[i].v};
    raster_style style;
    style.level = &image.levels[mip_level(image, unit, count)];
    style.bilinear = look.filtering != filter_nearest;
    style.tint = look.lit ? light_tint(pass.engine, look, normal, a + pass.eye.eye, pass.eye.eye) : 0xFFFFFF;
    picture_bounds(style, corner);
    for (int i = 0; i < count; ++i)
        projected[i].u *= float(style.level->width), projected[i].v *= float(style.level->height);
    for (int i = 2; i < count; ++i)
        pass.jobs.push_back({{projected[0], projected[i - 1], projected[i]}, style, pass.eye.rect});
}

void draw_entity(entity_pass& pass) {
    const entity& body = pass.body;
    mat3 turn = rotation_degrees(body.angles);
    vec3 factor = scaled(body.scale, body.size);
    pass.placed.clear();
    for (const mesh_vertex& vertex : body.shape->vertices)
        pass.placed.push_back(turn * scaled(vertex.position, factor) + body.position - pass.eye.eye);
    const std::vector<uint32_t>& triangles = body.shape->triangles;
    for (size_t i = 0; i + 2 < triangles.size(); i += 3) draw_triangle(pass, &triangles[i]);
}

void collect_view(const context& engine, const view& eye, std::vector<raster_job>& jobs) {
    if (eye.rect.right <= eye.rect.left || eye.rect.bottom <= eye.rect.top) return;
    // Nearest entities first, so that hidden pixels of later ones fail the depth test early.
    std::vector<const entity*> order;
    for (const auto& [number, body] : engine.entities) order.push_back(&body);
    auto distance = [&](const entity* e) { vec3 d = e->position - eye.eye; return dot(d, d); };
    std::sort(order.begin(), order.end(), [&](const entity* a, const entity* b) { return distance(a) < distance(b); });
    std::vector<vec3> placed;
    for (const entity* body : order) {
        entity_pass pass{engine, eye, *body, jobs, placed};
        draw_entity(pass);
    }
}

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
    if (engine.kept.version != engine.version) return false;
    locked_surface target;
    if (!display_lock(engine.screen, target)) return false;
    bool reused = frame_reuse(engine.kept, target, engine.version);
    display_unlock(engine.screen);
    return reused;
}

}  // namespace

bool render_world(context& engine) {
    display& screen = engine.screen;
    if (!screen.back) return false;
    if (reuse_kept_frame(engine)) return true;
    frame_resize(engine.frame, screen.width, screen.height);
    engine.jobs.clear();
    for (const auto& [number, eye] : engine.cameras)
        collect_view(engine, make_view(eye, screen.width, screen.height), engine.jobs);
    locked_surface target;
    if (!display_lock(screen, target)) return false;
    frame_work work{engine, target};
    run_in_parts(draw_rows, &work);
    frame_keep(engine.kept, target, engine.version);
    display_unlock(screen);
    return true;
}

}  // namespace engine3d
