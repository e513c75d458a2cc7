// Exports: one camera's scene drawn into memory at any size and sample count, a band of
// rows at a time, apart from the back buffer and the kept frame.
#pragma once

#include <cstdint>

#include "engine3d/scene.h"

namespace engine3d {

// Rows first_row .. first_row + rows - 1 of a width x height picture of the camera's view,
// each pixel drawn from grid x grid sub-pixels of four samples. Pixels are 32-bit B, G, R, A
// with straight alpha: the colour is that of the surfaces covering the pixel, the alpha
// the share of its samples they cover, each partly transparent sample (a shadow or a mirror
// image caught by a receiver left out) counting by its own alpha.
struct export_request {
    int32_t camera;
    int32_t width, height, grid;
    int32_t first_row, rows;
    uint8_t* pixels;
    int32_t pitch;
};

// The studio's shadow maps are made first when the scene changed since they were made.
bool export_rows(context& engine, const export_request& request);

}  // namespace engine3d
