// The model is written with the wait cursor up; it takes about as long as reading the face
// pictures, so it shows no progress.
#include "app/export/model/glb_command.h"

#include <string>

#include "app/app_state.h"
#include "app/engine/engine.h"
#include "app/export/stills/export_command.h"
#include "app/export/model/glb_export.h"
#include "app/messages/failure_notice.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"

namespace {

constexpr const char* glb_extension = ".glb";

std::string with_extension(std::string path) {
    const size_t dot = path.find_last_of(".\\");
    if (dot == std::string::npos || path[dot] != '.' || lstrcmpiA(path.c_str() + dot, glb_extension) != 0)
        path += glb_extension;
    return path;
}

// Without the engine's shapes there is nothing to draw a book or a case from.
export_failure shape_glb(const char* path) {
    if (!engine.ready || !engine.model_ready) return export_failure::no_preview;
    const model_scene scene{scene::box_mesh, scene::box_material, scene::model_entity};
    return export_shape_glb(engine.model, scene, path, app.shape, app.box, app.view.soft_edges);
}

}  // namespace

void ask_and_save_glb() {
    const std::string chosen = ask_export_name("3D-Modell exportieren", "Box.glb", "3D-Modell glTF (*.glb)|*.glb");
    if (!chosen.empty()) save_glb(chosen.c_str());
}

bool save_glb(const char* typed_path) {
    const std::string path = with_extension(typed_path);
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const export_failure failure = app.shape == box_shape::box ? export_glb(path.c_str(), app.box, app.view.soft_edges)
                                                               : shape_glb(path.c_str());
    SetCursor(previous);
    if (failure == export_failure::none) return true;
    tell_model_not_saved(path.c_str(), failure);
    return false;
}
