// The mouse in the 3D preview: it turns, tilts and zooms the box as the arrow keys and the
// zoom buttons do.
#pragma once

// Once per frame: applies what the mouse did in the preview since the last frame.
void follow_preview_mouse();
