// The two texture files the 3D preview shows: the face atlas, into which each chosen
// picture is stretched at its face's rectangle, and the one-colour floor texture.
#pragma once

#include <cstdint>

#include "app/faces/face_rectangles.h"
#include "app/project/box_shape.h"
#include "runtime/image/image.h"

constexpr const char* face_atlas_file = "model\\cube1.jpg";

// Why a face could not be composed, for telling the user.
enum class face_failure {
    none,
    picture_unreadable,
    atlas_unreadable,
    atlas_not_written,  // read-only, or the write broke off and was undone
    atlas_in_use,       // another program held it for longer than the save waits
    atlas_damaged,      // the write broke off and the old content could not be put back
};

// Draws the picture at `path` into the rectangle of `face_index` (0..5) of
// model\cube1.jpg and saves the atlas back; 1 when the atlas was saved, else 0 with the
// atlas file left as it was and, when `failure` is given, the reason there.
int32_t compose_face(const char* path, int32_t face_index, face_failure* failure = nullptr);

struct face_picture_request {
    const char* path;
    int32_t face_index;
    bool drawn;  // answered: the picture was read and is in the saved atlas
    picture_part part = whole_picture;  // of a print sheet: the face's panel
};

// Draws every readable picture into its face's rectangle with one read and one save of the
// atlas, as one choice after another would leave it. The failure is the atlas's own; with it
// no picture counts as drawn and the atlas file is left as it was. Requests for parts of one
// picture that follow each other (a print sheet's panels) decode it once.
face_failure compose_faces(face_picture_request* requests, int32_t count);

// Exports draw the face from this picture (or this part of it) from now on; the atlas is
// left as it is.
void face_picture_choose(int32_t face_index, const char* path, const picture_part& part = whole_picture);

// The picture composed into the face last in this run, or null when none was.
const char* face_picture(int32_t face_index);
// The part of that picture the face shows: the whole, or its panel of a print sheet.
picture_part face_picture_part(int32_t face_index);

// How many saves of the atlas file this run began: a picture chosen again under its old name
// changes the count, though not the names.
uint32_t face_atlas_writes();

// What the edges without a picture of their own show from now on: on a book, the page
// edges (top, fore-edge, bottom) as paper of the book's colour with fine page lines; on a
// case, the open edges as its dark plastic; on a box, what the atlas holds.
void face_edges_follow(box_shape shape, const book_setup& book);
bool face_edges_painted();
// Paints those edges into `atlas`, the whole atlas `scale` times as large, at that size.
void paint_edge_faces(const pixel_target& atlas, int32_t scale);

// Writes model\land.jpg: 1024 x 1024 pixels of one colour (0x00BBGGRR). Always 0.
int32_t make_background_texture(uint32_t colour);
// Writes model\land.jpg as above only when there is none yet.
void make_background_texture_if_missing(uint32_t colour);
