// The program's only window: its controls, the preview screen and the initial 3D scene.
#pragma once

#include <cstdint>

// Builds window 0 with every gadget, opens the preview and creates the scene. 0 when the
// window or its gadget list could not be made; other failures leave their part out.
int32_t build_main_window();
