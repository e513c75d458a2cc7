// The studio look as a render sees it: which entities the rig lights, which receive or
// catch a shadow or a mirror image, and the mirror images themselves.
#pragma once

#include "engine3d/render/render.h"

namespace engine3d {

// Makes the rounded and shaped meshes and the shadow maps anew when the scene's version moved
// on since they were made; a mesh only when its box, drawn size or settings changed.
void studio_prepare(context& engine);

// The mesh the entity is drawn with: its shaped one, its rounded one or its own.
const mesh& studio_shape(const context& engine, int32_t number, const entity& body);

// How the entity's own triangles are drawn: lit by the rig or not, and as a receiver (or,
// left out of an export, as a catcher) of shadows and mirror images.
surface_role studio_role(const context& engine, const drawn_entity& entry);

// The role of an entity's triangles under a clear sleeve, given its vertices relative to the
// eye: where the rig lights the entity's own surface, the sleeve mirrors the rig's lights;
// otherwise the entity's role as it is.
surface_role sleeve_role(const surface_role& own, const std::vector<vec3>& placed);

// True, with the role of its mirror image, when the entity shows one in its receiver: the
// receiver exists and the eye is above its plane.
bool mirror_role(const context& engine, const view& viewer, const drawn_entity& entry, surface_role& role);

}  // namespace engine3d
