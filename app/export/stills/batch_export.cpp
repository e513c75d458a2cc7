// A project that cannot be taken whole writes no picture: a batch of boxes is better stopped
// than filled with boxes that miss a face. The large exports draw the faces from the
// pictures themselves and leave the atlas alone; the snapshot's size shows the preview,
// which needs them in the atlas.
#include "app/export/stills/batch_export.h"

#include "app/app_state.h"
#include "app/export/stills/box_export.h"
#include "app/messages/console_output.h"
#include "app/engine/engine.h"
#include "app/export/stills/export_command.h"
#include "app/export/model/glb_command.h"
#include "app/faces/face_choice.h"
#include "app/faces/face_prefetch.h"
#include "app/faces/face_rectangles.h"
#include "app/window/handlers.h"
#include "app/project/project_notice.h"
#include "app/project/project_state.h"
#include "app/messages/user_message.h"

namespace {

constexpr int32_t snapshot_size = 295;
constexpr int failed = 1;

// The large type of this size and file kind, or -1.
const export_type* export_type_for(const command& asked) {
    for (const export_type& type : export_types)
        if (type.size == asked.size && type.transparent == asked.transparent) return &type;
    return nullptr;
}

bool write_picture(const command& asked) {
    if (asked.model) return save_glb(asked.target.c_str());
    if (asked.print_template) return save_print_template(asked.target.c_str());
    if (asked.size == snapshot_size) return save_snapshot_file(asked.target.c_str());
    if (!engine.exports_ready) {
        message_tell("Diese 3D-Engine kann keine gro\xDF" "en Bilder zeichnen: " + asked.target);
        return false;
    }
    const export_type* type = export_type_for(asked);
    if (!type) return false;
    if (asked.view_set) return save_view_set(asked.target.c_str(), *type, true);
    // The spin fills its pictures unless told /nofill: that is what shops ask of spin sets.
    if (asked.spin) return save_spin_set(asked.target.c_str(), *type, asked.frames, asked.fill != fill_choice::off, true);
    return save_export(asked.target.c_str(), *type, true);
}

void take_fill_choice(fill_choice fill) {
    if (fill != fill_choice::project) app.view.fill = fill == fill_choice::on;
}

}  // namespace

bool batch_needs_screen(const command& asked) { return asked.size == snapshot_size; }

void batch_prefetch_faces(const command& asked) {
    const export_type* type = export_type_for(asked);
    if (!type) return;
    project wanted{};
    const project_reading reading = project_read(asked.project.c_str(), wanted);
    if (reading.refusal != project_refusal::none) return;
    const int32_t scale = export_atlas_scale(*type);
    prefetch_request requests[project_face_count];
    int32_t count = 0;
    for (int32_t row = 0; row < project_face_count; ++row) {
        if (wanted.pictures[row].empty() || reading.picture_problems[row] != path_problem::none) continue;
        const face_rectangle& face = face_rectangles[face_index_of_button(gadget::first_face + row)];
        requests[count++] = {wanted.pictures[row], face.width * scale, face.height * scale};
    }
    face_prefetch_start(requests, count);
}

int batch_export(const command& asked) {
    project opened = project_of_window();
    const project_reading reading = project_read(asked.project.c_str(), opened);
    if (reading.refusal != project_refusal::none) {
        tell_project_refused(asked.project, reading);
        return failed;
    }
    const face_drawing drawing = asked.size == snapshot_size ? face_drawing::into_atlas : face_drawing::for_exports_only;
    const project_outcome outcome = project_apply(opened, reading, drawing);
    // The template shows no picture: only the box's numbers have to be taken whole, its
    // millimetres above all, since they are what it is drawn from.
    const bool numbers_whole = outcome.values_adjusted == 0 && outcome.sizes_refused.empty();
    if (asked.print_template ? !numbers_whole : !outcome.complete()) {
        tell_project_incomplete(asked.project, outcome);
        message_tell(asked.print_template ? "Es wurde keine Druckvorlage geschrieben."
                     : asked.model        ? "Es wurde kein 3D-Modell geschrieben."
                                          : "Es wurde kein Bild geschrieben.");
        return failed;
    }
    take_fill_choice(asked.fill);
    if (!write_picture(asked)) return failed;
    const char* const done = asked.model            ? "3D-Modell gespeichert: "
                             : asked.spin           ? "Rundumansicht gespeichert: "
                             : asked.view_set       ? "Ansichtenserie gespeichert: "
                             : asked.print_template ? "Druckvorlage gespeichert: "
                                                    : "Bild gespeichert: ";
    console_write(done + asked.target, false);
    return 0;
}
