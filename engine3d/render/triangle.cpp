// The triangle path in the order a triangle passes it: cull, to clip space, clip, project,
// choose the mip level, queue the fan for rasterising. Texture coordinates start as
// fractions of the picture, are divided by distance when projected and become texels of
// the level once it is chosen; the studio look's values go the same way.
#include "engine3d/render/triangle.h"

#include <algorithm>
#include <cmath>

#include "engine3d/render/lighting.h"

namespace engine3d {
namespace {

constexpr float near_distance = 0.05f;
// Side planes lie at twice the viewport: fewer cuts, yet coordinates stay small enough for
// exact edge functions.
constexpr float guard_band = 2;
constexpr int max_polygon = 16;

// x and y scaled by the focal lengths, w the distance ahead of the eye; u and v still
// fractions of the picture.
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

vec3 face_normal(const view_triangle& triangle) {
    const vec3* p = triangle.corner;
    return cross(p[1] - p[0], p[2] - p[0]);
}

// The eye lies at the origin, so a front face's normal points back towards it.
bool faces_away(const view_triangle& triangle, vec3 normal) {
    return dot(normal, triangle.corner[0]) >= 0;
}

void to_clip_space(const view& viewer, const view_triangle& triangle, clip_vertex* polygon) {
    for (int i = 0; i < 3; ++i) {
        const vec3& p = triangle.corner[i];
        polygon[i] = {p.x * viewer.focal_x - viewer.shift_x * p.z, p.y * viewer.focal_y - viewer.shift_y * p.z,
                      -p.z, triangle.vertex[i]->u, triangle.vertex[i]->v};
    }
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

// The corners left, 0 when fewer than three remain.
int clip(clip_vertex* polygon, int count) {
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

// Texture coordinates divided by distance, still fractions of the picture.
void project(const view& viewer, const clip_vertex* polygon, int count, raster_vertex* screen) {
    for (int i = 0; i < count; ++i) {
        float z = 1 / polygon[i].w;
        screen[i] = {viewer.centre_x + polygon[i].x * z * viewer.half_width,
                     viewer.centre_y - polygon[i].y * z * viewer.half_height, z,
                     polygon[i].u * z, polygon[i].v * z};
    }
}

template <typename Vertex>
float polygon_area(const Vertex* p, int count, float Vertex::*x, float Vertex::*y) {
    float twice = 0;
    for (int i = 0; i < count; ++i) {
        const Vertex &a = p[i], &b = p[(i + 1) % count];
        twice += a.*x * b.*y - b.*x * a.*y;
    }
    return std::fabs(twice) / 2;
}

// The level whose texels come closest to one per pixel: the screen area against the
// picture's area in texels of the full-size level.
const texture_level& choose_mip_level(const texture& image, const raster_vertex* screen,
                                      const clip_vertex* polygon, int count) {
    float pixels = polygon_area(screen, count, &raster_vertex::x, &raster_vertex::y);
    float texels = polygon_area(polygon, count, &clip_vertex::u, &clip_vertex::v) *
                   float(image.levels[0].width) * float(image.levels[0].height);
    if (!(pixels > 0) || !(texels > 0)) return image.levels[0];
    float level = std::round(0.5f * std::log2(texels / pixels));
    return image.levels[size_t(std::min(std::max(level, 0.0f), float(image.levels.size() - 1)))];
}

// Texel bounds of one triangle's picture, half a texel in so the filter stays inside.
void picture_bounds(raster_style& style, const view_triangle& triangle) {
    const texture_level& level = *style.level;
    const mesh_vertex* const* p = triangle.vertex;
    auto bound = [](float a, float b, float c, int32_t size, float& low, float& high) {
        low = std::min({a, b, c}) * float(size) + 0.5f;
        high = std::max({a, b, c}) * float(size) - 0.5f;
        low = std::min(std::max(low, 0.5f), float(size) - 0.5f);
        high = std::min(std::max(high, 0.5f), float(size) - 0.5f);
        if (high < low) low = high = (low + high) / 2;
    };
    bound(p[0]->u, p[1]->u, p[2]->u, level.width, style.u_min, style.u_max);
    bound(p[0]->v, p[1]->v, p[2]->v, level.height, style.v_min, style.v_max);
}

// A mirror image's face takes the lighting of the face it mirrors.
uint32_t lighting_of(const context& engine, const view& viewer, const material& look,
                     const view_triangle& triangle, vec3 normal, const surface_role& role) {
    vec3 point = triangle.corner[0] + viewer.position;
    if (role.kind == paint_kind::mirror) {
        normal.y = -normal.y;
        point.y = 2 * role.fade.plane_y - point.y;
    }
    if (role.studio_lit) return studio_light_factor(normal);
    return look.lit ? lighting_factor(engine, look, normal, point, viewer.position) : unlit;
}

// The eye's ray through each pixel of the view, from the way project() maps a point.
sleeve_view sleeve_of(const view& viewer, vec3 normal, const surface_role& role) {
    sleeve_view s;
    s.ray_dx = 1 / (viewer.half_width * viewer.focal_x);
    s.ray_x0 = (-viewer.centre_x / viewer.half_width - viewer.shift_x) / viewer.focal_x;
    s.ray_dy = -1 / (viewer.half_height * viewer.focal_y);
    s.ray_y0 = (viewer.centre_y / viewer.half_height - viewer.shift_y) / viewer.focal_y;
    s.normal = normalized(normal);
    s.centre = role.sleeve_centre;
    s.reach_scale = role.sleeve_reach > 0 ? 1 / role.sleeve_reach : 0;
    return s;
}

raster_style style_of(const context& engine, const view& viewer, const material& look,
                      const texture_level& level, const view_triangle& triangle, vec3 normal,
                      const surface_role& role) {
    raster_style style;
    style.level = &level;
    style.bilinear = look.filtering != filter_nearest;
    style.lighting = lighting_of(engine, viewer, look, triangle, normal, role);
    picture_bounds(style, triangle);
    style.kind = role.kind;
    // A weight of 1 would read as an opaque paint.
    style.weight_limit = std::min(role.fade.strength, 254.0f / 255);
    style.shadow = role.shadow;
    if (role.kind == paint_kind::sleeve) style.sleeve = sleeve_of(viewer, normal, role);
    return style;
}

// From fractions of the picture to texels of the chosen level, still divided by distance.
void to_texel_space(raster_vertex* screen, int count, const texture_level& level) {
    for (int i = 0; i < count; ++i)
        screen[i].u *= float(level.width), screen[i].v *= float(level.height);
}

void queue_fan(const view& viewer, const raster_vertex* screen, int count,
               const raster_style& style, std::vector<raster_job>& jobs) {
    for (int i = 2; i < count; ++i)
        jobs.push_back({{screen[0], screen[i - 1], screen[i]}, style, viewer.rect});
}

// The studio look's values at each corner, divided by distance as the texture coordinates
// are: a mirror image's weight, or a shadow map's texel coordinates.
void add_studio_values(const view& viewer, const surface_role& role, const raster_style& style,
                       const clip_vertex* polygon, int count, raster_vertex* screen) {
    for (int i = 0; i < count; ++i) {
        const clip_vertex& p = polygon[i];
        vec3 world{(p.x - viewer.shift_x * p.w) / viewer.focal_x + viewer.position.x,
                   (p.y - viewer.shift_y * p.w) / viewer.focal_y + viewer.position.y, viewer.position.z - p.w};
        if (style.kind == paint_kind::mirror) {
            const mirror_fade& f = role.fade;
            float below_image_top = 2 * f.plane_y - world.y - f.lowest;
            screen[i].a = f.strength * (1 - below_image_top / f.length) * screen[i].z;
        } else if (style.shadow) {
            const shadow_map& map = *style.shadow;
            screen[i].a = ((world.x - map.left) / map.texel - 0.5f) * screen[i].z;
            screen[i].b = ((world.z - map.back) / map.texel - 0.5f) * screen[i].z;
        }
    }
}

void queue_piece(const view& viewer, const clip_vertex* polygon, int count, const texture_level& level,
                 const raster_style& style, const surface_role& role, std::vector<raster_job>& jobs) {
    raster_vertex screen[max_polygon];
    project(viewer, polygon, count, screen);
    add_studio_values(viewer, role, style, polygon, count, screen);
    to_texel_space(screen, count, level);
    queue_fan(viewer, screen, count, style, jobs);
}

// The sides of a shadow map's square on the plane, as planes in clip space.
void map_sides(const view& viewer, const shadow_map& map, clip_plane* sides) {
    const float extent = map.texel * float(shadow_map_size);
    const vec3& eye = viewer.position;
    const float shift = viewer.shift_x / viewer.focal_x;
    sides[0] = {1 / viewer.focal_x, 0, -shift, eye.x - map.left};
    sides[1] = {-1 / viewer.focal_x, 0, shift, map.left + extent - eye.x};
    sides[2] = {0, 0, -1, eye.z - map.back};
    sides[3] = {0, 0, 1, map.back + extent - eye.z};
}

// A catcher draws only what its shadow map covers: its polygon is cut to the map's square.
void queue_caught_part(const view& viewer, const clip_vertex* polygon, int count, const texture_level& level,
                       const raster_style& style, const surface_role& role, std::vector<raster_job>& jobs) {
    clip_plane sides[4];
    map_sides(viewer, *role.shadow, sides);
    clip_vertex inside[max_polygon], spare[max_polygon];
    std::copy(polygon, polygon + count, inside);
    for (const clip_plane& side : sides) {
        count = clip_against(inside, count, spare, side);
        if (count < 3) return;
        std::copy(spare, spare + count, inside);
    }
    queue_piece(viewer, inside, count, level, style, role, jobs);
}

}  // namespace

void triangle_queue(const context& engine, const view& viewer, const material& look,
                    const view_triangle& triangle, const surface_role& role,
                    std::vector<raster_job>& jobs) {
    vec3 normal = face_normal(triangle);
    if (faces_away(triangle, normal)) return;
    clip_vertex polygon[max_polygon];
    to_clip_space(viewer, triangle, polygon);
    int count = clip(polygon, 3);
    if (!count) return;
    raster_vertex screen[max_polygon];
    project(viewer, polygon, count, screen);
    const texture_level& level = choose_mip_level(*look.image, screen, polygon, count);
    const raster_style style = style_of(engine, viewer, look, level, triangle, normal, role);
    if (role.kind == paint_kind::catcher) return queue_caught_part(viewer, polygon, count, level, style, role, jobs);
    if (role.kind != paint_kind::opaque && role.kind != paint_kind::sleeve)
        add_studio_values(viewer, role, style, polygon, count, screen);
    to_texel_space(screen, count, level);
    queue_fan(viewer, screen, count, style, jobs);
}

}  // namespace engine3d
