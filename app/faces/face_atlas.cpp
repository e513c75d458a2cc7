// The face atlas and the floor texture, written with the image library.
#include "app/faces/face_atlas.h"

#include <string>

#include "runtime/image/image.h"

namespace {

constexpr const char* land_file = "model\\land.jpg";
constexpr object_number land_image = 256;
constexpr object_number picture_image = 305;
constexpr object_number atlas_image = 307;
constexpr int32_t land_size = 1024;
constexpr int32_t best_quality = 10;

// Exports draw these faces from the pictures themselves, sharper than the atlas keeps them.
std::string composed_pictures[face_count];
// Every save begun counts, finished or not: the file may have changed either way.
uint32_t atlas_writes = 0;

bool save_atlas() {
    ++atlas_writes;
    return image_save(atlas_image, face_atlas_file, plugin_jpeg, best_quality) != 0;
}

face_failure save_failure_of_atlas() {
    switch (image_last_save_failure()) {
        case image_save_failure::in_use:
            return face_failure::atlas_in_use;
        case image_save_failure::target_damaged:
            return face_failure::atlas_damaged;
        default:
            return face_failure::atlas_not_written;
    }
}

// Read as stored, as the engine reads it: an orientation tag that a photo editor left in the
// atlas must not turn it and move every face out of its rectangle.
bool load_atlas() { return image_load(atlas_image, face_atlas_file, image_load_as_stored) != 0; }

void draw_picture(const face_rectangle& face) {
    draw_begin(image_output(atlas_image));
    draw_image(image_handle(picture_image), face.x, face.y, face.width, face.height);
    draw_end();
    image_free(picture_image);
}

face_failure compose(const char* path, const face_rectangle& face) {
    // An unreadable picture must not cost the atlas another lossy rewrite.
    if (!image_load_sized(picture_image, path, face.width, face.height)) return face_failure::picture_unreadable;
    if (!load_atlas()) return face_failure::atlas_unreadable;
    draw_picture(face);
    if (!save_atlas()) return save_failure_of_atlas();
    return face_failure::none;
}

// One picture at a time is held beside the atlas, however many faces are drawn.
int32_t draw_requested(face_picture_request* requests, int32_t count) {
    int32_t drawn = 0;
    for (int32_t i = 0; i < count; ++i) {
        face_picture_request& request = requests[i];
        const bool known_face = request.face_index >= 0 && request.face_index < face_count;
        const face_rectangle& face = face_rectangles[known_face ? request.face_index : 0];
        request.drawn = known_face && image_load_sized(picture_image, request.path, face.width, face.height);
        if (!request.drawn) continue;
        draw_picture(face);
        ++drawn;
    }
    return drawn;
}

}  // namespace

int32_t compose_face(const char* path, int32_t face_index, face_failure* failure) {
    if (face_index < 0 || face_index >= face_count) return 0;
    const face_failure outcome = compose(path, face_rectangles[face_index]);
    // A photo of 4000 x 3000 pixels holds 36 MB: nothing is kept between choices.
    image_free(picture_image);
    image_free(atlas_image);
    if (failure) *failure = outcome;
    if (outcome != face_failure::none) return 0;
    composed_pictures[face_index] = path;
    return 1;
}

face_failure compose_faces(face_picture_request* requests, int32_t count) {
    for (int32_t i = 0; i < count; ++i) requests[i].drawn = false;
    if (!load_atlas()) return face_failure::atlas_unreadable;
    face_failure outcome = face_failure::none;
    if (draw_requested(requests, count) > 0 && !save_atlas()) outcome = save_failure_of_atlas();
    image_free(atlas_image);
    for (int32_t i = 0; i < count; ++i) {
        if (outcome != face_failure::none) requests[i].drawn = false;
        if (requests[i].drawn) composed_pictures[requests[i].face_index] = requests[i].path;
    }
    return outcome;
}

void face_picture_choose(int32_t face_index, const char* path) {
    if (face_index >= 0 && face_index < face_count) composed_pictures[face_index] = path ? path : "";
}

const char* face_picture(int32_t face_index) {
    if (face_index < 0 || face_index >= face_count || composed_pictures[face_index].empty())
        return nullptr;
    return composed_pictures[face_index].c_str();
}

uint32_t face_atlas_writes() { return atlas_writes; }

int32_t make_background_texture(uint32_t colour) {
    image_create(land_image, land_size, land_size);
    draw_begin(image_output(land_image));
    draw_box(0, 0, land_size, land_size, colour);
    draw_end();
    image_save(land_image, land_file, plugin_jpeg, best_quality);
    image_free(land_image);
    return 0;
}
