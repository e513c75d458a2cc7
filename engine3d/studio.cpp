// The studio look's settings turned into what one render needs: shadow maps per receiver,
// made once per scene version, and the role of each drawn entity.
#include "engine3d/studio.h"

#include <algorithm>

namespace engine3d {
namespace {

std::vector<vec3> world_points(const entity& body) {
    placement place(body);
    std::vector<vec3> points;
    points.reserve(body.shape->vertices.size());
    for (const mesh_vertex& vertex : body.shape->vertices) points.push_back(place(vertex.position));
    return points;
}

// An effect that draws something: on, and both its entity and its receiver exist.
const entity* receiver_of(const context& engine, int32_t number, const plane_effect& effect) {
    if (!(effect.strength > 0) || number == effect.receiver || !find_number(engine.entities, number))
        return nullptr;
    return find_number(engine.entities, effect.receiver);
}

bool receives_mirror_image(const context& engine, int32_t number) {
    for (const auto& [mirrored, effect] : engine.studio.mirrors)
        if (effect.receiver == number && effect.fade > 0 && receiver_of(engine, mirrored, effect)) return true;
    return false;
}

}  // namespace

void studio_prepare(context& engine) {
    studio_maps& maps = engine.maps;
    if (maps.version == engine.version) return;
    maps.shadows.clear();
    std::map<int32_t, std::vector<shadow_caster>> casters;
    for (const auto& [number, effect] : engine.studio.shadows)
        if (receiver_of(engine, number, effect))
            casters[effect.receiver].push_back({world_points(engine.entities.at(number)), effect.strength});
    for (const auto& [receiver, list] : casters) {
        shadow_map map;
        if (shadow_map_build(engine.entities.at(receiver).position.y, list, map))
            maps.shadows[receiver] = std::move(map);
    }
    maps.version = engine.version;
}

surface_role studio_role(const context& engine, const drawn_entity& entry) {
    surface_role role;
    role.studio_lit = engine.studio.lit.count(entry.number) > 0;
    auto map = engine.maps.shadows.find(entry.number);
    role.shadow = map == engine.maps.shadows.end() ? nullptr : &map->second;
    if (entry.catcher_only) role.kind = role.shadow ? paint_kind::catcher : paint_kind::opaque;
    else if (role.shadow || receives_mirror_image(engine, entry.number)) role.kind = paint_kind::receiver;
    return role;
}

bool mirror_role(const context& engine, const view& viewer, const drawn_entity& entry, surface_role& role) {
    auto setting = engine.studio.mirrors.find(entry.number);
    if (entry.catcher_only || setting == engine.studio.mirrors.end()) return false;
    const plane_effect& effect = setting->second;
    const entity* receiver = receiver_of(engine, entry.number, effect);
    if (!receiver || !(effect.fade > 0) || !(viewer.position.y > receiver->position.y)) return false;
    std::vector<vec3> points = world_points(*entry.body);
    if (points.empty()) return false;
    auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                           [](vec3 a, vec3 b) { return a.y < b.y; });
    role.kind = paint_kind::mirror;
    role.studio_lit = engine.studio.lit.count(entry.number) > 0;
    role.fade = {receiver->position.y, low->y, std::max(effect.fade * (high->y - low->y), 1e-3f),
                 effect.strength};
    return true;
}

}  // namespace engine3d
