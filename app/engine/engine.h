// Binding to the outside 3D engine, Engine3D.dll: the library is loaded by name at run time
// and its entry points are fetched into one table, group by group, in the start-up order.
#pragma once

#include "app/project/box_shape.h"
#include "engine3d/engine3d.h"
#include "runtime/core/windows_host.h"
#include "runtime/screen/screen.h"

// Every pointer takes its type from the engine's own declaration of the entry point.
struct engine_calls {
    // camera
    decltype(&::CreateCamera) CreateCamera;
    decltype(&::CameraLocate) CameraLocate;
    // texture
    decltype(&::LoadTexture) LoadTexture;
    decltype(&::FreeTexture) FreeTexture;
    // entity
    decltype(&::CreateEntity2) CreateEntity2;
    decltype(&::FreeEntity) FreeEntity;
    decltype(&::CopyEntity) CopyEntity;
    decltype(&::ScaleEntity) ScaleEntity;
    decltype(&::MoveEntity) MoveEntity;
    decltype(&::RotateEntity) RotateEntity;
    decltype(&::ResizeEntity) ResizeEntity;
    decltype(&::IsEntity) IsEntity;
    // light
    decltype(&::CreateLight2) CreateLight2;
    decltype(&::LightLocate) LightLocate;
    // material
    decltype(&::CreateMaterial) CreateMaterial;
    decltype(&::FreeMaterial) FreeMaterial;
    decltype(&::MaterialID) MaterialID;
    decltype(&::DisableMaterialLighting) DisableMaterialLighting;
    decltype(&::MaterialAmbientColor) MaterialAmbientColor;
    decltype(&::MaterialSpecularColor) MaterialSpecularColor;
    decltype(&::MaterialFilteringMode) MaterialFilteringMode;
    // mesh
    decltype(&::LoadMesh) LoadMesh;
    decltype(&::MeshID) MeshID;
    // world
    decltype(&::RenderWorld) RenderWorld;
};

// The entry points of exports. An engine without them still runs the preview; only the
// large exports are then not offered.
struct engine_export_calls {
    decltype(&::LoadTexturePixels) LoadTexturePixels;
    decltype(&::FreeTexture) FreeTexture;
    decltype(&::ExportMaterialTexture) ExportMaterialTexture;
    decltype(&::ExportHideEntity) ExportHideEntity;
    decltype(&::ExportViewWindow) ExportViewWindow;
    decltype(&::ExportFlatBackdrop) ExportFlatBackdrop;
    decltype(&::RenderCameraRows) RenderCameraRows;
};

// The studio look's entry points. An engine without them still runs the preview; the
// "Ansicht" menu is then left out.
struct engine_studio_calls {
    decltype(&::EntityStudioLight) EntityStudioLight;
    decltype(&::EntityShadow) EntityShadow;
    decltype(&::EntityMirror) EntityMirror;
    decltype(&::EntityRoundEdges) EntityRoundEdges;
};

// What the 3D model of a book or a case needs: an entity of its own that the engine draws as
// the shape and whose triangles it hands out. Without them only the box's model is written.
struct engine_model_calls {
    decltype(&::MeshID) MeshID;
    decltype(&::MaterialID) MaterialID;
    decltype(&::CreateEntity2) CreateEntity2;
    decltype(&::ResizeEntity) ResizeEntity;
    decltype(&::FreeEntity) FreeEntity;
    decltype(&::EntityRoundEdges) EntityRoundEdges;
    decltype(&::EntityShape) EntityShape;
    decltype(&::EntityDrawnTriangles) EntityDrawnTriangles;
};

struct engine_state {
    HMODULE module;  // null when the library is absent or failed to initialise
    int ready;       // set by engine_init: the library is initialised and every call is bound
    engine_calls call;
    int exports_ready;  // set by engine_init with every export call bound
    engine_export_calls exports;
    int studio_ready;  // set by engine_init with every studio call bound
    engine_studio_calls studio;
    // Optional: without it books and cases are drawn as the box of their extent.
    decltype(&::EntityShape) EntityShape;
    int model_ready;  // set by engine_init with every model call bound
    engine_model_calls model;
    // Optional: without it the picture is never known and every frame is presented.
    decltype(&::PictureNumber) PictureNumber;
};

extern engine_state engine;

// EntityShape's kind for a shape; DVD and Blu-ray cases differ only in size.
constexpr int engine_shape_kind(box_shape shape) {
    return shape == box_shape::paperback ? 1 : shape == box_shape::hardcover ? 2 : shape == box_shape::dvd ? 3
           : shape == box_shape::bluray ? 4 : 0;
}

int engine_load();
void engine_bind_camera();
void engine_bind_texture();
void engine_bind_entity();
void engine_bind_light();
void engine_bind_material();
void engine_bind_mesh();
void engine_bind_world();
int engine_init();
int engine_add_archive(const char* path, int kind);
// What the screen library needs of the engine, for screen_library_init; not ready and
// without entry points when the engine did not start.
screen_engine engine_screen();
void engine_unload();
