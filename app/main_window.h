// The program's only window: its controls, the preview screen and the initial 3D scene.
#pragma once

#include <cstdint>

// Builds window 0 with every gadget, opens the preview and creates the scene. Always 0;
// what failed is simply left out.
int32_t build_main_window();
