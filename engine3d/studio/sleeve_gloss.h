// The studio's lights as a clear plastic sleeve mirrors them. Beside the camera stand two
// tall strip lights, one on either side, as product photographers set them up for glossy
// packaging, and above the front hangs the key light's large softbox. The strips stand
// near the product, so where their highlight falls depends on the point of the sleeve as
// well as on its turn: a turning case sweeps it across. A sleeve reflects what lies along
// the eye's ray mirrored in it, by Fresnel's share for plastic: little seen straight on,
// much at a glancing angle. Host-neutral: directions in, brightness out.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine3d/math3d.h"
#include "engine3d/render/raster.h"
#include "engine3d/studio/shadow_map.h"

namespace engine3d {

// The strips' place and size in reaches of what the sleeve wraps: the right one stands
// `strip_distance` from its middle towards (strip_x, 0, strip_z), the left one mirrored.
constexpr float strip_x = 0.883f, strip_z = 0.469f;  // 62 degrees off the camera's axis
constexpr float strip_distance = 3.0f, strip_half_width = 0.12f, strip_low = -2.0f, strip_high = 3.0f;
// Edges fade over this share of a strip's half width, and over a tenth of a reach at its ends.
constexpr float strip_edge = 0.7f, strip_end = 0.1f;
// The softbox, far off: cosines of the angle to its middle where it is fully lit and where it ends.
inline const vec3 softbox_towards = normalized(key_light_towards);
constexpr float softbox_full = 0.961f, softbox_out = 0.866f;  // 16 and 30 degrees
// Lights shine this many times as bright as what lights a white picture; plastic mirrors
// 4 % of it straight on.
constexpr float softbox_radiance = 3.0f, strip_radiance = 11.0f, plastic_reflectance = 0.04f;

// 0 up to `out`, 1 from `full`, smooth between (out < full).
inline float smooth_window(float value, float out, float full) {
    const float t = std::min(std::max((value - out) / (full - out), 0.0f), 1.0f);
    return t * t * (3 - 2 * t);
}

// The light of an upright strip whose foot stands at `foot` (the middle's height), as the ray
// from `point` along `r` meets it; all in reaches. `along_floor` is r's length across the
// floor squared, more than 0.
inline float strip_light(vec3 point, vec3 r, float along_floor, vec3 foot) {
    const float dx = foot.x - point.x, dz = foot.z - point.z;
    const float t = (dx * r.x + dz * r.z) / along_floor;
    if (!(t > 0)) return 0;
    const float off = std::fabs(dx * r.z - dz * r.x) / std::sqrt(along_floor);
    const float height = point.y + t * r.y - foot.y;
    const float across =
        1 - smooth_window(off, strip_half_width * (1 - strip_edge), strip_half_width * (1 + strip_edge));
    const float upright = smooth_window(height, strip_low - strip_end, strip_low) *
                          (1 - smooth_window(height, strip_high, strip_high + strip_end));
    return across * upright;
}

// How much brighter, from 0 to 255, the sleeve shows where the ray (x, y, -1) meets it at
// `distance` ahead of the eye.
inline uint32_t sleeve_highlight(const sleeve_view& view, float ray_x, float ray_y, float distance) {
    const vec3 ray{ray_x, ray_y, -1};
    const vec3 eye_ray = normalized(ray);
    const float facing = std::max(-dot(eye_ray, view.normal), 0.0f);
    const vec3 r = eye_ray + view.normal * (2 * facing);
    const vec3 point = (ray * distance - view.centre) * view.reach_scale;
    constexpr vec3 right{strip_x * strip_distance, 0, strip_z * strip_distance}, left{-right.x, 0, right.z};
    float light = softbox_radiance * smooth_window(dot(r, softbox_towards), softbox_out, softbox_full);
    const float along_floor = r.x * r.x + r.z * r.z;
    if (along_floor > 0)
        light += strip_radiance * (strip_light(point, r, along_floor, right) + strip_light(point, r, along_floor, left));
    const float glance = 1 - facing, glance5 = glance * glance * glance * glance * glance;
    const float mirrored = (plastic_reflectance + (1 - plastic_reflectance) * glance5) * light;
    return uint32_t(std::min(mirrored, 1.0f) * 255 + 0.5f);
}

// Each channel raised by `add`, white at most.
inline uint32_t brightened(uint32_t colour, uint32_t add) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) out |= std::min((colour >> shift & 0xFF) + add, 255u) << shift;
    return out;
}

}  // namespace engine3d
