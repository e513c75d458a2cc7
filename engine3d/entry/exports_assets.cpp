// Entry points for meshes, textures (from files or from memory) and materials: numbered
// objects, each also known by a handle that entities and materials are made from.
#include "engine3d/engine3d.h"

#include <cstring>
#include <new>

#include "engine3d/assets/files.h"
#include "engine3d/assets/mesh_obj.h"
#include "engine3d/assets/picture.h"

using namespace engine3d;

namespace {

// For entry points that change a material: the next render draws anew.
material* material_of(int number) {
    engine().invalidate_frame();
    auto* found = find_number(engine().materials, number);
    return found ? found->get() : nullptr;
}

// The picture with its mip chain as the texture under `number`; answers its handle.
int keep_texture(int number, texture_level picture) {
    context& c = engine();
    auto image = std::make_shared<texture>();
    image->levels = mip_chain(std::move(picture));
    image->handle = c.new_handle();
    c.textures[number] = image;
    return image->handle;
}

int set_colour(int number, uint32_t material::*colour, int value) {
    material* look = material_of(number);
    if (!look) return 0;
    look->*colour = uint32_t(value) & 0xFFFFFF;
    return 1;
}

}  // namespace

// A file too large for memory fails like any other bad file.
int ENGINE3D_CALL LoadMesh(int number, const char* file) try {
    context& c = engine();
    c.invalidate_frame();
    std::vector<uint8_t> bytes;
    auto shape = std::make_shared<mesh>();
    if (!archive_read(c.folders, file, bytes) || !parse_obj(bytes, *shape)) return 0;
    shape->handle = c.new_handle();
    c.meshes[number] = shape;
    return shape->handle;
} catch (const std::bad_alloc&) {
    return 0;
}

int ENGINE3D_CALL MeshID(int number) {
    auto* found = find_number(engine().meshes, number);
    return found ? (*found)->handle : 0;
}

int ENGINE3D_CALL FreeMesh(int number) {
    engine().invalidate_frame();
    return int(engine().meshes.erase(number));
}

int ENGINE3D_CALL LoadTexture(int number, const char* file) try {
    context& c = engine();
    c.invalidate_frame();
    std::vector<uint8_t> bytes;
    texture_level picture;
    if (!archive_read(c.folders, file, bytes) || !decode_picture(bytes, picture)) return 0;
    return keep_texture(number, std::move(picture));
} catch (const std::bad_alloc&) {
    return 0;
}

int ENGINE3D_CALL LoadTexturePixels(int number, const void* pixels, int width, int height,
                                    int pitch) try {
    if (!pixels || !picture_size_fits(width, height)) return 0;
    engine().invalidate_frame();
    texture_level picture;
    picture.width = width;
    picture.height = height;
    picture.texels.resize(size_t(width) * size_t(height));
    const auto* row = static_cast<const uint8_t*>(pixels);
    for (int32_t y = 0; y < height; ++y, row += pitch) {
        uint32_t* texel = &picture.texels[size_t(y) * size_t(width)];
        std::memcpy(texel, row, size_t(width) * sizeof(uint32_t));
        for (int32_t x = 0; x < width; ++x) texel[x] &= 0xFFFFFF;
    }
    return keep_texture(number, std::move(picture));
} catch (const std::bad_alloc&) {
    return 0;
}

int ENGINE3D_CALL FreeTexture(int number) {
    engine().invalidate_frame();
    return int(engine().textures.erase(number));
}

int ENGINE3D_CALL CreateMaterial(int number, int texture_handle) {
    context& c = engine();
    c.invalidate_frame();
    auto image = by_handle(c.textures, texture_handle);
    if (!image) return 0;
    auto look = std::make_shared<material>();
    look->image = image;
    look->handle = c.new_handle();
    c.materials[number] = look;
    return look->handle;
}

int ENGINE3D_CALL FreeMaterial(int number) {
    engine().invalidate_frame();
    return int(engine().materials.erase(number));
}

int ENGINE3D_CALL MaterialID(int number) {
    auto* found = find_number(engine().materials, number);
    return found ? (*found)->handle : 0;
}

int ENGINE3D_CALL DisableMaterialLighting(int number, int disable) {
    material* look = material_of(number);
    if (!look) return 0;
    look->lit = disable == 0;
    return 1;
}

int ENGINE3D_CALL MaterialAmbientColor(int number, int color) {
    return set_colour(number, &material::ambient, color);
}

int ENGINE3D_CALL MaterialSpecularColor(int number, int color) {
    return set_colour(number, &material::specular, color);
}

int ENGINE3D_CALL MaterialFilteringMode(int number, int mode) {
    material* look = material_of(number);
    if (!look || (mode != filter_nearest && mode != filter_bilinear)) return 0;
    look->filtering = mode;
    return 1;
}
