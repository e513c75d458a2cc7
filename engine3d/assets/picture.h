// Picture files as textures: the decoders (JPEG, PNG, BMP) and the mip chain built on them.
// Host-neutral: files arrive as byte blocks, pictures leave as 0x00RRGGBB rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine3d/render/raster.h"

namespace engine3d {

// Each decoder answers false for a block it cannot read whole.
bool decode_jpeg(const uint8_t* bytes, size_t size, texture_level& picture);
bool decode_png(const uint8_t* bytes, size_t size, texture_level& picture);
bool decode_bmp(const uint8_t* bytes, size_t size, texture_level& picture);

// By signature: PNG, JPEG, then BMP.
bool decode_picture(const std::vector<uint8_t>& bytes, texture_level& picture);

// Sizes a decoder accepts before it allocates.
bool picture_size_fits(int64_t width, int64_t height);

// Level 0 followed by ever halved levels down to 1 x 1.
std::vector<texture_level> mip_chain(texture_level picture);

}  // namespace engine3d
