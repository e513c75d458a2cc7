// The box is found in small renders with the backdrop left out, where the box, its shadow
// and its mirror image are the only drawn pixels: the camera's view first, widened while
// anything drawn touches the probe's edge (a raised camera leaves the box low, a mirror image
// may run out of the view), then the part around what was found, for bounds a few export
// pixels exact. Whatever shape the shadow takes, the framing follows what is drawn.
#include "app/export/stills/box_framing.h"

#include <algorithm>
#include <vector>

namespace {

// Fine enough that a faint corner filling part of a probe pixel still shows: framing then
// centres within a few export pixels, at a few per cent of an export's time.
constexpr int32_t probe_size = 512;
constexpr int32_t probe_samples = 4;
// A shadow more than 8 levels dark on white, or a mirror image stronger than 3 %, has at
// least this alpha.
constexpr uint32_t visible_alpha = 8;
constexpr float filled_share = 0.875f;
// A view held whole keeps this much of its side around the box.
constexpr float held_share = 0.95f;
// The view is kept only when the box lies this far inside it, and a held window keeps what
// it shows this many probe pixels off its edges, growing by this factor until it does.
constexpr float held_edge = 0.01f;
constexpr int32_t held_clearance = 2;
constexpr float held_growth = 1.05f;
// The engine refuses windows larger than 64 views; the search stops well before.
constexpr float widest_window = 16;
constexpr int32_t most_probes = 12;
// The exact look's window leaves room around what the wide look found.
constexpr float exact_look_share = 0.9f;

// False for a window the engine refuses, one too small to draw from.
bool set_window(const engine_export_calls& engine, const view_window& window) {
    return engine.ExportViewWindow(window.left, window.top, window.width, window.height) == 1;
}

struct probe {
    bool drawn;    // the engine drew the window
    int32_t clearance;  // probe pixels between what is drawn and the probe's edge
    drawn_bounds bounds;  // a probe pixel further out on each side than what is drawn
};

// Pixels of at least `least_alpha` count as drawn.
probe look_into(const engine_export_calls& engine, const export_scene& scene, const view_window& window,
                uint32_t least_alpha) {
    std::vector<uint32_t> pixels(size_t(probe_size) * probe_size);
    const bool drawn = set_window(engine, window) &&
                       engine.RenderCameraRows(scene.camera, probe_size, probe_size, probe_samples, 0, probe_size,
                                               pixels.data(), probe_size * 4);
    if (!drawn) return {};
    int32_t left = probe_size, top = probe_size, right = -1, bottom = -1;
    for (int32_t y = 0; y < probe_size; ++y)
        for (int32_t x = 0; x < probe_size; ++x) {
            if ((pixels[size_t(y) * probe_size + x] >> 24) < least_alpha) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (right < 0) return {true, probe_size, {}};
    const int32_t clearance = std::min({left, top, probe_size - 1 - right, probe_size - 1 - bottom});
    const float step_x = window.width / probe_size, step_y = window.height / probe_size;
    return {true, clearance,
            {window.left + float(left - 1) * step_x, window.top + float(top - 1) * step_y,
             window.left + float(right + 2) * step_x, window.top + float(bottom + 2) * step_y, true}};
}

// Twice as large, around what was found, or around the window's middle when nothing was.
view_window widened(const view_window& window, const probe& seen) {
    const float side = 2 * std::max(window.width, window.height);
    float centre_x = window.left + window.width / 2, centre_y = window.top + window.height / 2;
    if (seen.bounds.found)
        centre_x = (seen.bounds.left + seen.bounds.right) / 2, centre_y = (seen.bounds.top + seen.bounds.bottom) / 2;
    return {centre_x - side / 2, centre_y - side / 2, side, side};
}

drawn_bounds joined(const drawn_bounds& a, const drawn_bounds& b) {
    if (!a.found) return b;
    if (!b.found) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom), true};
}

bool inside_the_view(const drawn_bounds& bounds) {
    return bounds.left > held_edge && bounds.top > held_edge && bounds.right < 1 - held_edge &&
           bounds.bottom < 1 - held_edge;
}

// The flat backdrop is off while looking: it would be drawn everywhere.
template <typename Choice>
void set_window_found(const engine_export_calls& engine, const export_scene& scene, int flat_backdrop,
                      Choice choose) {
    engine.ExportFlatBackdrop(-1);
    const drawn_bounds bounds = find_drawn_bounds(engine, scene);
    const view_window chosen = bounds.found ? choose(bounds) : whole_view;
    engine.ExportFlatBackdrop(flat_backdrop);
    if (!set_window(engine, chosen)) set_window(engine, whole_view);
}

// A faint corner of a shadow or mirror image that fills only part of a probe pixel shows
// fainter there than in the export's finer pixels: the window is grown about its middle
// until what is drawn into it at half the visible alpha keeps clear of its edges by a few
// probe pixels.
view_window clear_of_edges(const engine_export_calls& engine, const export_scene& scene, view_window window) {
    for (int32_t tries = 0; tries < most_probes; ++tries) {
        const probe seen = look_into(engine, scene, window, visible_alpha / 2);
        if (!seen.drawn || seen.clearance >= held_clearance) break;
        const float grown = window.width * held_growth;
        window = {window.left - (grown - window.width) / 2, window.top - (grown - window.height) / 2, grown, grown};
    }
    return window;
}

}  // namespace

// The wide looks count every pixel touched at all, so that a thin corner too small for a probe
// pixel to show as visible still widens the search and lies inside the exact look's window.
// Widening stops at the widest window; a box larger than that is framed as far as it was seen.
drawn_bounds find_drawn_bounds(const engine_export_calls& engine, const export_scene& scene) {
    view_window window = whole_view;
    drawn_bounds wide = {};  // the last wide look's, should the looks run out
    bool exact = false;
    for (int32_t probes = 0; probes < most_probes; ++probes) {
        const probe seen = look_into(engine, scene, window, exact ? visible_alpha : 1);
        if (!seen.drawn) break;
        // Nothing visible in the exact look is nothing drawn, which clears every edge.
        if (exact && seen.clearance > 0) {
            set_window(engine, whole_view);
            return seen.bounds;
        }
        if (!exact && seen.bounds.found) wide = seen.bounds;
        exact = !exact && seen.bounds.found && seen.clearance > 0;
        if (exact) {
            window = window_around(wide, exact_look_share);
        } else if (window.width < widest_window) {
            window = widened(window, seen);
        } else {
            break;
        }
    }
    set_window(engine, whole_view);
    return wide;
}

view_window window_around(const drawn_bounds& bounds, float share) {
    const float side = std::max(bounds.right - bounds.left, bounds.bottom - bounds.top) / share;
    const float centre_x = (bounds.left + bounds.right) / 2, centre_y = (bounds.top + bounds.bottom) / 2;
    return {centre_x - side / 2, centre_y - side / 2, side, side};
}

void frame_box(const engine_export_calls& engine, const export_scene& scene, int flat_backdrop) {
    set_window_found(engine, scene, flat_backdrop,
                     [](const drawn_bounds& bounds) { return window_around(bounds, filled_share); });
}

void hold_box(const engine_export_calls& engine, const export_scene& scene, int flat_backdrop) {
    set_window_found(engine, scene, flat_backdrop, [&](const drawn_bounds& bounds) {
        if (inside_the_view(bounds)) return clear_of_edges(engine, scene, whole_view);
        const float larger = std::max(bounds.right - bounds.left, bounds.bottom - bounds.top);
        // never smaller than the view
        return clear_of_edges(engine, scene, window_around(bounds, std::min(held_share, larger)));
    });
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
