// Loads Engine3D.dll, binds its entry points group by group and tracks whether the engine
// can be used. The ready flag is only set when the library initialised and every call the
// application makes is bound, so callers never jump through a missing entry point.
#include <cstring>

#include "app/engine/engine.h"

engine_state engine;

namespace {

// Every initialiser has InitEngine3D's signature.
using engine_initialiser = decltype(&::InitEngine3D);

template <typename Call>
void bind(Call& slot, const char* name) {
    module_entry(engine.module, name, slot);
}

void run_initialiser(const char* name) {
    engine_initialiser initialiser;
    if (module_entry(engine.module, name, initialiser)) initialiser();
}

// The table holds nothing but entry-point pointers.
template <typename Table>
bool every_entry_bound(const Table& table) {
    const auto* slot = reinterpret_cast<void (*const*)()>(&table);
    const size_t count = sizeof(table) / sizeof(*slot);
    for (size_t i = 0; i < count; ++i)
        if (!slot[i]) return false;
    return true;
}

void bind_exports() {
    bind(engine.exports.LoadTexturePixels, "LoadTexturePixels");
    bind(engine.exports.FreeTexture, "FreeTexture");
    bind(engine.exports.ExportMaterialTexture, "ExportMaterialTexture");
    bind(engine.exports.ExportHideEntity, "ExportHideEntity");
    bind(engine.exports.ExportViewWindow, "ExportViewWindow");
    bind(engine.exports.ExportFlatBackdrop, "ExportFlatBackdrop");
    bind(engine.exports.RenderCameraRows, "RenderCameraRows");
    engine.exports_ready = every_entry_bound(engine.exports) ? 1 : 0;
}

void bind_studio() {
    bind(engine.studio.EntityStudioLight, "EntityStudioLight");
    bind(engine.studio.EntityShadow, "EntityShadow");
    bind(engine.studio.EntityMirror, "EntityMirror");
    bind(engine.studio.EntityRoundEdges, "EntityRoundEdges");
    engine.studio_ready = every_entry_bound(engine.studio) ? 1 : 0;
    bind(engine.EntityShape, "EntityShape");
}

void bind_model() {
    bind(engine.model.MeshID, "MeshID");
    bind(engine.model.MaterialID, "MaterialID");
    bind(engine.model.CreateEntity2, "CreateEntity2");
    bind(engine.model.ResizeEntity, "ResizeEntity");
    bind(engine.model.FreeEntity, "FreeEntity");
    bind(engine.model.EntityRoundEdges, "EntityRoundEdges");
    bind(engine.model.EntityShape, "EntityShape");
    bind(engine.model.EntityDrawnTriangles, "EntityDrawnTriangles");
    engine.model_ready = every_entry_bound(engine.model) ? 1 : 0;
}

void forget_module() {
    if (engine.module) FreeLibrary(engine.module);
    engine.module = nullptr;
    engine.ready = 0;
    engine.exports_ready = 0;
    engine.studio_ready = 0;
    engine.model_ready = 0;
    engine.PictureNumber = nullptr;
    engine.EntityShape = nullptr;
    std::memset(&engine.call, 0, sizeof(engine.call));
    std::memset(&engine.exports, 0, sizeof(engine.exports));
    std::memset(&engine.studio, 0, sizeof(engine.studio));
    std::memset(&engine.model, 0, sizeof(engine.model));
}

}  // namespace

int engine_load() {
    engine.module = LoadLibraryA("Engine3D.dll");
    run_initialiser("InitEngine3DFirst");
    return engine.module != nullptr;
}

void engine_bind_camera() {
    if (!engine.module) return;
    bind(engine.call.CreateCamera, "CreateCamera");
    bind(engine.call.CameraLocate, "CameraLocate");
    run_initialiser("InitCamera");
}

void engine_bind_texture() {
    if (!engine.module) return;
    bind(engine.call.LoadTexture, "LoadTexture");
    bind(engine.call.FreeTexture, "FreeTexture");
    run_initialiser("InitTexture");
}

void engine_bind_entity() {
    if (!engine.module) return;
    bind(engine.call.CreateEntity2, "CreateEntity2");
    bind(engine.call.FreeEntity, "FreeEntity");
    bind(engine.call.CopyEntity, "CopyEntity");
    bind(engine.call.ScaleEntity, "ScaleEntity");
    bind(engine.call.MoveEntity, "MoveEntity");
    bind(engine.call.RotateEntity, "RotateEntity");
    bind(engine.call.ResizeEntity, "ResizeEntity");
    bind(engine.call.IsEntity, "IsEntity");
    run_initialiser("InitEntity");
}

void engine_bind_light() {
    if (!engine.module) return;
    bind(engine.call.CreateLight2, "CreateLight2");
    bind(engine.call.LightLocate, "LightLocate");
    run_initialiser("InitLight");
}

void engine_bind_material() {
    if (!engine.module) return;
    bind(engine.call.CreateMaterial, "CreateMaterial");
    bind(engine.call.FreeMaterial, "FreeMaterial");
    bind(engine.call.MaterialID, "MaterialID");
    bind(engine.call.DisableMaterialLighting, "DisableMaterialLighting");
    bind(engine.call.MaterialAmbientColor, "MaterialAmbientColor");
    bind(engine.call.MaterialSpecularColor, "MaterialSpecularColor");
    bind(engine.call.MaterialFilteringMode, "MaterialFilteringMode");
    run_initialiser("InitMaterial");
}

void engine_bind_mesh() {
    if (!engine.module) return;
    bind(engine.call.LoadMesh, "LoadMesh");
    bind(engine.call.MeshID, "MeshID");
    run_initialiser("InitMesh");
}

void engine_bind_world() {
    if (!engine.module) return;
    bind(engine.call.RenderWorld, "RenderWorld");
}

int engine_init() {
    engine_initialiser initialise;
    if (!module_entry(engine.module, "InitEngine3D", initialise) || !initialise() ||
        !every_entry_bound(engine.call)) {
        forget_module();
        return 0;
    }
    engine.ready = 1;
    bind_exports();
    bind_studio();
    bind_model();
    bind(engine.PictureNumber, "PictureNumber");
    return 1;
}

int engine_add_archive(const char* path, int kind) {
    decltype(&::Add3DArchive) add;
    return module_entry(engine.module, "Add3DArchive", add) ? add(path, kind) : 0;
}

screen_engine engine_screen() {
    screen_engine screen = {};
    if (!engine.ready) return screen;
    screen.ready = 1;
    bind(screen.OpenScreen3D, "OpenScreen3D");
    bind(screen.GetBackBuffer2, "GetBackBuffer2");
    bind(screen.GetDirectDraw7, "GetDirectDraw7");
    bind(screen.FlipWindowedBuffers, "FlipWindowedBuffers");
    return screen;
}

void engine_unload() { forget_module(); }
