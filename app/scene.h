// The 3D scene of the preview, as the engine holds it: the box, the two floor planes, the
// camera and the light, built once and rebuilt when a texture file changes.
#pragma once

void scene_create();
void rebuild_box();
void rebuild_floor();
void apply_box_rotation();
// The arrow keys' rotation: the angles alone, without the scroll-bar offsets.
void apply_box_angles();
void apply_box_size();
void apply_camera();
