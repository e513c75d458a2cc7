// DirectDraw 7 set-up and presentation. DDRAW.DLL is loaded by name so that the engine
// imports nothing beyond the system's core libraries.
#include "engine3d/display/display.h"

#include "engine3d/win32.h"
#include <ddraw.h>

namespace engine3d {
namespace {

using create_function = HRESULT(WINAPI*)(GUID*, void**, REFIID, IUnknown*);

template <typename Interface>
void release(Interface*& pointer) {
    if (pointer) pointer->Release();
    pointer = nullptr;
}

void describe_format(DDPIXELFORMAT& format, int32_t depth) {
    format.dwSize = sizeof format;
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = DWORD(depth);
    format.dwRBitMask = depth == 16 ? 0xF800 : 0xFF0000;
    format.dwGBitMask = depth == 16 ? 0x07E0 : 0x00FF00;
    format.dwBBitMask = depth == 16 ? 0x001F : 0x0000FF;
}

bool make_surfaces(display& screen, int32_t width, int32_t height, int32_t depth) {
    DDSURFACEDESC2 primary = {};
    primary.dwSize = sizeof primary;
    primary.dwFlags = DDSD_CAPS;
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (FAILED(screen.object->CreateSurface(&primary, &screen.primary, nullptr))) return false;
    if (FAILED(screen.object->CreateClipper(0, &screen.clipper, nullptr))) return false;
    if (FAILED(screen.clipper->SetHWnd(0, screen.window))) return false;
    if (FAILED(screen.primary->SetClipper(screen.clipper))) return false;

    DDSURFACEDESC2 back = {};
    back.dwSize = sizeof back;
    back.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    back.dwWidth = DWORD(width);
    back.dwHeight = DWORD(height);
    // The CPU writes every pixel of every frame: system memory is where it writes fastest.
    back.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    if (depth == 16 || depth == 24 || depth == 32) {
        back.dwFlags |= DDSD_PIXELFORMAT;
        describe_format(back.ddpfPixelFormat, depth);
    }
    return SUCCEEDED(screen.object->CreateSurface(&back, &screen.back, nullptr));
}

}  // namespace

IDirectDraw7* display_object(display& screen) {
    if (screen.object) return screen.object;
    if (!screen.module) screen.module = LoadLibraryA("DDRAW.DLL");
    if (!screen.module) return nullptr;
    auto create = reinterpret_cast<create_function>(
        reinterpret_cast<void (*)()>(GetProcAddress(screen.module, "DirectDrawCreateEx")));
    void* object = nullptr;
    if (create && SUCCEEDED(create(nullptr, &object, IID_IDirectDraw7, nullptr)))
        screen.object = static_cast<IDirectDraw7*>(object);
    return screen.object;
}

bool display_open(display& screen, int32_t width, int32_t height, int32_t depth, HWND__* window) {
    display_close(screen);
    if (width <= 0 || height <= 0 || !window || !display_object(screen)) return false;
    if (FAILED(screen.object->SetCooperativeLevel(window, DDSCL_NORMAL))) return false;
    screen.window = window;
    if (!make_surfaces(screen, width, height, depth)) {
        display_close(screen);
        return false;
    }
    screen.width = width;
    screen.height = height;
    return true;
}

bool display_restore(display& screen) {
    if (!screen.object || FAILED(screen.object->RestoreAllSurfaces())) return false;
    ++screen.restores;
    return true;
}

// A locked desktop, a UAC prompt or a mode change takes the surfaces' memory away; some
// hosts still accept the blit then, so the primary is asked first.
bool display_present(display& screen, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!screen.back) return false;
    RECT target = {left, top, right, bottom};
    auto blit = [&] {
        return screen.primary->Blt(&target, screen.back, nullptr, DDBLT_WAIT, nullptr);
    };
    HRESULT result = screen.primary->IsLost() == DDERR_SURFACELOST ? DDERR_SURFACELOST : blit();
    if (result == DDERR_SURFACELOST && display_restore(screen)) result = blit();
    return SUCCEEDED(result);
}

bool display_present_client(display& screen) {
    if (!screen.back) return false;
    RECT client;
    if (!GetClientRect(screen.window, &client)) return false;
    MapWindowPoints(screen.window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return display_present(screen, client.left, client.top, client.right, client.bottom);
}

void display_close(display& screen) {
    release(screen.back);
    release(screen.primary);
    release(screen.clipper);
    screen.window = nullptr;
    screen.width = screen.height = 0;
}

// DDRAW.DLL stays loaded: surfaces handed out may still be released after Quit.
void display_end(display& screen) {
    display_close(screen);
    release(screen.object);
}

}  // namespace engine3d
