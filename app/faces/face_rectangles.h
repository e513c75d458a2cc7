// Where each face of box.mesh takes its pixels from in the face atlas model\cube1.jpg, in
// face index order. The application draws chosen pictures into these rectangles and the
// atlas template generator outlines them, so both read them from here.
#pragma once

#include <cstdint>

constexpr int32_t face_count = 6;
constexpr int32_t atlas_width = 868;
constexpr int32_t atlas_height = 1023;

struct face_rectangle {
    int32_t x, y, width, height;
};

constexpr face_rectangle face_rectangles[face_count] = {
    {175, 7, 167, 492},   // top ("Oberseite")
    {0, 511, 166, 512},   // right side
    {166, 511, 351, 512}, // front
    {517, 511, 351, 512}, // back
    {342, 7, 167, 492},   // bottom
    {0, 0, 166, 511},     // left side
};
