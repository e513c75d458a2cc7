// The export entry points of the engine the harness loaded, as the export code takes them.
#pragma once

#include "app/export/stills/box_export.h"
#include "harness/harness.h"

inline engine_export_calls export_calls(const engine_dll& e) {
    return {e.LoadTexturePixels, e.FreeTexture, e.ExportMaterialTexture, e.ExportHideEntity,
            e.ExportViewWindow, e.ExportFlatBackdrop, e.RenderCameraRows};
}
