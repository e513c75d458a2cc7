// Loading the engine, hidden windows and screens, back-buffer read-back, and writing the
// pictures the engine loads as textures.
#include "harness/harness.h"

#include "runtime/core/windows_host.h"
#include <ddraw.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

#include "runtime/image/image.h"

namespace {

bool bind_all(HMODULE module, engine_dll& e) {
#define ENGINE_FETCH(name) module_entry(module, #name, e.name)
    return ENGINE_FETCH(InitEngine3DFirst) && ENGINE_FETCH(InitEngine3D) && ENGINE_FETCH(Add3DArchive) &&
           ENGINE_FETCH(OpenScreen3D) && ENGINE_FETCH(GetBackBuffer2) && ENGINE_FETCH(GetDirectDraw7) &&
           ENGINE_FETCH(FlipWindowedBuffers) && ENGINE_FETCH(Quit) && ENGINE_FETCH(LoadMesh) &&
           ENGINE_FETCH(MeshID) && ENGINE_FETCH(LoadTexture) && ENGINE_FETCH(FreeTexture) &&
           ENGINE_FETCH(CreateMaterial) && ENGINE_FETCH(FreeMaterial) && ENGINE_FETCH(MaterialID) &&
           ENGINE_FETCH(DisableMaterialLighting) && ENGINE_FETCH(CreateEntity2) &&
           ENGINE_FETCH(FreeEntity) && ENGINE_FETCH(CopyEntity) && ENGINE_FETCH(ScaleEntity) &&
           ENGINE_FETCH(MoveEntity) && ENGINE_FETCH(RotateEntity) && ENGINE_FETCH(ResizeEntity) &&
           ENGINE_FETCH(IsEntity) && ENGINE_FETCH(CreateCamera) && ENGINE_FETCH(CameraLocate) &&
           ENGINE_FETCH(CreateLight2) && ENGINE_FETCH(LightLocate) && ENGINE_FETCH(EntityStudioLight) &&
           ENGINE_FETCH(EntityShadow) && ENGINE_FETCH(EntityMirror) && ENGINE_FETCH(EntityRoundEdges) && ENGINE_FETCH(EntityShape) &&
           ENGINE_FETCH(EntityDrawnTriangles) &&
           ENGINE_FETCH(RenderWorld) && ENGINE_FETCH(PictureNumber) &&
           ENGINE_FETCH(LoadTexturePixels) && ENGINE_FETCH(ExportMaterialTexture) &&
           ENGINE_FETCH(ExportHideEntity) && ENGINE_FETCH(ExportViewWindow) && ENGINE_FETCH(ExportFlatBackdrop) &&
           ENGINE_FETCH(RenderCameraRows);
#undef ENGINE_FETCH
}

HWND hidden_window(int size) {
    static HWND window = nullptr;
    if (window) DestroyWindow(window);
    window = CreateWindowExA(0, "STATIC", "engine test", WS_POPUP, 0, 0, size, size, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    return window;
}

struct channel {
    int shift = 0, bits = 0;
};

channel channel_of(DWORD mask) {
    channel c;
    while (mask && !(mask & 1)) mask >>= 1, ++c.shift;
    while (mask & 1) mask >>= 1, ++c.bits;
    return c;
}

uint32_t widen(uint32_t value, channel c) {
    uint32_t v = (value >> c.shift) & ((1u << c.bits) - 1);
    return c.bits >= 8 ? v >> (c.bits - 8) : v << (8 - c.bits) | v >> (2 * c.bits - 8);
}

picture read_surface(IDirectDrawSurface7* surface) {
    picture out;
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    if (FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) return out;
    const DDPIXELFORMAT& f = desc.ddpfPixelFormat;
    channel red = channel_of(f.dwRBitMask), green = channel_of(f.dwGBitMask), blue = channel_of(f.dwBBitMask);
    int bytes = int(f.dwRGBBitCount / 8);
    out.width = int(desc.dwWidth);
    out.height = int(desc.dwHeight);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const auto* p = static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch + x * bytes;
            uint32_t value = 0;
            for (int b = 0; b < bytes; ++b) value |= uint32_t(p[b]) << (8 * b);
            out.pixels.push_back(widen(value, red) << 16 | widen(value, green) << 8 | widen(value, blue));
        }
    surface->Unlock(nullptr);
    return out;
}

void write_bmp(const std::string& name, const picture& image) {
    auto stride = int(bmp_row_stride(image.width, 24));
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + DWORD(stride * image.height);
    info.biSize = sizeof info;
    info.biWidth = image.width;
    info.biHeight = image.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<uint8_t> rows(size_t(stride) * image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            uint32_t c = image.at(x, image.height - 1 - y);
            uint8_t* p = &rows[size_t(y) * stride + 3 * x];
            p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
        }
    FILE* out = std::fopen(name.c_str(), "wb");
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(rows.data(), 1, rows.size(), out);
    std::fclose(out);
}

std::vector<uint8_t> rgb_bytes(const picture& image) {
    std::vector<uint8_t> bytes;
    for (uint32_t c : image.pixels) bytes.insert(bytes.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    return bytes;
}

void write_png(const std::string& name, const picture& image) {
    png_image description{};
    description.version = PNG_IMAGE_VERSION;
    description.width = png_uint_32(image.width);
    description.height = png_uint_32(image.height);
    description.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> bytes = rgb_bytes(image);
    png_image_write_to_file(&description, name.c_str(), 0, bytes.data(), 0, nullptr);
}

void write_jpeg(const std::string& name, const picture& image) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    FILE* out = std::fopen(name.c_str(), "wb");
    jpeg_stdio_dest(&info, out);
    info.image_width = JDIMENSION(image.width);
    info.image_height = JDIMENSION(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> bytes = rgb_bytes(image);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = &bytes[size_t(info.next_scanline) * image.width * 3];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
}

}  // namespace

const engine_dll* engine_library() {
    static engine_dll calls;
    static bool bound = [] {
        HMODULE module = LoadLibraryA("Engine3D.dll");
        return module && bind_all(module, calls);
    }();
    return bound ? &calls : nullptr;
}

bool engine_start(int size, int depth) {
    const engine_dll* e = engine_library();
    if (!e || !e->InitEngine3DFirst() || !e->InitEngine3D()) return false;
    CreateDirectoryA("model", nullptr);
    e->GetDirectDraw7();
    e->Add3DArchive("model\\", 0);
    return e->OpenScreen3D(size, size, depth, "", 0, hidden_window(size)) != 0;
}

picture render_picture() {
    const engine_dll* e = engine_library();
    e->RenderWorld();
    auto* back = static_cast<IDirectDrawSurface7*>(e->GetBackBuffer2());
    if (!back) return {};
    picture out = read_surface(back);
    back->Release();
    return out;
}

void fill_back_buffer(uint32_t value) {
    auto* back = static_cast<IDirectDrawSurface7*>(engine_library()->GetBackBuffer2());
    if (!back) return;
    DDBLTFX fill = {};
    fill.dwSize = sizeof fill;
    fill.dwFillColor = value;
    back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill);
    back->Release();
}

