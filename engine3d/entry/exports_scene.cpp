// Entry points for entities, cameras and lights.
#include "engine3d/engine3d.h"

#include "engine3d/scene.h"

using namespace engine3d;

namespace {

entity* entity_of(int number) { return find_number(engine().entities, number); }

// For entry points that change an entity: the next render draws anew.
entity* changing_entity(int number) {
    engine().invalidate_frame();
    return entity_of(number);
}

int set_vector(int number, vec3 entity::*field, vec3 value) {
    entity* body = changing_entity(number);
    if (!body) return 0;
    body->*field = value;
    return 1;
}

// Cameras and lights alike.
template <typename Table>
int locate(Table& table, int number, vec3 place) {
    engine().invalidate_frame();
    auto* found = find_number(table, number);
    if (!found) return 0;
    found->position = place;
    return 1;
}

}  // namespace

int ENGINE3D_CALL CreateEntity2(int number, int mesh_handle, int material_handle, float x,
                                float y, float z) {
    context& c = engine();
    c.invalidate_frame();
    auto shape = by_handle(c.meshes, mesh_handle);
    auto look = by_handle(c.materials, material_handle);
    if (!shape || !look) return 0;
    entity body;
    body.shape = shape;
    body.look = look;
    body.position = {x, y, z};
    c.entities[number] = body;
    return 1;
}

int ENGINE3D_CALL FreeEntity(int number) {
    engine().invalidate_frame();
    return int(engine().entities.erase(number));
}

int ENGINE3D_CALL CopyEntity(int source, int copy) {
    entity* original = changing_entity(source);
    if (!original) return 0;
    engine().entities[copy] = *original;
    return 1;
}

int ENGINE3D_CALL ScaleEntity(int number, float x, float y, float z) {
    return set_vector(number, &entity::scale, {x, y, z});
}

int ENGINE3D_CALL MoveEntity(int number, float x, float y, float z) {
    entity* body = changing_entity(number);
    if (!body) return 0;
    body->position = body->position + vec3{x, y, z};
    return 1;
}

int ENGINE3D_CALL RotateEntity(int number, float a, float b, float c) {
    return set_vector(number, &entity::angles, {a, b, c});
}

int ENGINE3D_CALL ResizeEntity(int number, float x, float y, float z) {
    return set_vector(number, &entity::size, {x, y, z});
}

int ENGINE3D_CALL IsEntity(int number) { return entity_of(number) ? 1 : 0; }

int ENGINE3D_CALL CreateCamera(int number, float x, float y, float width, float height) {
    engine().invalidate_frame();
    engine().cameras[number] = camera{x, y, width, height};
    return 1;
}

int ENGINE3D_CALL CameraLocate(int number, float x, float y, float z) {
    return locate(engine().cameras, number, {x, y, z});
}

int ENGINE3D_CALL CreateLight2(int number, int color, float x, float y, float z) {
    engine().invalidate_frame();
    engine().lights[number] = light{uint32_t(color) & 0xFFFFFF, {x, y, z}};
    return 1;
}

int ENGINE3D_CALL LightLocate(int number, float x, float y, float z) {
    return locate(engine().lights, number, {x, y, z});
}
