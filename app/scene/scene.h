// The 3D scene of the preview, as the engine holds it: the box, the two floor planes, the
// camera and the light, built once and rebuilt when a texture file changes.
#pragma once

#include <cstdint>

void scene_create();
void rebuild_box();
void rebuild_floor();
void apply_box_rotation();
// The start rotation: the angles alone; the scroll-bar offsets join with the first event.
void apply_box_angles();
// The engine's box in the proportions of app.box, a size-bar step one unit.
void apply_box_size();
void apply_camera();
// One view of a set: the box turned and tilted, the camera raised to look from
// `camera_elevation` degrees above the box's middle, or left as the user set it when the
// elevation is negative. restore_box_pose gives back the user's own view.
void pose_box(float turn, float tilt, float camera_elevation);
void restore_box_pose();
// pose_box with a view's numbers, or the user's own view for the view shown.
struct set_view;
void pose_set_view(const set_view& view);
// Sends the studio look of app.view to the engine, when the engine has it.
void apply_view_options();
// Clears the back buffer and lets the engine draw the scene into it, once the engine runs.
// Answers the engine's number of the picture drawn, 0 when it is not known.
uint32_t scene_draw();