void build_default_scene(const char* atlas) {
    const engine_dll* e = engine_library();
    e->LoadMesh(46, "box.mesh");
    e->LoadMesh(47, "land.mesh");
    int box_texture = e->LoadTexture(306, atlas);
    int land_texture = e->LoadTexture(302, "land.jpg");
    e->CreateMaterial(0, box_texture);
    e->CreateMaterial(1, land_texture);
    e->DisableMaterialLighting(0, 1);
    e->DisableMaterialLighting(1, 1);
    e->CreateEntity2(5, e->MeshID(46), e->MaterialID(0), 0, 0, 20);
    e->CreateEntity2(6, e->MeshID(47), e->MaterialID(1), 0, -5, 0);
    e->CopyEntity(6, 7);
    e->ScaleEntity(6, 15, 1, 15);
    e->ScaleEntity(7, 15, 1, 15);
    e->RotateEntity(6, 0, 90, 0);
    e->MoveEntity(7, 0, -10, 0);
    e->CreateCamera(0, 0, 0, 100, 100);
    e->CameraLocate(0, 0, 0, 47);
    e->CreateLight2(1, 0xFF1919, 0, 20, 15);
    e->LightLocate(1, 2000, 2000, 2000);
    e->ResizeEntity(5, 5, 5, 5);
    e->RotateEntity(5, 120, 0, 0);
}

void studio_look(bool on) {
    const engine_dll* e = engine_library();
    e->EntityStudioLight(5, on ? 1 : 0);
    e->EntityShadow(5, 7, on ? 0.5f : 0.0f);
    e->EntityMirror(5, 7, on ? 0.3f : 0.0f, 0.5f);
}

void soft_edges(bool on) { engine_library()->EntityRoundEdges(5, on ? 0.02f : 0.0f); }

const studio_view studio_views[2] = {
    {"start view, floor under the box", {0, 0, 47}, 12.5f},
    {"view from (0, -3, 130)", {0, -3, 130}, 0},
};

void studio_view_enter(const studio_view& view) {
    const engine_dll* e = engine_library();
    e->CameraLocate(0, view.eye[0], view.eye[1], view.eye[2]);
    e->MoveEntity(7, 0, view.floor_rise, 0);
}

void studio_view_leave(const studio_view& view) {
    engine_library()->MoveEntity(7, 0, -view.floor_rise, 0);
}

void write_picture(const std::string& name, const picture& image, picture_format format) {
    switch (format) {
        case picture_format::bmp: return write_bmp(name, image);
        case picture_format::png: return write_png(name, image);
        case picture_format::jpeg: return write_jpeg(name, image);
    }
}

picture filled(int width, int height, uint32_t colour) {
    return {width, height, std::vector<uint32_t>(size_t(width) * height, colour)};
}

int channel_distance(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift = 0; shift < 24; shift += 8)
        most = std::max(most, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return most;
}
