// Drives Engine3D.dll the way the program does: loaded by name, entry points fetched with
// GetProcAddress, a screen on a hidden window whose back buffer is read back after a render.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#define ENGINE_CALL __stdcall

struct engine_dll {
    int(ENGINE_CALL* InitEngine3DFirst)();
    int(ENGINE_CALL* InitEngine3D)();
    int(ENGINE_CALL* Add3DArchive)(const char*, int);
    int(ENGINE_CALL* OpenScreen3D)(int, int, int, const char*, int, void*);
    void*(ENGINE_CALL* GetBackBuffer2)();
    void*(ENGINE_CALL* GetDirectDraw7)();
    int(ENGINE_CALL* FlipWindowedBuffers)(int, int, int, int);
    int(ENGINE_CALL* Quit)();
    int(ENGINE_CALL* LoadMesh)(int, const char*);
    int(ENGINE_CALL* MeshID)(int);
    int(ENGINE_CALL* LoadTexture)(int, const char*);
    int(ENGINE_CALL* FreeTexture)(int);
    int(ENGINE_CALL* CreateMaterial)(int, int);
    int(ENGINE_CALL* FreeMaterial)(int);
    int(ENGINE_CALL* MaterialID)(int);
    int(ENGINE_CALL* DisableMaterialLighting)(int, int);
    int(ENGINE_CALL* CreateEntity2)(int, int, int, float, float, float);
    int(ENGINE_CALL* FreeEntity)(int);
    int(ENGINE_CALL* CopyEntity)(int, int);
    int(ENGINE_CALL* ScaleEntity)(int, float, float, float);
    int(ENGINE_CALL* MoveEntity)(int, float, float, float);
    int(ENGINE_CALL* RotateEntity)(int, float, float, float);
    int(ENGINE_CALL* ResizeEntity)(int, float, float, float);
    int(ENGINE_CALL* IsEntity)(int);
    int(ENGINE_CALL* CreateCamera)(int, float, float, float, float);
    int(ENGINE_CALL* CameraLocate)(int, float, float, float);
    int(ENGINE_CALL* CreateLight2)(int, int, float, float, float);
    int(ENGINE_CALL* LightLocate)(int, float, float, float);
    int(ENGINE_CALL* RenderWorld)();
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

// Files written by the tests: one-colour pictures and the six-colour face atlas.
enum class picture_format { bmp, png, jpeg };
void write_picture(const std::string& name, const picture& image, picture_format format);
picture filled(int width, int height, uint32_t colour);

int channel_distance(uint32_t a, uint32_t b);
constexpr uint32_t black = 0;
