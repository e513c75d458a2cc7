// Entry points for exports: what an export leaves out or shows otherwise, and the export
// render itself. None of them changes what the preview shows.
#include "engine3d/engine3d.h"

#include <new>

#include "engine3d/render/export_render.h"

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

// A window beyond this many times the view's size would lose the projection's precision.
constexpr float largest_window = 64;

int ENGINE3D_CALL ExportViewWindow(float left, float top, float width, float height) {
    auto fits = [](float value, float low, float high) { return value >= low && value <= high; };
    if (!fits(width, 1 / largest_window, largest_window) || !fits(height, 1 / largest_window, largest_window) ||
        !fits(left, -largest_window, largest_window) || !fits(top, -largest_window, largest_window))
        return 0;
    export_settings& exports = engine().exports;
    exports.window_left = left;
    exports.window_top = top;
    exports.window_width = width;
    exports.window_height = height;
    return 1;
}

int ENGINE3D_CALL ExportFlatBackdrop(int colour) {
    export_settings& exports = engine().exports;
    exports.flat_backdrop = colour != -1;
    const auto bgr = uint32_t(colour);
    exports.backdrop = (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
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
