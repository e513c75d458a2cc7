// The box's real size in millimetres: the one place the preview's proportions, print
// templates and 3D models take it from. The size bars' steps are derived from it.
#pragma once

#include <cstdint>

struct box_size {
    double width_mm, height_mm, depth_mm;
};

// Millimetres of one size-bar step for a box known only by its steps.
constexpr double default_step_mm = 20.0;

constexpr box_size box_size_of_steps(int32_t depth, int32_t width, int32_t height) {
    return {width * default_step_mm, height * default_step_mm, depth * default_step_mm};
}
