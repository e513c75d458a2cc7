// The face atlas and the floor texture, written with the image library.
#include "app/faces/face_atlas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/faces/print_net.h"
#include "app/faces/sheet_stretch.h"
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
// The shape whose edges exports and the preview paint.
box_shape edge_shape = box_shape::box;
book_setup edge_book;
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

bool is_sheet_panel(const face_picture_request& request) {
    return is_known_face(request.face_index) && !is_whole_picture(request.part);
}

// How many requests from the first on are panels of its sheet.
int32_t sheet_run(const face_picture_request* requests, int32_t count) {
    int32_t panels = 1;
    while (panels < count && panels < face_count && is_sheet_panel(requests[panels]) &&
           same_picture(requests[panels], requests[0]))
        ++panels;
    return panels;
}

// The sheet of the first panel among the requests, decoding from now on at the size its
// panels need; none without a panel. A BMP sheet is not read: it would be loaded whole, some
// hundred megabytes at 300 ppi.
std::unique_ptr<sheet_stretching> start_sheet(const face_picture_request* requests, int32_t count) {
    const face_picture_request* first = std::find_if(requests, requests + count, is_sheet_panel);
    if (first == requests + count) return nullptr;
    const int32_t panels = sheet_run(first, int32_t(requests + count - first));
    int32_t width = 0, height = 0;
    for (int32_t i = 0; i < panels; ++i) cover_panel(first[i].face_index, first[i].part, 1, width, height);
    sheet_decoding_size(first->path, width, height);
    return std::make_unique<sheet_stretching>(first->path, width, height);
}

// A print sheet's panels, each stretched from the sheet into an image of its face's size
// (draw_image takes whole pictures only), then drawn into the atlas here.
class sheet_panels {
public:
    sheet_panels(face_picture_request* requests, int32_t count) : requests_(requests), count_(count) {}
    ~sheet_panels() {
        for (int32_t i = 0; i < count_; ++i) image_free(first_panel_image + i);
    }
    sheet_panels(const sheet_panels&) = delete;
    sheet_panels& operator=(const sheet_panels&) = delete;

    void draw(sheet_stretching& sheet) {
        if (!make_panel_images()) return;
        sheet.stretch(panels_, count_);
        draw_begin(image_output(atlas_image));
        for (int32_t i = 0; i < count_; ++i) {
            requests_[i].drawn = panels_[i].drawn;
            if (!requests_[i].drawn) continue;
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
            pixel_target& target = panels_[i].target;
            target = {nullptr, 0, face.width, face.height};
            target.top_row = image_top_row(first_panel_image + i, &target.pitch);
            if (!target.top_row) return false;
            panels_[i].part = requests_[i].part;
        }
        return true;
    }

    face_picture_request* requests_;
    const int32_t count_;
    sheet_panel panels_[face_count] = {};
};

// The panels of one sheet that follow requests[first], from `started` when it is that sheet's
// decoding (which is then used up); answers how many requests they are.
int32_t draw_sheet_panels(face_picture_request* requests, int32_t count, sheet_stretching*& started) {
    const int32_t panels = sheet_run(requests, count);
    std::unique_ptr<sheet_stretching> own;
    sheet_stretching* sheet = started;
    started = nullptr;
    if (!sheet || sheet->path() != requests[0].path) {
        own = start_sheet(requests, panels);
        sheet = own.get();
    }
    sheet_panels(requests, panels).draw(*sheet);
    return panels;
}

