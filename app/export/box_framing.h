// "Box füllt das Bild": the window of the camera's view in which the box with its visible
// shadow and mirror image fills a shop picture, found from what the engine draws.
#pragma once

#include "app/export/box_export.h"

// Left, top, width and height in fractions of the camera's view.
struct view_window {
    float left, top, width, height;
};
constexpr view_window whole_view = {0, 0, 1, 1};

// Sets the engine's export window to a square, centred on the box, whose larger side the
// box fills to 7/8; to the whole view when nothing is drawn. The backdrop's entities must be
// left out already; its flat colour is put aside while looking and then set to
// `flat_backdrop` (-1: none).
void frame_box(const engine_export_calls& engine, const export_scene& scene, int flat_backdrop);
