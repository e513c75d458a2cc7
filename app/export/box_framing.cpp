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
// A box drawn beyond the camera's view, as from a raised camera, is looked for in windows up
// to 2^this times the view's size.
constexpr int widenings_at_most = 4;

// False for a window the engine refuses, one too small to draw from.
bool set_window(const engine_export_calls& engine, const view_window& window) {
    return engine.ExportViewWindow(window.left, window.top, window.width, window.height) == 1;
}

// The drawn pixels' bounds in fractions of the view, a probe pixel further out on each side.
drawn_bounds drawn_in(const engine_export_calls& engine, const export_scene& scene, const view_window& window) {
    std::vector<uint32_t> pixels(size_t(probe_size) * probe_size);
    const bool drawn = set_window(engine, window) &&
                       engine.RenderCameraRows(scene.camera, probe_size, probe_size, probe_samples, 0, probe_size,
                                               pixels.data(), probe_size * 4);
    if (!drawn) return {0, 0, 0, 0, false};
    int32_t left = probe_size, top = probe_size, right = -1, bottom = -1;
    for (int32_t y = 0; y < probe_size; ++y)
        for (int32_t x = 0; x < probe_size; ++x) {
            if ((pixels[size_t(y) * probe_size + x] >> 24) < visible_alpha) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (right < 0) return {0, 0, 0, 0, false};
    const float step_x = window.width / probe_size, step_y = window.height / probe_size;
    return {window.left + float(left - 1) * step_x, window.top + float(top - 1) * step_y,
            window.left + float(right + 2) * step_x, window.top + float(bottom + 2) * step_y, true};
}

// Drawn pixels on the window's edge: there may be more beyond it.
bool reaches_edge(const drawn_bounds& bounds, const view_window& window) {
    return bounds.left < window.left || bounds.top < window.top || bounds.right > window.left + window.width ||
           bounds.bottom > window.top + window.height;
}

view_window twice(const view_window& window) {
    return {window.left - window.width / 2, window.top - window.height / 2, window.width * 2, window.height * 2};
}

drawn_bounds joined(const drawn_bounds& a, const drawn_bounds& b) {
    if (!a.found) return b;
    if (!b.found) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom), true};
}

}  // namespace

drawn_bounds find_drawn_bounds(const engine_export_calls& engine, const export_scene& scene) {
    view_window window = whole_view;
    drawn_bounds first = drawn_in(engine, scene, window);
    for (int wider = 0; first.found && reaches_edge(first, window) && wider < widenings_at_most; ++wider)
        first = drawn_in(engine, scene, window = twice(window));
    if (!first.found) return first;
    const drawn_bounds exact = drawn_in(engine, scene, window_around(first, 1));
    return exact.found ? exact : first;
}

view_window window_around(const drawn_bounds& bounds, float share) {
    const float side = std::max(bounds.right - bounds.left, bounds.bottom - bounds.top) / share;
    const float centre_x = (bounds.left + bounds.right) / 2, centre_y = (bounds.top + bounds.bottom) / 2;
    return {centre_x - side / 2, centre_y - side / 2, side, side};
}

void frame_box(const engine_export_calls& engine, const export_scene& scene, int flat_backdrop) {
    engine.ExportFlatBackdrop(-1);
    const drawn_bounds bounds = find_drawn_bounds(engine, scene);
    engine.ExportFlatBackdrop(flat_backdrop);
    if (!bounds.found || !set_window(engine, window_around(bounds, filled_share))) set_window(engine, whole_view);
}

bool frame_views(const engine_export_calls& engine, const export_scene& scene, int flat_backdrop, bool fill,
                 export_pose pose, void* context, int32_t count) {
    engine.ExportFlatBackdrop(-1);
    drawn_bounds all = {0, 0, 0, 0, false};
    bool posed = true;
    for (int32_t view = 0; view < count && posed; ++view)
        if ((posed = pose(view, context))) all = joined(all, find_drawn_bounds(engine, scene));
    engine.ExportFlatBackdrop(flat_backdrop);
    view_window framed = whole_view;
    // Unfilled, the box keeps the size it has in the camera's view unless that would cut it.
    const float larger = std::max(all.right - all.left, all.bottom - all.top);
    if (all.found) framed = window_around(all, fill ? filled_share : std::min(filled_share, larger));
    if (!set_window(engine, framed)) set_window(engine, whole_view);
    return posed;
}