// One picture at a time is loaded beside the atlas, however many faces are drawn, and the
// first sheet's decoding.
int32_t draw_requested(face_picture_request* requests, int32_t count, sheet_stretching* started) {
    for (int32_t i = 0; i < count;) {
        face_picture_request& request = requests[i];
        if (is_sheet_panel(request)) {
            i += draw_sheet_panels(requests + i, count - i, started);
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

// The faces a book shows its page block on and a case its open edges: top, right, bottom.
constexpr int32_t edge_faces[] = {0, 1, 4};
// 0x00RRGGBB, as the pixels hold them: a DVD case's black plastic, a Blu-ray case's blue.
constexpr uint32_t dvd_plastic = 0x1E1F22, bluray_plastic = 0x1C4A86;
// A line at least this many pixels from the next, so that a thick book does not turn grey.
constexpr int32_t pixels_per_line = 3;

uint32_t paper_colour(book_paper paper) {
    switch (paper) {
        case book_paper::cream:
            return 0xF0E4C8;
        case book_paper::colour:
            return 0xFAFAF7;
        case book_paper::white:
            break;
    }
    return 0xF5F4EF;
}

uint32_t shaded(uint32_t rgb, int32_t percent) {
    uint32_t result = 0;
    for (int32_t shift = 0; shift < 24; shift += 8)
        result |= std::min<uint32_t>(255, (rgb >> shift & 0xFF) * uint32_t(percent) / 100) << shift;
    return result;
}

// A page block's cut seen edge on, one line of pixels `at` of `across` through its depth: a
// darker line between leaves, and every line a shade apart from its neighbour, as the cut of
// real paper is.
uint32_t page_line(uint32_t paper, int32_t at, int32_t across, int32_t lines) {
    const double leaf = (at + 0.5) * lines / across;
    const bool between_leaves = leaf - std::floor(leaf) < 0.3;
    const int32_t grain = int32_t(uint32_t(at) * 2654435761u >> 29);
    return shaded(paper, (between_leaves ? 86 : 95) + grain);
}

void paint_column(const pixel_target& atlas, int32_t x, int32_t top, int32_t bottom, uint32_t colour) {
    for (int32_t y = top; y < bottom; ++y) std::memcpy(atlas.top_row + intptr_t(y) * atlas.pitch + intptr_t(x) * 4, &colour, 4);
}

void paint_row(const pixel_target& atlas, int32_t y, int32_t left, int32_t right, uint32_t colour) {
    uint32_t* row = reinterpret_cast<uint32_t*>(atlas.top_row + intptr_t(y) * atlas.pitch);
    std::fill(row + left, row + right, colour);
}

// The leaves stand across the book's depth: on the fore-edge's picture the depth runs across
// its columns, on the head's and the tail's down its rows (box.mesh's texture coordinates).
bool depth_runs_down(int32_t face) { return face != 1; }

}  // namespace

void face_edges_follow(box_shape shape, const book_setup& book) {
    edge_shape = shape;
    edge_book = book;
}

bool face_edges_painted() { return edge_shape != box_shape::box; }

void paint_edge_faces(const pixel_target& atlas, int32_t scale) {
    if (!face_edges_painted()) return;
    const box_shape shape = edge_shape;
    const book_setup& book = edge_book;
    const uint32_t paper = paper_colour(book.paper);
    for (int32_t face : edge_faces) {
        if (face_picture(face)) continue;
        const face_rectangle& r = face_rectangles[face];
        const bool down = depth_runs_down(face);
        const int32_t across = (down ? r.height : r.width) * scale;
        const int32_t leaves = book.pages > 0 ? book.pages / 2 : across;
        const int32_t lines = std::max(1, std::min(leaves, across / pixels_per_line));
        for (int32_t at = 0; at < across; ++at) {
            const uint32_t colour = shape == box_shape::dvd      ? dvd_plastic
                                    : shape == box_shape::bluray ? bluray_plastic
                                                                 : page_line(paper, at, across, lines);
            if (down) paint_row(atlas, r.y * scale + at, r.x * scale, (r.x + r.width) * scale, colour);
            else paint_column(atlas, r.x * scale + at, r.y * scale, (r.y + r.height) * scale, colour);
        }
    }
}

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
    // A sheet decodes while the atlas is read, and is freed while it is saved.
    const std::unique_ptr<sheet_stretching> sheet = start_sheet(requests, count);
    if (!load_atlas()) return face_failure::atlas_unreadable;
    face_failure outcome = face_failure::none;
    if (draw_requested(requests, count, sheet.get()) > 0 && !save_atlas()) outcome = save_failure_of_atlas();
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
