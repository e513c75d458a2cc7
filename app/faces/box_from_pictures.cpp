// Pictures are measured as they stand upright, as they are drawn onto their faces: the front's
// width along the box's width, a side's along its depth, the top's width along the width and
// its height along the depth.
#include "app/faces/box_from_pictures.h"

#include <string>

#include "app/app_state.h"
#include "app/faces/face_atlas.h"
#include "app/faces/face_choice.h"
#include "app/faces/picture_density.h"
#include "app/project/project_state.h"
#include "app/window/box_sizes.h"
#include "app/window/main_window.h"
#include "runtime/gui/gui.h"
#include "runtime/image/image.h"

namespace {

constexpr int32_t top_face = 0;
constexpr int32_t front_face = 2;
constexpr int32_t side_faces[] = {1, 5};  // right, then left

struct measured_picture {
    double width = 0, height = 0;  // pixels; 0 without a readable picture
    bool has_density = false;
    picture_density density = {};

    explicit operator bool() const { return width > 0 && height > 0; }
    double proportion() const { return width / height; }
    double width_mm() const { return width / density.x_per_mm; }
    double height_mm() const { return height / density.y_per_mm; }
};

struct face_shown {
    std::string path;
    picture_part part = whole_picture;  // a print sheet's panel
};

// The picture the face shows: chosen in this run, or else the one the project names.
face_shown picture_of(int32_t face_index, const project& shown) {
    if (const char* chosen = face_picture(face_index)) return {chosen, face_picture_part(face_index)};
    for (int32_t row = 0; row < project_face_count; ++row)
        if (face_index_of_button(gadget::first_face + row) == face_index)
            return {shown.pictures[row]};
    return {};
}

// The size comes from the picture's header: a photo is not decoded to be measured.
measured_picture measure(const face_shown& face) {
    measured_picture picture;
    int32_t width = 0, height = 0;
    if (face.path.empty() || !image_picture_size(face.path.c_str(), &width, &height)) return picture;
    picture.width = width * (face.part.right - face.part.left);
    picture.height = height * (face.part.bottom - face.part.top);
    picture.has_density = picture && read_picture_density(face.path.c_str(), picture.density);
    return picture;
}

// The first picture with a density sets the scale; the others give proportions only.
box_size measured_box(const measured_picture& front, const measured_picture& side,
                      const measured_picture& top) {
    box_size box = app.box;
    if (front.has_density)
        box.width_mm = front.width_mm(), box.height_mm = front.height_mm();
    else if (front)
        box.width_mm = box.height_mm * front.proportion();
    if (side) {
        if (side.has_density && !front.has_density) box.height_mm = side.height_mm();
        if (front && !front.has_density) box.width_mm = box.height_mm * front.proportion();
        box.depth_mm = box.height_mm * side.proportion();
    } else if (top) {
        if (top.has_density && !front.has_density) {
            box.width_mm = top.width_mm();
            if (front) box.height_mm = box.width_mm / front.proportion();
        }
        box.depth_mm = box.width_mm / top.proportion();
    }
    return box;
}

}  // namespace

void size_box_from_pictures() {
    const project shown = project_of_window();
    const measured_picture front = measure(picture_of(front_face, shown));
    measured_picture side;
    for (int32_t face : side_faces)
        if ((side = measure(picture_of(face, shown)))) break;
    const measured_picture top = side ? measured_picture() : measure(picture_of(top_face, shown));
    const std::string told = "Ma\xDF" "e aus Bildern: ";
    if (!front && !side && !top) {
        status_show((told + "Vorderseite, Seiten und Oberseite haben kein lesbares Bild zum Messen.").c_str());
        return;
    }
    const box_size box = kept_box_size(measured_box(front, side, top));
    if (!box_size_allowed(box)) {
        const std::string limits = " liegt au\xDF" "erhalb von 1 bis 2000 mm oder 1 : 100; nichts ge\xE4ndert.";
        status_show((told + box_size_text(box) + limits).c_str());
        return;
    }
    choose_box_size(box);
}
