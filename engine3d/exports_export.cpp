// Entry points for exports: what an export leaves out or shows otherwise, and the export
// render itself. None of them changes what the preview shows.
#include "engine3d/engine3d.h"

#include <new>

#include "engine3d/export_render.h"

using namespace engine3d;

namespace {

constexpr int32_t samples_per_sub_pixel = 4;
constexpr int32_t largest_grid = 4;

// 16 samples are a grid of 2 x 2 sub-pixels of 4 samples each; 0 for a count that is none.
int32_t grid_of(int samples) {
    for (int32_t grid = 1; grid <= largest_grid; ++grid)
        if (grid * grid * samples_per_sub_pixel == samples) return grid;
    return 0;
}

}  // namespace

int ENGINE3D_CALL ExportMaterialTexture(int material_number, int texture_handle) {
    context& c = engine();
    if (!find_number(c.materials, material_number)) return 0;
    if (!texture_handle) {
        c.exports.textures.erase(material_number);
        return 1;
    }
    auto image = by_handle(c.textures, texture_handle);
    if (!image) return 0;
    c.exports.textures[material_number] = image;
    return 1;
}

int ENGINE3D_CALL ExportHideEntity(int entity_number, int hide) {
    context& c = engine();
    if (!find_number(c.entities, entity_number)) return 0;
    if (hide) c.exports.hidden.insert(entity_number);
    else c.exports.hidden.erase(entity_number);
    return 1;
}

// Memory for a band that cannot be had fails the export, not the program.
int ENGINE3D_CALL RenderCameraRows(int camera, int width, int height, int samples, int first_row,
                                   int rows, void* pixels, int pitch) try {
    const int32_t grid = grid_of(samples);
    if (!grid) return 0;
    export_request request{camera, width, height, grid, first_row, rows,
                           static_cast<uint8_t*>(pixels), pitch};
    return export_rows(engine(), request) ? 1 : 0;
} catch (const std::bad_alloc&) {
    return 0;
}
