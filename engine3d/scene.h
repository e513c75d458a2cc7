// The engine's objects and its one context: numbered tables of meshes, textures,
// materials, entities, cameras and lights, the archive folders, the display and the frame.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine3d/display/display.h"
#include "engine3d/math3d.h"
#include "engine3d/render/raster.h"
#include "engine3d/shapes/shape_form.h"
#include "engine3d/studio/shadow_map.h"

namespace engine3d {

struct mesh_vertex {
    vec3 position;
    float u, v;  // v = 0 on the top row of the texture
};

struct mesh {
    int32_t handle;
    std::vector<mesh_vertex> vertices;
    std::vector<uint32_t> triangles;  // three vertex indices each, counter-clockwise in front
    // Triangles from this one on (counted in triangles) lie under a clear glossy sleeve;
    // none by default.
    uint32_t sleeve_from = UINT32_MAX;
};

struct texture {
    int32_t handle;
    std::vector<texture_level> levels;  // level 0 full size, each next one half as large
};

constexpr int32_t filter_nearest = 0;
constexpr int32_t filter_bilinear = 1;

struct material {
    int32_t handle;
    std::shared_ptr<const texture> image;
    bool lit = true;
    uint32_t ambient = 0xFFFFFF;
    uint32_t specular = 0;
    int32_t filtering = filter_bilinear;
};

struct entity {
    std::shared_ptr<const mesh> shape;
    std::shared_ptr<const material> look;
    vec3 position{0, 0, 0};
    vec3 angles{0, 0, 0};  // RotateEntity's a, b, c: about y, x and z
    vec3 scale{1, 1, 1};
    vec3 size{1, 1, 1};
};

// Where an entity's mesh vertices stand in the world.
struct placement {
    mat3 turn;
    vec3 factor, position;

    explicit placement(const entity& body)
        : turn(rotation_degrees(body.angles)), factor(scaled(body.scale, body.size)), position(body.position) {}
    vec3 operator()(vec3 model) const { return turn * scaled(model, factor) + position; }
};

struct camera {
    float left, top, width, height;  // viewport in percent of the screen
    vec3 position{0, 0, 0};
};

struct light {
    uint32_t colour;
    vec3 position;
};

// The back buffer's bytes as the last full render left them, for frames in which nothing
// they show has changed.
struct kept_frame {
    std::vector<uint8_t> bytes;
    locked_surface layout{};  // its bits are not used
    uint32_t version = 0;     // the scene version it shows
    uint32_t restores = 0;    // the display's restores when it was kept
};

// What exports change in the scene they draw; the preview never sees it.
struct export_settings {
    std::set<int32_t> hidden;                                    // entity numbers left out
    std::map<int32_t, std::shared_ptr<const texture>> textures;  // by material number
    // The part of the camera's view an export shows, in fractions of it from the top left.
    float window_left = 0, window_top = 0, window_width = 1, window_height = 1;
    // Drawn where nothing else is, 0x00RRGGBB, when flat_backdrop is set.
    bool flat_backdrop = false;
    uint32_t backdrop = 0;
};

// The studio look, kept by entity number so that an entity made again under its number
// keeps it; numbers that name nothing are skipped.
struct plane_effect {
    int32_t receiver;  // the entity whose position's y is the level plane
    float strength;
    float fade;        // mirror images: their fading length in the entity's heights
};

struct studio_settings {
    std::set<int32_t> lit;                    // entities lit by the studio rig
    std::map<int32_t, plane_effect> shadows;  // by casting entity
    std::map<int32_t, plane_effect> mirrors;  // by mirrored entity
    std::map<int32_t, float> rounded;         // edge radius in smallest sides, by entity
    std::map<int32_t, shape_form> shapes;     // books and cases drawn from a box, by entity
};

// An entity's box mesh with rounded edges, for the mesh and drawn size it was made from.
struct rounded_shape {
    std::shared_ptr<const mesh> source;
    vec3 factor;
    float share;
    std::shared_ptr<const mesh> shape;
};

// An entity's box mesh made into a book or case, for what it was made from.
struct shaped_mesh {
    std::shared_ptr<const mesh> source;
    vec3 factor;
    shape_form form;
    bool soft;
    std::shared_ptr<const mesh> shape;
};

// The shadow maps, rounded and shaped meshes of the scene version they were made for, by entity.
struct studio_maps {
    uint32_t version = 0;
    std::map<int32_t, shadow_map> shadows;
    std::map<int32_t, rounded_shape> rounded;
    std::map<int32_t, shaped_mesh> shaped;
};

struct context {
    bool started = false;
    // Raised by every entry point that changes the engine's state; RenderWorld draws anew
    // only when it moved on from the kept frame's.
    uint32_t version = 1;
    // Moves on whenever RenderWorld leaves another picture in the back buffer than the last
    // it left there, or cannot tell what the buffer holds; the screen presents on that.
    uint32_t picture = 1;
    int32_t last_handle = 0;
    std::vector<std::string> folders;
    std::map<int32_t, std::shared_ptr<mesh>> meshes;
    std::map<int32_t, std::shared_ptr<texture>> textures;
    std::map<int32_t, std::shared_ptr<material>> materials;
    std::map<int32_t, entity> entities;
    std::map<int32_t, camera> cameras;
    std::map<int32_t, light> lights;
    display screen;
    frame_buffer frame;
    std::vector<raster_job> jobs;
    kept_frame kept;
    export_settings exports;
    studio_settings studio;
    studio_maps maps;

    int32_t new_handle() { return ++last_handle; }
    // Also for a back buffer whose memory was lost and restored: the next render draws anew.
    void invalidate_frame() { ++version; }
};

// The one context of the process.
context& engine();

// The live object of a table that carries `handle`, or null.
template <typename Object>
std::shared_ptr<Object> by_handle(const std::map<int32_t, std::shared_ptr<Object>>& table,
                                  int32_t handle) {
    for (const auto& [number, object] : table)
        if (object->handle == handle) return object;
    return nullptr;
}

template <typename Table>
auto* find_number(Table& table, int32_t number) {
    auto found = table.find(number);
    return found == table.end() ? nullptr : &found->second;
}

}  // namespace engine3d
