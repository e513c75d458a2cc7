// The studio look's settings turned into what one render needs: shadow maps per receiver,
// made once per scene version, and the role of each drawn entity.
#include "engine3d/studio/studio.h"

#include <algorithm>
#include <cmath>

#include "engine3d/shapes/rounded_box.h"
#include "engine3d/shapes/shaped_box.h"

namespace engine3d {
namespace {

std::vector<vec3> world_points(const context& engine, int32_t number, const entity& body) {
    placement place(body);
    const mesh& shape = studio_shape(engine, number, body);
    std::vector<vec3> points;
    points.reserve(shape.vertices.size());
    for (const mesh_vertex& vertex : shape.vertices) points.push_back(place(vertex.position));
    return points;
}

bool same(vec3 a, vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// A map made from the same casters over the same plane: a scene change that moved none of
// them, such as the camera's, keeps it.
bool same_shadow(const shadow_map& map, float plane_y, const std::vector<shadow_caster>& casters) {
    if (map.plane_y != plane_y || map.casters.size() != casters.size()) return false;
    for (size_t i = 0; i < casters.size(); ++i) {
        const shadow_caster &a = map.casters[i], &b = casters[i];
        if (a.strength != b.strength || a.points.size() != b.points.size()) return false;
        for (size_t k = 0; k < a.points.size(); ++k)
            if (!same(a.points[k], b.points[k])) return false;
    }
    return true;
}

// Kept while the entity's mesh, drawn size and share stay; a mesh that is no box has none,
// and a book or case, drawn from its shaped mesh, needs none.
void prepare_rounded(context& engine) {
    std::map<int32_t, rounded_shape> kept;
    for (const auto& [number, share] : engine.studio.rounded) {
        const entity* body = find_number(engine.entities, number);
        if (!body || engine.studio.shapes.count(number)) continue;
        const vec3 factor = scaled(body->scale, body->size);
        auto old = engine.maps.rounded.find(number);
        if (old != engine.maps.rounded.end() && old->second.source == body->shape && same(old->second.factor, factor) &&
            old->second.share == share) {
            kept[number] = std::move(old->second);
            continue;
        }
        auto shape = std::make_shared<mesh>();
        if (rounded_box(*body->shape, factor, share, *shape)) kept[number] = {body->shape, factor, share, shape};
    }
    engine.maps.rounded.swap(kept);
}

// Kept while the entity's mesh, drawn size, form and softness stay; a mesh that is no box
// has none. Soft is what "rounded edges" asks of the entity.
void prepare_shaped(context& engine) {
    std::map<int32_t, shaped_mesh> kept;
    for (const auto& [number, form] : engine.studio.shapes) {
        const entity* body = find_number(engine.entities, number);
        if (!body) continue;
        const vec3 factor = scaled(body->scale, body->size);
        const bool soft = engine.studio.rounded.count(number) > 0;
        auto old = engine.maps.shaped.find(number);
        if (old != engine.maps.shaped.end() && old->second.source == body->shape && same(old->second.factor, factor) &&
            old->second.form == form && old->second.soft == soft) {
            kept[number] = std::move(old->second);
            continue;
        }
        auto shape = std::make_shared<mesh>();
        if (shaped_box(*body->shape, factor, form, soft, *shape)) kept[number] = {body->shape, factor, form, soft, shape};
    }
    engine.maps.shaped.swap(kept);
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
    prepare_rounded(engine);
    prepare_shaped(engine);
    std::map<int32_t, std::vector<shadow_caster>> casters;
    for (const auto& [number, effect] : engine.studio.shadows)
        if (receiver_of(engine, number, effect))
            casters[effect.receiver].push_back({world_points(engine, number, engine.entities.at(number)), effect.strength});
    std::map<int32_t, shadow_map> made;
    for (auto& [receiver, list] : casters) {
        const float plane_y = engine.entities.at(receiver).position.y;
        auto old = maps.shadows.find(receiver);
        if (old != maps.shadows.end() && same_shadow(old->second, plane_y, list)) {
            made[receiver] = std::move(old->second);
            continue;
        }
        shadow_map map;
        if (shadow_map_build(plane_y, list, map)) {
            map.plane_y = plane_y;
            map.casters = std::move(list);
            made[receiver] = std::move(map);
        }
    }
    maps.shadows.swap(made);
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

surface_role sleeve_role(const surface_role& own, const std::vector<vec3>& placed) {
    surface_role role = own;
    if (own.kind != paint_kind::opaque || !own.studio_lit || placed.empty()) return role;
    vec3 low = placed.front(), high = low;
    for (vec3 p : placed) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    role.kind = paint_kind::sleeve;
    role.sleeve_centre = (low + high) * 0.5f;
    float reach = 0;
    for (vec3 p : placed) reach = std::max(reach, dot(p - role.sleeve_centre, p - role.sleeve_centre));
    role.sleeve_reach = std::sqrt(reach);
    return role;
}

const mesh& studio_shape(const context& engine, int32_t number, const entity& body) {
    auto shaped = engine.maps.shaped.find(number);
    if (shaped != engine.maps.shaped.end()) return *shaped->second.shape;
    auto found = engine.maps.rounded.find(number);
    return found == engine.maps.rounded.end() ? *body.shape : *found->second.shape;
}

bool mirror_role(const context& engine, const view& viewer, const drawn_entity& entry, surface_role& role) {
    auto setting = engine.studio.mirrors.find(entry.number);
    if (entry.catcher_only || setting == engine.studio.mirrors.end()) return false;
    const plane_effect& effect = setting->second;
    const entity* receiver = receiver_of(engine, entry.number, effect);
    if (!receiver || !(effect.fade > 0) || !(viewer.position.y > receiver->position.y)) return false;
    std::vector<vec3> points = world_points(engine, entry.number, *entry.body);
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
