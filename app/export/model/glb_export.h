// "3D-Modell exportieren (glb)": the box at its real size with its face pictures as a glTF
// binary file, for the 3D and AR viewers of shops' product pages.
#pragma once

#include "app/export/model/drawn_shape.h"
#include "app/export/stills/box_export.h"
#include "app/project/box_size.h"

// The pictures longer than this many pixels on a side are made smaller for the file.
constexpr int32_t glb_longest_side = 2048;

// Faces with a picture chosen in this run show it, the others their rectangle of the atlas
// file; a chosen picture that cannot be read shows the atlas too. picture_unreadable when
// the atlas cannot be read either; not_written with the cause in image_last_save_failure.
export_failure export_glb(const char* path, const box_size& box, bool soft_edges);
// A book or a case as the engine draws it, filling shape_extent(shape, size), each face with
// its picture as above. no_preview when the engine makes no such shape.
export_failure export_shape_glb(const engine_model_calls& engine, const model_scene& scene, const char* path,
                                box_shape shape, const box_size& size, bool soft_edges);
