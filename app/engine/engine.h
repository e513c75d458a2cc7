// Binding to the outside 3D engine, Engine3D.dll: the library is loaded by name at run time
// and its entry points are fetched into one table, group by group, in the start-up order.
#pragma once

#include "runtime/core/windows_host.h"

// The engine's calling convention: arguments on the stack, removed by the callee.
#define ENGINE_CALL __stdcall

struct engine_calls {
    // camera
    int(ENGINE_CALL* CreateCamera)(int camera, float x, float y, float width, float height);
    int(ENGINE_CALL* CameraLocate)(int camera, float x, float y, float z);
    // texture
    int(ENGINE_CALL* LoadTexture)(int texture, const char* file);
    int(ENGINE_CALL* FreeTexture)(int texture);
    // entity
    int(ENGINE_CALL* CreateEntity2)(int entity, int mesh, int material, float x, float y, float z);
    int(ENGINE_CALL* FreeEntity)(int entity);
    int(ENGINE_CALL* CopyEntity)(int source, int copy);
    int(ENGINE_CALL* ScaleEntity)(int entity, float x, float y, float z);
    int(ENGINE_CALL* MoveEntity)(int entity, float x, float y, float z);
    int(ENGINE_CALL* RotateEntity)(int entity, float a, float b, float c);
    int(ENGINE_CALL* ResizeEntity)(int entity, float x, float y, float z);
    int(ENGINE_CALL* IsEntity)(int entity);
    // light
    int(ENGINE_CALL* CreateLight2)(int light, int color, float x, float y, float z);
    int(ENGINE_CALL* LightLocate)(int light, float x, float y, float z);
    // material
    int(ENGINE_CALL* CreateMaterial)(int material, int texture);
    int(ENGINE_CALL* FreeMaterial)(int material);
    int(ENGINE_CALL* MaterialID)(int material);
    int(ENGINE_CALL* DisableMaterialLighting)(int material, int disable);
    int(ENGINE_CALL* MaterialAmbientColor)(int material, int color);
    int(ENGINE_CALL* MaterialSpecularColor)(int material, int color);
    int(ENGINE_CALL* MaterialFilteringMode)(int material, int mode);
    // mesh
    int(ENGINE_CALL* LoadMesh)(int mesh, const char* file);
    int(ENGINE_CALL* MeshID)(int mesh);
    // world
    int(ENGINE_CALL* RenderWorld)();
};

struct engine_state {
    HMODULE module;  // null when the library is absent or failed to initialise
    int ready;       // set by engine_init: the library is initialised and every call is bound
    engine_calls call;
};

extern engine_state engine;

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
void engine_unload();

// An entry point of the loaded engine by name, or null.
FARPROC engine_entry(const char* name);
