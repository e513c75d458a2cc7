// What EntityShape asks an entity's box to be drawn as.
#pragma once

#include <cstdint>

namespace engine3d {

// EntityShape's kinds; the box is no shape of its own.
enum class shape_kind : int32_t { box = 0, paperback = 1, hardcover = 2, media_case = 3, bluray_case = 4 };

struct shape_form {
    shape_kind kind;
    float unit_mm;  // millimetres of one drawn unit: covers, boards and corners have real sizes
};

inline bool operator==(const shape_form& a, const shape_form& b) { return a.kind == b.kind && a.unit_mm == b.unit_mm; }

}  // namespace engine3d
