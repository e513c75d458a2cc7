// The sharp atlas of an export, built in a 32-bit DIB section and handed to the engine,
// which keeps its own copy: the section is freed before the render needs its memory.
#include "app/export/stills/export_atlas.h"

#include <cstdio>

#include "app/faces/face_atlas.h"
#include "app/faces/face_decoding.h"
#include "runtime/image/image.h"

namespace {

constexpr object_number atlas_image = 308;
constexpr object_number large_image = 309;
constexpr object_number picture_image = 310;
constexpr int32_t true_colour = 32;

void draw_into_face(platform_handle picture, int32_t face_index, int32_t scale) {
    const face_rectangle& face = face_rectangles[face_index];
    draw_begin(image_output(large_image));
    draw_image(picture, face.x * scale, face.y * scale, face.width * scale, face.height * scale);
    draw_end();
}

// A picture that cannot be read leaves its face as the atlas shows it; false then. One that
// was not drawn where it was decoded is drawn here, and one that was not decoded there (a
// BMP file, an icon) is loaded here.
bool draw_chosen_picture(const decoded_face& decoded, int32_t scale) {
    if (decoded.drawn) return true;
    if (decoded.picture) {
        draw_into_face(decoded.picture, decoded.face, scale);
        image_decoded_free(decoded.picture);
        return true;
    }
    const char* path = face_picture(decoded.face);
    const face_rectangle& face = face_rectangles[decoded.face];
    // A print sheet's panel comes only from its decoding (a BMP sheet is not read).
    if (!path || !is_whole_picture(face_picture_part(decoded.face)) ||
        !image_load_sized(picture_image, path, face.width * scale, face.height * scale))
        return false;
    draw_into_face(image_handle(picture_image), decoded.face, scale);
    image_free(picture_image);
    return true;
}

// Faces left to this thread are drawn once the two threads are done: drawing through the
// drawing state briefly marks a pixel of the atlas to learn its row order.
int32_t draw_chosen_pictures(int32_t scale) {
    pixel_target atlas{nullptr, 0, atlas_width * scale, atlas_height * scale};
    atlas.top_row = image_top_row(large_image, &atlas.pitch);
    if (!atlas.top_row) return 0;
    decoded_face faces[face_count];
    int32_t given = 0;
    {
        face_decoding decoding(scale, atlas);
        while (decoding.next(faces[given])) ++given;
    }
    int32_t drawn = 0;
    for (int32_t i = 0; i < given; ++i) drawn += draw_chosen_picture(faces[i], scale) ? 1 : 0;
    return drawn;
}

bool draw_stored_atlas(int32_t scale) {
    if (!image_load(atlas_image, face_atlas_file, image_load_as_stored)) return false;
    draw_begin(image_output(large_image));
    draw_image(image_handle(atlas_image), 0, 0, atlas_width * scale, atlas_height * scale);
    draw_end();
    image_free(atlas_image);
    return true;
}

// Texels outside the face rectangles are never drawn, so with a picture for every face the
// stored atlas need not be read at all.
bool every_face_has_a_picture() {
    for (int32_t face = 0; face < face_count; ++face) {
        const char* path = face_picture(face);
        FILE* file = path ? std::fopen(path, "rb") : nullptr;
        if (!file) return false;
        std::fclose(file);
    }
    return true;
}

int32_t chosen_pictures() {
    int32_t chosen = 0;
    for (int32_t face = 0; face < face_count; ++face) chosen += face_picture(face) ? 1 : 0;
    return chosen;
}

// The chosen pictures drawn, or -1 when the atlas could not be made.
int32_t draw_large_atlas(int32_t scale) {
    if (!image_create(large_image, atlas_width * scale, atlas_height * scale, true_colour)) return -1;
    const bool pictures_only = every_face_has_a_picture();
    if (!pictures_only && !draw_stored_atlas(scale)) return -1;
    const int32_t drawn = draw_chosen_pictures(scale);
    if (drawn == face_count || !pictures_only) return drawn;
    // A picture that was there but could not be read: its face comes from the atlas after all.
    if (!draw_stored_atlas(scale)) return -1;
    return draw_chosen_pictures(scale);
}

// The large atlas's edges painted at its own size, so that the page lines stay sharp, and
// handed to the engine; 0 when its pixels cannot be had.
int hand_large_atlas(const engine_export_calls& engine, int number, int32_t scale) {
    pixel_target atlas{nullptr, 0, atlas_width * scale, atlas_height * scale};
    atlas.top_row = image_top_row(large_image, &atlas.pitch);
    if (!atlas.top_row) return 0;
    paint_edge_faces(atlas, scale);
    return engine.LoadTexturePixels(number, atlas.top_row, atlas.width, atlas.height, atlas.pitch);
}

}  // namespace

int export_atlas_texture(const engine_export_calls& engine, int number, int32_t scale, int32_t* unread) {
    const int32_t drawn = draw_large_atlas(scale);
    if (unread) *unread = drawn < 0 ? 0 : chosen_pictures() - drawn;
    const int handle = drawn >= 0 ? hand_large_atlas(engine, number, scale) : 0;
    image_free(atlas_image);
    image_free(large_image);
    return handle;
}

int shaped_atlas_texture(const engine_export_calls& engine, int number) {
    const bool made = image_create(large_image, atlas_width, atlas_height, true_colour) && draw_stored_atlas(1);
    const int handle = made ? hand_large_atlas(engine, number, 1) : 0;
    image_free(atlas_image);
    image_free(large_image);
    return handle;
}
