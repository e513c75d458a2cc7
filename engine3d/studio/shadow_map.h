// Soft shadows on a level plane, in a small map over the plane's x and z: for each caster a
// contact shadow along where it touches the plane, and the key light's soft shadow, falling
// away from the light and blurred the more the higher the caster floats.
// Host-neutral: points in, shares of darkness out.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine3d/math3d.h"

namespace engine3d {

// The key shadows' grid: they are smooth, and 64 texels keep them so at a quarter of the
// work of 128; the contact shadows' grid is finer, over the smaller square that holds them.
constexpr int32_t shadow_map_size = 64;
constexpr int32_t contact_map_size = 128;

// Towards the studio rig's key light, from the upper front right of the program's start
// view; the rig lights by it and the key shadow falls away from it.
constexpr vec3 key_light_towards{0.45f, 0.75f, 0.78f};

struct shadow_caster {
    std::vector<vec3> points;  // world positions of the caster's vertices
    float strength;            // darkness under a caster standing on the plane, wide enough to cover it
};

// Texel (i, j) covers world x from left + i * texel and z from back + j * texel; each value
// is the share of the floor's light taken away there, 0 along the border. Contact shadows
// lie on a finer grid of their own over the square that holds them.
struct shadow_map {
    float left = 0, back = 0, texel = 1;
    std::vector<float> values;   // shadow_map_size rows of shadow_map_size
    std::vector<float> contact;  // contact_map_size rows, or empty when no caster touches the plane
    // Texel coordinates of the contact grid from those of the map: times scale, plus x and y.
    float contact_scale = 1, contact_x = 0, contact_y = 0;
    // What it was made from, so that an unchanged shadow is not made again.
    float plane_y = 0;
    std::vector<shadow_caster> casters;
};

// The map of every caster over the plane y = plane_y; false when none lies above it.
bool shadow_map_build(float plane_y, const std::vector<shadow_caster>& casters, shadow_map& map);

// Bilinear at texel coordinates whose integers are texel centres, on a grid of n x n; 0
// beyond it.
inline float grid_at(const std::vector<float>& values, int32_t n, float x, float y) {
    const float last = float(n - 1);
    x = std::min(last, std::max(0.0f, x));
    y = std::min(last, std::max(0.0f, y));
    int32_t x0 = std::min(int32_t(x), n - 2), y0 = std::min(int32_t(y), n - 2);
    float fx = x - float(x0), fy = y - float(y0);
    const float* row = &values[size_t(y0) * n + x0];
    float upper = row[0] + (row[1] - row[0]) * fx;
    float lower = row[n] + (row[n + 1] - row[n]) * fx;
    return upper + (lower - upper) * fy;
}

// The share of light taken at the map's texel coordinates, both grids together.
inline float shadow_at(const shadow_map& map, float x, float y) {
    constexpr float last = float(contact_map_size - 1);
    const float wide = grid_at(map.values, shadow_map_size, x, y);
    if (map.contact.empty()) return wide;
    const float cx = x * map.contact_scale + map.contact_x, cy = y * map.contact_scale + map.contact_y;
    // Beyond the contact grid's border, which is 0, nothing is looked up.
    if (!(cx > 0 && cx < last && cy > 0 && cy < last)) return wide;
    return 1 - (1 - wide) * (1 - grid_at(map.contact, contact_map_size, cx, cy));
}

}  // namespace engine3d
