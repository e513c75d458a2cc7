// Where the box with its visible shadow and mirror image lies in the camera's view, found from
// what the engine draws, and the export windows built on it: "Box füllt das Bild" fills a shop
// picture with it, a view of a set drawn without it still shows it whole.
#pragma once

#include "app/export/stills/box_export.h"

// Left, top, width and height in fractions of the camera's view.
struct view_window {
    float left, top, width, height;
};
constexpr view_window whole_view = {0, 0, 1, 1};

// The drawn box's bounds with its visible shadow and mirror image, in fractions of the camera's
// view, found by a search that widens until nothing drawn touches the probe's edge; found is
// false when nothing is drawn.
struct drawn_bounds {
    float left, top, right, bottom;
    bool found;
};
// The backdrop's entities must be left out and its flat colour off. Leaves the export's
// window at the whole view.
drawn_bounds find_drawn_bounds(const engine_export_calls& engine, const export_scene& scene);
// A square window centred on the bounds whose larger side they fill to `share`.
view_window window_around(const drawn_bounds& bounds, float share);

// Sets the engine's export window to a square, centred on the box, whose larger side the
// box fills to 7/8; to the whole view when nothing is drawn. The backdrop's entities must be
// left out already; its flat colour is put aside while looking and then set to
// `flat_backdrop` (-1: none).
void frame_box(const engine_export_calls& engine, const export_scene& scene, int flat_backdrop);
// The same for a view drawn without framing that must not be cut: the camera's own view
// when the box lies inside it clear of the edges, so such a picture stays as it was;
// otherwise a square at least the view's size, centred on the box and holding it.
void hold_box(const engine_export_calls& engine, const export_scene& scene, int flat_backdrop);

// One window for the `count` views `pose` puts the scene into, so that the box stands still
// in all of them: centred on what any of them draws, which fills 7/8 of it where it is
// widest with `fill`, or at the camera's own scale without. False when `pose` stopped.
bool frame_views(const engine_export_calls& engine, const export_scene& scene, int flat_backdrop, bool fill,
                 export_pose pose, void* context, int32_t count);
