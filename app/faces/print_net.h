// The box's net as it is printed: left side, front, right side and back in one row, the top
// above the front and the bottom below it, each panel its face's picture upright, with bleed
// around; a book's or a case's cover instead (cover_layout). The print template draws it, a
// print sheet is cut along it, tests check it: all three read it from here. Host-neutral.
#pragma once

#include <cstdint>
#include <string>

#include "app/faces/face_rectangles.h"
#include "app/project/box_shape.h"
#include "runtime/image/image.h"

constexpr double net_bleed_mm = 3.0;
constexpr int32_t net_pixels_per_inch = 300;

// Millimetres from the top left corner of the sheet, bleed included.
struct net_rect {
    double x, y, width, height;
};

struct pixel_rect {
    int32_t x, y, width, height;
};

constexpr int32_t net_hinge_count = 2;

struct print_net {
    double width_mm, height_mm;        // the whole sheet, bleed included
    double bleed_mm;                   // all round: the bleed, or a hardcover's wrap
    net_rect panels[face_count];       // in face index order (face_rectangles); none for a cover's edges
    net_rect hinges[net_hinge_count];  // a hardcover's grooves beside the spine, else none
};

print_net print_net_of(const box_size& box);
print_net print_net_of(box_shape shape, const box_size& box);
// Whether the face is cut from the sheet: a cover leaves the edges as they are.
bool net_has_panel(const print_net& net, int32_t face);
// Millimetres at the template's density, rounded to whole pixels.
int32_t net_pixels(double mm);
// A rectangle's edges each rounded, so that panels that meet in millimetres meet in pixels.
pixel_rect net_pixels(const net_rect& mm);

// Whether two panels share an edge: the box is folded there.
bool net_panels_meet(const net_rect& a, const net_rect& b);

// How a picture lies over the net: each face's panel as a part of it, when its proportions
// are those of the net with its bleed or without (within 1 %, and a cover's width within
// 1/16 in at its height); the whole picture for a face not on the net.
struct sheet_cut {
    bool fits;
    bool with_bleed;
    picture_part panels[face_count];
};
sheet_cut print_sheet_cut(const print_net& net, int32_t sheet_width, int32_t sheet_height);
// Whether the net, with the bleed or without as the sheet was cut into `panels`
// (whole pictures for the faces not cut from it), still has the sheet's proportions (within
// 1 %). Cut without the bleed, the sides, the top and the bottom lie on the sheet's edges;
// with only the front to tell, either way counts.
bool sheet_still_fits(const print_net& net, int32_t sheet_width, int32_t sheet_height,
                      const picture_part (&panels)[face_count]);
// Grows width x height to the size a sheet must be decoded at for the face's panel to cover
// its atlas rectangle `scale` times.
void cover_panel(int32_t face, const picture_part& panel, int32_t scale, int32_t& width, int32_t& height);
// The size to ask image_decode_sized for, side by side, to get at least width x height of the
// sheet: more than half a side is asked for at the sheet's own size, since the JPEG
// decoder's odd scales (5/8, 7/8, ...) take longer than the whole picture. A sheet too large
// to decode whole then comes out at the largest size that can be decoded.
void sheet_decoding_size(const char* path, int32_t& width, int32_t& height);
// Width to height of the net, with the bleed or without.
double net_proportion(const print_net& net, bool with_bleed);
