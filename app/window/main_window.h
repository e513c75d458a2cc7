// The program's only window: its controls, the preview screen and the initial 3D scene.
#pragma once

#include <cstdint>
#include <string>

// Builds window 0 with every gadget, opens the preview and creates the scene; the window
// stays hidden unless `shown`, and without `with_screen` the scene is made for exports alone,
// with no preview screen. 0 when the window or its gadget list could not be made; other
// failures leave their part out.
int32_t build_main_window(bool shown = true, bool with_screen = true);

// The caption of a face button, which names its face to the user as the shape calls it.
const char* face_caption(int32_t face_button);
// The face buttons named anew after a change of shape.
void show_face_captions();

// Shows a passing text in the status bar at once, even while the frame loop waits.
void status_show(const char* text);
// Gives the status bar its usual text back.
void status_show_usual();
// The face row's path field: the picture, or the prompt to choose one.
void show_face_path(int32_t face_button, const std::string& picture);
