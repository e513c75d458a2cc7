// Pictures are measured as they stand upright, as they are drawn onto their faces. The sizes
// go through the scroll bars, which keep them in their ranges.
#include "app/faces/box_from_pictures.h"

#include <cmath>
#include <cstdlib>

#include "app/app_state.h"
#include "app/faces/face_atlas.h"
#include "app/scene/scene.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"
#include "runtime/image/image.h"

namespace {

constexpr object_number measured_image = 311;
constexpr int32_t front_face = 2;
constexpr int32_t side_faces[] = {1, 5};  // right, then left

// Width over height of the face's picture; 0 without a readable one.
double proportion_of(int32_t face_index) {
    const char* path = face_picture(face_index);
    if (!path || !image_load(measured_image, path)) return 0.0;
    BITMAP bitmap = {};
    const bool measured = GetObjectA(image_handle(measured_image), sizeof bitmap, &bitmap) != 0 && bitmap.bmHeight != 0;
    image_free(measured_image);
    return measured ? double(bitmap.bmWidth) / std::abs(double(bitmap.bmHeight)) : 0.0;
}

// The thumb covers a page, so the last position is a page short of the range's end.
int32_t highest(int32_t bar) { return gadget_get_attribute(bar, scrollbar_maximum) - gadget_get_attribute(bar, scrollbar_page); }
int32_t lowest(int32_t bar) { return gadget_get_attribute(bar, scrollbar_minimum); }

// The pair of steps nearest the proportion; among equally near ones, the one whose larger
// side is nearest the box's present larger side, so that the box keeps its size.
void front_steps(double proportion, int32_t& width, int32_t& height) {
    const int32_t present = width > height ? width : height;
    double best_error = 0.0;
    int32_t best_distance = 0;
    bool found = false;
    for (int32_t h = lowest(gadget::size_height); h <= highest(gadget::size_height); ++h)
        for (int32_t w = lowest(gadget::size_width); w <= highest(gadget::size_width); ++w) {
            const double error = std::fabs(std::log(double(w) / double(h) / proportion));
            const int32_t distance = std::abs((w > h ? w : h) - present);
            if (found && (error > best_error + 1e-9 || (error > best_error - 1e-9 && distance >= best_distance)))
                continue;
            best_error = error;
            best_distance = distance;
            width = w;
            height = h;
            found = true;
        }
}

int32_t nearest_step(int32_t bar, double wanted) {
    const int32_t step = int32_t(std::lround(wanted));
    return step < lowest(bar) ? lowest(bar) : step > highest(bar) ? highest(bar) : step;
}

}  // namespace

void size_box_from_pictures() {
    const double front = proportion_of(front_face);
    if (front > 0.0) front_steps(front, app.size_width, app.size_height);
    for (int32_t side : side_faces) {
        const double proportion = proportion_of(side);
        if (proportion <= 0.0) continue;
        app.size_depth = nearest_step(gadget::size_depth, proportion * app.size_height);
        break;
    }
    gadget_set_state(gadget::size_width, app.size_width);
    gadget_set_state(gadget::size_height, app.size_height);
    gadget_set_state(gadget::size_depth, app.size_depth);
    apply_box_size();
}
