// Per-triangle lighting of lit materials.
#include "engine3d/render/lighting.h"

#include <algorithm>
#include <cmath>

namespace engine3d {
namespace {

constexpr float ambient_share = 0.35f;
constexpr float shininess = 16;

// The studio rig: a key light from the upper front right of the program's start view (the
// front, turned to the camera's right, faces it), a soft fill from above and a floor of
// ambient light. The face turned to the key shows its picture within a hundredth; a rounded
// edge turned closer to the key reaches 1 and shows as a fine highlight.
const vec3 key_light = normalized(key_light_towards);
constexpr float studio_ambient = 0.76f;
constexpr float studio_key = 0.273f;
constexpr float studio_fill = 0.04f;

vec3 channels(uint32_t colour) {
    return {float(colour & 0xFF) / 255, float(colour >> 8 & 0xFF) / 255, float(colour >> 16 & 0xFF) / 255};
}

uint32_t packed_rgb(vec3 c) {
    auto byte = [](float v) { return uint32_t(std::min(std::max(v, 0.0f), 1.0f) * 255 + 0.5f); };
    return byte(c.x) << 16 | byte(c.y) << 8 | byte(c.z);
}

}  // namespace

uint32_t lighting_factor(const context& engine, const material& look, vec3 normal, vec3 point,
                         vec3 eye) {
    vec3 n = normalized(normal);
    vec3 to_eye = normalized(eye - point);
    vec3 sum = channels(look.ambient) * ambient_share;
    vec3 shine = channels(look.specular);
    for (const auto& [number, source] : engine.lights) {
        vec3 to_light = normalized(source.position - point);
        float diffuse = std::max(dot(n, to_light), 0.0f);
        float specular = diffuse > 0 ? std::pow(std::max(dot(n, normalized(to_light + to_eye)), 0.0f), shininess) : 0;
        vec3 colour = channels(source.colour);
        sum = sum + scaled(colour, vec3{1, 1, 1} * diffuse + shine * specular);
    }
    return packed_rgb(sum);
}

uint32_t studio_light_factor(vec3 normal) {
    vec3 n = normalized(normal);
    float key = std::max(dot(n, key_light), 0.0f);
    float fill = (1 + n.y) / 2;
    float grey = std::min(studio_ambient + studio_key * key + studio_fill * fill, 1.0f);
    return packed_rgb({grey, grey, grey});
}

}  // namespace engine3d
