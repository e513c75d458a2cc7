// Entry points of the engine as a whole: start-up, archive folders, the screen, rendering
// and shutdown.
#include "engine3d/engine3d.h"

#include <new>

#include "engine3d/win32.h"
#include <ddraw.h>

#include "engine3d/assets/files.h"
#include "engine3d/render/render.h"

using namespace engine3d;

namespace {

void free_everything() {
    context& c = engine();
    c.invalidate_frame();
    c.kept = {};
    c.exports = {};
    c.studio = {};
    c.maps = {};
    c.entities.clear();
    c.materials.clear();
    c.textures.clear();
    c.meshes.clear();
    c.cameras.clear();
    c.lights.clear();
    c.folders.clear();
    c.jobs = {};
    c.frame = {};
    display_end(c.screen);
}

}  // namespace

// Only when the library is freed; at process exit DirectDraw may already be gone.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void* reserved) {
    if (reason == DLL_PROCESS_DETACH && !reserved) free_everything();
    return TRUE;
}

// Each initialiser starts its group empty.
int ENGINE3D_CALL InitEngine3DFirst(void) {
    free_everything();
    return 1;
}

namespace {

template <typename Table>
int cleared(Table& table) {
    table.clear();
    engine().invalidate_frame();
    return 1;
}

}  // namespace

int ENGINE3D_CALL InitCamera(void) { return cleared(engine().cameras); }
int ENGINE3D_CALL InitTexture(void) { return cleared(engine().textures); }
int ENGINE3D_CALL InitEntity(void) { return cleared(engine().entities); }
int ENGINE3D_CALL InitLight(void) { return cleared(engine().lights); }
int ENGINE3D_CALL InitMaterial(void) { return cleared(engine().materials); }
int ENGINE3D_CALL InitMesh(void) { return cleared(engine().meshes); }

// The rasterizer is built for SSE2.
int ENGINE3D_CALL InitEngine3D(void) {
    return IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) ? 1 : 0;
}

int ENGINE3D_CALL Add3DArchive(const char* folder, int) {
    if (!folder) return 0;
    archive_add(engine().folders, folder);
    return 1;
}

// Scenes are built by calls only: there are no script files to parse.
int ENGINE3D_CALL Parse3DScripts(void) { return 1; }

int ENGINE3D_CALL OpenScreen3D(int width, int height, int depth, const char*, int, void* window) {
    engine().invalidate_frame();
    ++engine().picture;
    return display_open(engine().screen, width, height, depth, static_cast<HWND>(window)) ? 1 : 0;
}

void* ENGINE3D_CALL GetBackBuffer2(void) {
    IDirectDrawSurface7* back = engine().screen.back;
    // The caller releases its reference when it closes its screen.
    if (back) back->AddRef();
    return back;
}

void* ENGINE3D_CALL GetDirectDraw7(void) { return display_object(engine().screen); }

int ENGINE3D_CALL FlipBuffers2(void) { return display_present_client(engine().screen) ? 1 : 0; }

int ENGINE3D_CALL FlipWindowedBuffers(int left, int top, int right, int bottom) {
    return display_present(engine().screen, left, top, right, bottom) ? 1 : 0;
}

int ENGINE3D_CALL Quit(void) {
    free_everything();
    return 1;
}

// A frame too large for memory is no frame.
int ENGINE3D_CALL RenderWorld(void) try {
    return render_world(engine()) ? 1 : 0;
} catch (const std::bad_alloc&) {
    ++engine().picture;
    return 0;
}

int ENGINE3D_CALL PictureNumber(void) { return int(engine().picture); }
