// The export as the user meets it: the wait cursor while it works, the status bar telling
// how far it is once it takes longer than a moment, and the usual text again at the end.
#include "app/export/export_command.h"

#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/export/box_export.h"
#include "app/messages/failure_notice.h"
#include "app/window/main_window.h"
#include "runtime/core/core.h"
#include "runtime/core/windows_host.h"

namespace {

constexpr DWORD quiet_ms = 500;  // shorter exports show no progress

struct progress_status {
    DWORD start = GetTickCount();
    bool shown = false;
};

void show_progress(int32_t percent, void* context) {
    auto* status = static_cast<progress_status*>(context);
    if (!status->shown && GetTickCount() - status->start < quiet_ms) return;
    status->shown = true;
    char text[64];
    std::snprintf(text, sizeof text, "Bild wird gespeichert: %d %%", int(percent));
    status_show(text);
}

class wait_cursor {
public:
    wait_cursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~wait_cursor() { SetCursor(previous_); }
    wait_cursor(const wait_cursor&) = delete;
    wait_cursor& operator=(const wait_cursor&) = delete;

private:
    HCURSOR previous_;
};

const export_scene scene_numbers = {scene::camera, scene::box_material, scene::export_box_texture,
                                    {scene::floor, scene::lower_floor}};

}  // namespace

const char* export_patterns() {
    if (!engine.exports_ready) return "";
    return "|jpg 2048 x 2048 (*.jpg)|*.jpg|png 2048 x 2048, transparent (*.png)|*.png"
           "|png 4096 x 4096, transparent (*.png)|*.png";
}

bool save_export(const char* typed_path, int32_t type, bool every_picture) {
    if (!engine.exports_ready || type < 0 || type >= export_type_count) return false;
    const std::string path = export_file_name(typed_path, export_types[type]);
    export_failure failure;
    progress_status status;
    {
        wait_cursor busy;
        failure = export_box(engine.exports, scene_numbers, path.c_str(), export_types[type],
                             show_progress, &status, every_picture);
    }
    if (status.shown) status_show_usual();
    if (failure == export_failure::none) return true;
    tell_export_not_saved(path.c_str(), failure);
    return false;
}
