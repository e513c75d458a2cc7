// The program's scene for the tests that draw with Engine3D.dll: the engine bound and started
// by the program's own code, the scene made as it makes it, on an atlas of six colours.
#pragma once

#include <cstdint>

#include "app/app_state.h"
#include "app/export/stills/box_export.h"
#include "app/faces/face_rectangles.h"

inline const export_scene program_scene = {scene::camera, scene::box_material, scene::export_box_texture,
                                           {scene::floor, scene::lower_floor}};
// 0x00RRGGBB in face index order: top, right, front, back, bottom, left.
constexpr uint32_t face_colours[face_count] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF};

// Once for the whole run; false when the engine or the scene could not be made.
bool start_program_scene();
