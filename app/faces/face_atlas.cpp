// The face atlas and the floor texture, written with the image library.
#include "app/faces/face_atlas.h"

#include <cstdio>
#include <string>
#include <system_error>
#include <thread>

#include "app/faces/print_net.h"
#include "runtime/image/image.h"

namespace {

constexpr const char* land_file = "model\\land.jpg";
constexpr object_number land_image = 256;
constexpr object_number picture_image = 305;
constexpr object_number atlas_image = 307;
constexpr object_number first_panel_image = 322;  // to 327, a print sheet's panels
constexpr int32_t true_colour = 32;
constexpr int32_t land_size = 1024;
constexpr int32_t best_quality = 10;

struct composed_picture {
    std::string path;
    picture_part part = whole_picture;
};

// Exports draw these faces from the pictures themselves, sharper than the atlas keeps them.
composed_picture composed_pictures[face_count];
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

bool is_known_face(int32_t face_index) { return face_index >= 0 && face_index < face_count; }

bool same_picture(const face_picture_request& a, const face_picture_request& b) {
    return std::string(a.path) == b.path;
}

// A print sheet's panels, each stretched from one decoding of the sheet into an image of its
// face's size (draw_image takes whole pictures only) by two threads in turn, since
// stretching is a good part of a sheet's load, then drawn into the atlas here.
class sheet_panels {
public:
    sheet_panels(face_picture_request* requests, int32_t count) : requests_(requests), count_(count) {
        int32_t width = 0, height = 0;
        for (int32_t i = 0; i < count; ++i) cover_panel(requests[i].face_index, requests[i].part, 1, width, height);
        sheet_decoding_size(requests[0].path, width, height);
        // A BMP sheet is not read: it would be loaded whole, some hundred megabytes at 300 ppi.
        sheet_ = image_decode_sized(requests[0].path, width, height);
    }
    ~sheet_panels() {
        image_decoded_free(sheet_);
        for (int32_t i = 0; i < count_; ++i) image_free(first_panel_image + i);
    }
    sheet_panels(const sheet_panels&) = delete;
    sheet_panels& operator=(const sheet_panels&) = delete;

    void draw() {
        if (!sheet_ || !make_panel_images()) return;
        std::thread helper;
        try {
            helper = std::thread([this] { stretch_every_other(1); });
        } catch (const std::system_error&) {
            stretch_every_other(1);
        }
        stretch_every_other(0);
        if (helper.joinable()) helper.join();
        draw_begin(image_output(atlas_image));
        for (int32_t i = 0; i < count_; ++i)
            if (requests_[i].drawn) {
                const face_rectangle& face = face_rectangles[requests_[i].face_index];
                draw_image(image_handle(first_panel_image + i), face.x, face.y, face.width, face.height);
            }
        draw_end();
    }

private:
    bool make_panel_images() {
        for (int32_t i = 0; i < count_; ++i) {
            const face_rectangle& face = face_rectangles[requests_[i].face_index];
            if (!image_create(first_panel_image + i, face.width, face.height, true_colour)) return false;
            targets_[i] = {nullptr, 0, face.width, face.height};
            targets_[i].top_row = image_top_row(first_panel_image + i, &targets_[i].pitch);
            if (!targets_[i].top_row) return false;
        }
        return true;
    }

    void stretch_every_other(int32_t first) {
        for (int32_t i = first; i < count_; i += 2)
            requests_[i].drawn = image_stretch_decoded(sheet_, targets_[i], 0, 0, targets_[i].width,
                                                       targets_[i].height, requests_[i].part);
    }

    face_picture_request* requests_;
    const int32_t count_;
    platform_handle sheet_ = nullptr;
    pixel_target targets_[face_count] = {};
};

// The panels of one sheet that follow requests[first]; answers how many requests they are.
int32_t draw_sheet_panels(face_picture_request* requests, int32_t count) {
    int32_t panels = 1;
    while (panels < count && panels < face_count && is_known_face(requests[panels].face_index) &&
           !is_whole_picture(requests[panels].part) && same_picture(requests[panels], requests[0]))
        ++panels;
    sheet_panels(requests, panels).draw();
    return panels;
}

// One picture at a time is held beside the atlas, however many faces are drawn.
int32_t draw_requested(face_picture_request* requests, int32_t count) {
    for (int32_t i = 0; i < count;) {
        face_picture_request& request = requests[i];
        if (is_known_face(request.face_index) && !is_whole_picture(request.part)) {
            i += draw_sheet_panels(requests + i, count - i);
            continue;
        }
        const face_rectangle& face = face_rectangles[is_known_face(request.face_index) ? request.face_index : 0];
        request.drawn = is_known_face(request.face_index) &&
                        image_load_sized(picture_image, request.path, face.width, face.height);
        if (request.drawn) draw_picture(face);
        ++i;
    }
    int32_t drawn = 0;
    for (int32_t i = 0; i < count; ++i) drawn += requests[i].drawn ? 1 : 0;
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
    composed_pictures[face_index] = {path};
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
        if (requests[i].drawn) composed_pictures[requests[i].face_index] = {requests[i].path, requests[i].part};
    }
    return outcome;
}

void face_picture_choose(int32_t face_index, const char* path, const picture_part& part) {
    if (is_known_face(face_index)) composed_pictures[face_index] = {path ? path : "", part};
}

const char* face_picture(int32_t face_index) {
    if (!is_known_face(face_index) || composed_pictures[face_index].path.empty()) return nullptr;
    return composed_pictures[face_index].path.c_str();
}

picture_part face_picture_part(int32_t face_index) {
    return face_picture(face_index) ? composed_pictures[face_index].part : whole_picture;
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

void make_background_texture_if_missing(uint32_t colour) {
    if (std::FILE* present = std::fopen(land_file, "rb")) {
        std::fclose(present);
        return;
    }
    make_background_texture(colour);
}
