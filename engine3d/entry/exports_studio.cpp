// Entry points for the studio look: the rig's light, soft shadows and mirror images in a
// level receiver, rounded edges, and books and cases drawn from a box. Settings are kept by entity number; each call makes the next render draw
// anew. The drawn triangles go out for models written by the program, so that a shape has
// one home, here.
#include "engine3d/engine3d.h"

#include <algorithm>
#include <cmath>

#include "engine3d/scene.h"
#include "engine3d/shapes/shape_form.h"
#include "engine3d/studio/studio.h"

using namespace engine3d;

namespace {

// An effect of strength 0 is no effect: its setting goes.
int set_effect(std::map<int32_t, plane_effect>& effects, int entity_number, plane_effect effect) {
    context& c = engine();
    c.invalidate_frame();
    if (!find_number(c.entities, entity_number)) return 0;
    if (effect.strength > 0) effects[entity_number] = effect;
    else effects.erase(entity_number);
    return 1;
}

}  // namespace

int ENGINE3D_CALL EntityStudioLight(int entity_number, int on) {
    context& c = engine();
    c.invalidate_frame();
    if (!find_number(c.entities, entity_number)) return 0;
    if (on) c.studio.lit.insert(entity_number);
    else c.studio.lit.erase(entity_number);
    return 1;
}

int ENGINE3D_CALL EntityShadow(int entity_number, int receiver, float strength) {
    return set_effect(engine().studio.shadows, entity_number, {receiver, strength, 0});
}

int ENGINE3D_CALL EntityMirror(int entity_number, int receiver, float strength, float fade) {
    return set_effect(engine().studio.mirrors, entity_number, {receiver, strength, fade});
}

int ENGINE3D_CALL EntityRoundEdges(int entity_number, float share) {
    context& c = engine();
    c.invalidate_frame();
    if (!find_number(c.entities, entity_number)) return 0;
    if (share > 0) c.studio.rounded[entity_number] = std::min(share, 0.5f);
    else c.studio.rounded.erase(entity_number);
    return 1;
}

int ENGINE3D_CALL EntityShape(int entity_number, int kind, float unit_mm) {
    context& c = engine();
    c.invalidate_frame();
    if (!find_number(c.entities, entity_number) || kind < 0 || kind > int(shape_kind::bluray_case)) return 0;
    if (kind == int(shape_kind::box)) c.studio.shapes.erase(entity_number);
    else if (unit_mm > 0 && std::isfinite(unit_mm)) c.studio.shapes[entity_number] = {shape_kind(kind), unit_mm};
    else return 0;
    return 1;
}

int ENGINE3D_CALL EntityDrawnTriangles(int entity_number, float* corners, int capacity) {
    context& c = engine();
    const entity* body = find_number(c.entities, entity_number);
    if (!body) return 0;
    studio_prepare(c);
    const mesh& shape = studio_shape(c, entity_number, *body);
    const int count = int(shape.triangles.size() / 3);
    if (!corners || capacity < count) return count;
    const vec3 factor = scaled(body->scale, body->size);
    for (uint32_t index : shape.triangles) {
        const mesh_vertex& corner = shape.vertices[index];
        const vec3 drawn = scaled(corner.position, factor);
        for (float value : {drawn.x, drawn.y, drawn.z, corner.u, corner.v}) *corners++ = value;
    }
    return count;
}
