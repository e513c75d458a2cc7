// What the tests and the benchmarks share: the image runtime started as the program starts
// it, and Engine3D.dll driven the way the program drives it: loaded by name, entry points
// fetched with GetProcAddress, a screen on a hidden window whose back buffer is read back
// after a render.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine3d/engine3d.h"

// Main heap, strings, lists, images, drawing and every codec, in the program's order.
void start_image_runtime();

// Every pointer takes its type from the engine's own declaration of the entry point.
struct engine_dll {
    decltype(&::InitEngine3DFirst) InitEngine3DFirst;
    decltype(&::InitEngine3D) InitEngine3D;
    decltype(&::Add3DArchive) Add3DArchive;
    decltype(&::OpenScreen3D) OpenScreen3D;
    decltype(&::GetBackBuffer2) GetBackBuffer2;
    decltype(&::GetDirectDraw7) GetDirectDraw7;
    decltype(&::FlipWindowedBuffers) FlipWindowedBuffers;
    decltype(&::Quit) Quit;
    decltype(&::LoadMesh) LoadMesh;
    decltype(&::MeshID) MeshID;
    decltype(&::LoadTexture) LoadTexture;
    decltype(&::FreeTexture) FreeTexture;
    decltype(&::CreateMaterial) CreateMaterial;
    decltype(&::FreeMaterial) FreeMaterial;
    decltype(&::MaterialID) MaterialID;
    decltype(&::DisableMaterialLighting) DisableMaterialLighting;
    decltype(&::CreateEntity2) CreateEntity2;
    decltype(&::FreeEntity) FreeEntity;
    decltype(&::CopyEntity) CopyEntity;
    decltype(&::ScaleEntity) ScaleEntity;
    decltype(&::MoveEntity) MoveEntity;
    decltype(&::RotateEntity) RotateEntity;
    decltype(&::ResizeEntity) ResizeEntity;
    decltype(&::IsEntity) IsEntity;
    decltype(&::CreateCamera) CreateCamera;
    decltype(&::CameraLocate) CameraLocate;
    decltype(&::CreateLight2) CreateLight2;
    decltype(&::LightLocate) LightLocate;
    decltype(&::EntityStudioLight) EntityStudioLight;
    decltype(&::EntityShadow) EntityShadow;
    decltype(&::EntityMirror) EntityMirror;
    decltype(&::EntityRoundEdges) EntityRoundEdges;
    decltype(&::EntityShape) EntityShape;
    decltype(&::EntityDrawnTriangles) EntityDrawnTriangles;
    decltype(&::RenderWorld) RenderWorld;
    decltype(&::PictureNumber) PictureNumber;
    decltype(&::LoadTexturePixels) LoadTexturePixels;
    decltype(&::ExportMaterialTexture) ExportMaterialTexture;
    decltype(&::ExportHideEntity) ExportHideEntity;
    decltype(&::ExportViewWindow) ExportViewWindow;
    decltype(&::ExportFlatBackdrop) ExportFlatBackdrop;
    decltype(&::RenderCameraRows) RenderCameraRows;
};

// The loaded library with every entry point above, or null when one is missing.
const engine_dll* engine_library();

// 0x00RRGGBB per pixel, top row first.
struct picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

constexpr int preview_size = 295;

// A fresh engine with a screen of size x size at `depth` bits on a hidden window and the
// archive folder "model\".
bool engine_start(int size = preview_size, int depth = 32);
// Renders and reads the back buffer back.
picture render_picture();
// Fills the back buffer with one pixel value, as the program clears it before a render.
void fill_back_buffer(uint32_t value);

// The program's scene: box, floors, camera and light, box at (120, 0, 0) and size 5.
void build_default_scene(const char* atlas = "cube1.jpg");
// The studio look as the program sets it on that scene: the box lit by the rig, its shadow
// and its mirror image in the level floor; or all three off.
void studio_look(bool on);
// The box's edges rounded as the program rounds them for "Weiche Kanten", or sharp.
void soft_edges(bool on);

// Where the benchmarks see the studio look from: the program's start view, with the level
// floor risen to the box's bottom as the program puts it for a shadow or a reflection,
// and a view from further back over the floor at its own depth.
struct studio_view {
    const char* name;
    float eye[3];
    float floor_rise;
};
extern const studio_view studio_views[2];
// The camera at the view's eye and the level floor where the view has it; leaving gives
// the floor back its own depth.
void studio_view_enter(const studio_view& view);
void studio_view_leave(const studio_view& view);

// Files written by the tests: one-colour pictures and the six-colour face atlas.
enum class picture_format { bmp, png, jpeg };
void write_picture(const std::string& name, const picture& image, picture_format format);
picture filled(int width, int height, uint32_t colour);

// Largest difference of the three channels.
int channel_distance(uint32_t a, uint32_t b);
constexpr uint32_t black = 0;
