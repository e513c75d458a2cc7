// The box is found in two small renders with the backdrop left out, where the box, its
// shadow and its mirror image are the only drawn pixels: the whole view first, then the
// part around what it found, for bounds a few export pixels exact. Whatever shape the
// shadow takes, the framing follows what is drawn.
#include "app/export/box_framing.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int32_t probe_size = 256;
constexpr int32_t probe_samples = 4;
// A shadow more than 8 levels dark on white, or a mirror image stronger than 3 %, has at
// least this alpha.
constexpr uint32_t visible_alpha = 8;
constexpr float filled_share = 0.875f;

struct extent {
    float left = 0, top = 0, right = 0, bottom = 0;
    bool found = false;
};

// False for a window the engine refuses, one too small to draw from.
bool set_window(const engine_export_calls& engine, const view_window& window) {
    return engine.ExportViewWindow(window.left, window.top, window.width, window.height) == 1;
}

// The drawn pixels' bounds in fractions of the view, a probe pixel further out on each side.
extent drawn_extent(const engine_export_calls& engine, const export_scene& scene, const view_window& window) {
    std::vector<uint32_t> pixels(size_t(probe_size) * probe_size);
    const bool drawn = set_window(engine, window) &&
                       engine.RenderCameraRows(scene.camera, probe_size, probe_size, probe_samples, 0, probe_size,
                                               pixels.data(), probe_size * 4);
    if (!drawn) return {};
    int32_t left = probe_size, top = probe_size, right = -1, bottom = -1;
    for (int32_t y = 0; y < probe_size; ++y)
        for (int32_t x = 0; x < probe_size; ++x) {
            if ((pixels[size_t(y) * probe_size + x] >> 24) < visible_alpha) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (right < 0) return {};
    const float step_x = window.width / probe_size, step_y = window.height / probe_size;
    return {window.left + float(left - 1) * step_x, window.top + float(top - 1) * step_y,
            window.left + float(right + 2) * step_x, window.top + float(bottom + 2) * step_y, true};
}

view_window window_around(const extent& found, float share) {
    const float side = std::max(found.right - found.left, found.bottom - found.top) / share;
    const float centre_x = (found.left + found.right) / 2, centre_y = (found.top + found.bottom) / 2;
    return {centre_x - side / 2, centre_y - side / 2, side, side};
}

}  // namespace

void frame_box(const engine_export_calls& engine, const export_scene& scene, int flat_backdrop) {
    engine.ExportFlatBackdrop(-1);
    view_window framed = whole_view;
    const extent first = drawn_extent(engine, scene, whole_view);
    if (first.found) {
        const extent exact = drawn_extent(engine, scene, window_around(first, 1));
        framed = window_around(exact.found ? exact : first, filled_share);
    }
    engine.ExportFlatBackdrop(flat_backdrop);
    if (!set_window(engine, framed)) set_window(engine, whole_view);
}
