// The project's numbers go through the scroll bars, which keep them in their ranges, and its
// pictures through the face atlas in one read and one write, whatever their number.
#include "app/project/project_state.h"

#include <cstring>

#include "app/app_state.h"
#include "app/faces/face_choice.h"
#include "app/faces/print_sheet.h"
#include "app/window/box_sizes.h"
#include "app/window/handlers.h"
#include "app/scene/scene.h"
#include "app/window/main_window.h"
#include "app/window/view_menu.h"
#include "runtime/core/core.h"
#include "runtime/gui/gui.h"
#include "runtime/image/image.h"

namespace {

struct bar_field {
    int32_t bar;
    int32_t project::*position;
};

const bar_field bar_fields[] = {
    {gadget::size_depth, &project::size_depth},   {gadget::size_width, &project::size_width},
    {gadget::size_height, &project::size_height}, {gadget::turn, &project::turn_bar},
    {gadget::tilt, &project::tilt_bar},           {gadget::camera_height, &project::camera_height_bar},
};

int32_t face_button_of_row(int32_t row) { return gadget::first_face + row; }
int32_t face_of_row(int32_t row) { return face_index_of_button(face_button_of_row(row)); }

std::string composed_picture(int32_t row) {
    const char* picture = face_picture(face_of_row(row));
    return picture ? picture : "";
}

// The pictures a project named, kept for every face whose composed picture is still the one it
// had then: a picture that could not be found keeps its path, a face the project left empty
// stays empty, until the user chooses another.
struct kept_picture {
    std::string named;
    std::string composed;
};
kept_picture kept_pictures[project_face_count];
// The print sheet the last project named, kept likewise for the faces that were to show it,
// with their panels.
std::string kept_sheet;
picture_part kept_sheet_panels[project_face_count];

bool shows_sheet_panel(int32_t row) { return !is_whole_picture(face_picture_part(face_of_row(row))); }

void keep_pictures(const project& named) {
    for (int32_t row = 0; row < project_face_count; ++row) {
        kept_pictures[row] = {named.pictures[row], composed_picture(row)};
        kept_sheet_panels[row] = named.sheet_panels[row];
    }
    kept_sheet = named.sheet;
}

bool shows_what_was_kept(int32_t row) {
    return kept_pictures[row].named.empty() && composed_picture(row) == kept_pictures[row].composed;
}

// The sheet the faces show, or the one the project named while a face that was to show it
// still shows what it showed then.
std::string sheet_of_window() {
    for (int32_t row = 0; row < project_face_count; ++row)
        if (shows_sheet_panel(row)) return composed_picture(row);
    for (int32_t row = 0; row < project_face_count; ++row)
        if (shows_what_was_kept(row)) return kept_sheet;
    return "";
}

// The panel a face shows of `sheet`, or the one the project named while the face still shows
// what it showed then; none for a face with a picture of its own.
picture_part sheet_panel_of_window(int32_t row, const std::string& sheet) {
    if (shows_sheet_panel(row)) return face_picture_part(face_of_row(row));
    return !sheet.empty() && sheet == kept_sheet && shows_what_was_kept(row) ? kept_sheet_panels[row] : picture_part{};
}

// What the path field shows for a face: its picture, or where on the sheet it comes from.
std::string source_text(int32_t row, const std::string& named) {
    if (!shows_sheet_panel(row)) return named;
    return sheet_panel_text(face_button_of_row(row), composed_picture(row));
}

std::string problem_text(path_problem problem) {
    switch (problem) {
        case path_problem::too_long:
            return "Pfad zu lang";
        case path_problem::device:
            return "ein Ger\xE4t, keine Datei";
        case path_problem::folder:
            return "ein Ordner, kein Bild";
        case path_problem::missing:
            return "nicht gefunden";
        case path_problem::network:
            return "im Netzwerk, nicht ge\xF6" "ffnet";
        case path_problem::none:
            break;
    }
    return "";
}

std::string failure_text(const project& opened, int32_t row, const std::string& reason) {
    return opened.pictures[row] + " (" + reason + ")";
}

// The bar keeps a position within its range; one it had to move counts as adjusted.
int32_t set_bar(int32_t bar, int32_t position, int32_t& adjusted) {
    gadget_set_state(bar, position);
    const int32_t kept = gadget_get_state(bar);
    if (kept != position) ++adjusted;
    return kept;
}

// An offset is a position the bar had, or 0 before its first event.
int32_t bar_offset(int32_t bar, int32_t offset, int32_t& adjusted) {
    const int32_t highest = gadget_get_attribute(bar, scrollbar_maximum);
    if (offset >= 0 && offset <= highest) return offset;
    ++adjusted;
    return offset < 0 ? 0 : highest;
}

void apply_numbers(const project& opened, int32_t& adjusted) {
    project kept = opened;
    for (const bar_field& field : bar_fields) kept.*field.position = set_bar(field.bar, opened.*field.position, adjusted);
    app.size_depth = kept.size_depth;
    app.size_width = kept.size_width;
    app.size_height = kept.size_height;
    app.camera_height = kept.camera_height_bar;
    app.turn_angle = opened.turn_angle;
    app.tilt_angle = opened.tilt_angle;
    app.turn_offset = bar_offset(gadget::turn, opened.turn_offset, adjusted);
    app.tilt_offset = bar_offset(gadget::tilt, opened.tilt_offset, adjusted);
    app.camera_distance = opened.camera_distance;
    apply_box_rotation();
    apply_camera();
    // A file of an older version knows the box by its steps alone.
    const bool from_steps = opened.box.width_mm <= 0;
    set_box_shape(opened.shape, opened.book,
                  from_steps ? box_size_of_steps(app.size_depth, app.size_width, app.size_height) : opened.box);
}

// What a face choice does after the atlas: the path field, and the requester's next folder.
void show_chosen(int32_t row, const std::string& picture) {
    gadget_set_text(gadget::face_path(face_button_of_row(row)), source_text(row, picture).c_str());
    string_assign(&app.last_picture_path, picture.c_str());
}

bool shows_sheet(const project& opened, int32_t row) { return !opened.sheet.empty() && opened.pictures[row].empty(); }

// Only a file that keeps no panels (an older one) has its sheet cut along the net of the box.
sheet_cut cut_if_needed(const project& opened) {
    for (int32_t row = 0; row < project_face_count; ++row)
        if (shows_sheet(opened, row) && !project_has_panel(opened.sheet_panels[row])) return cut_of_sheet(opened.sheet);
    return {};
}

// The faces without a picture of their own take their panels of the project's sheet: those
// the project kept, or else cut along the net of the box the project has.
int32_t request_sheet_panels(const project& opened, const project_reading& reading, face_picture_request* requests,
                             int32_t* rows, int32_t count, project_outcome& outcome) {
    if (opened.sheet.empty()) return count;
    const std::string problem = problem_text(reading.sheet_problem);
    const sheet_cut cut = problem.empty() ? cut_if_needed(opened) : sheet_cut{};
    const print_net net = print_net_of(app.shape, app.box);
    for (int32_t row = 0; row < project_face_count; ++row) {
        if (!shows_sheet(opened, row)) continue;
        const bool kept = project_has_panel(opened.sheet_panels[row]);
        // A cover leaves the edges of a book or case to pictures of their own.
        if (!kept && !net_has_panel(net, face_of_row(row))) continue;
        const std::string why =
            !problem.empty() ? problem : kept || cut.fits ? "" : "Druckbogen passt nicht zur Box oder ist nicht lesbar";
        if (!why.empty()) {
            outcome.picture_failures[row] = opened.sheet + " (" + why + ")";
            continue;
        }
        const picture_part panel = kept ? opened.sheet_panels[row] : cut.panels[face_of_row(row)];
        requests[count] = {opened.sheet.c_str(), face_of_row(row), true, panel};
        rows[count++] = row;
    }
    return count;
}

// An export draws a face from its picture later: one whose size cannot even be read now
// would leave the face to an atlas an earlier run wrote.
bool picture_readable(const char* path) {
    int32_t width = 0, height = 0;
    return image_picture_size(path, &width, &height);
}

void apply_pictures(const project& opened, const project_reading& reading, face_drawing drawing,
                    project_outcome& outcome) {
    face_picture_request requests[project_face_count];
    int32_t rows[project_face_count];
    int32_t count = 0;
    for (int32_t row = 0; row < project_face_count; ++row) {
        if (opened.pictures[row].empty()) continue;
        if (reading.picture_problems[row] != path_problem::none) {
            outcome.picture_failures[row] = failure_text(opened, row, problem_text(reading.picture_problems[row]));
            continue;
        }
        requests[count] = {opened.pictures[row].c_str(), face_of_row(row), true};
        rows[count++] = row;
    }
    count = request_sheet_panels(opened, reading, requests, rows, count, outcome);
    if (drawing == face_drawing::into_atlas && count > 0) {
        outcome.atlas_failure = compose_faces(requests, count);
        if (outcome.atlas_failure == face_failure::none) rebuild_box();
    }
    bool readable = false;
    for (int32_t i = 0; i < count; ++i) {
        if (drawing == face_drawing::for_exports_only) {
            // A sheet's panels follow each other: their file is read once.
            if (i == 0 || std::strcmp(requests[i].path, requests[i - 1].path) != 0)
                readable = picture_readable(requests[i].path);
            requests[i].drawn = readable;
            if (requests[i].drawn) face_picture_choose(requests[i].face_index, requests[i].path, requests[i].part);
        }
        if (requests[i].drawn) show_chosen(rows[i], requests[i].path);
        else if (outcome.atlas_failure == face_failure::none)
            outcome.picture_failures[rows[i]] = std::string(requests[i].path) + " (nicht lesbar)";
    }
}

void apply_look(const project& opened) {
    if (opened.floor_colour != app.background_colour) set_floor_colour(opened.floor_colour);
    app.view = opened.view;
    show_view_options();
}

}  // namespace

bool project_outcome::complete() const {
    for (const std::string& failure : picture_failures)
        if (!failure.empty()) return false;
    return atlas_failure == face_failure::none && values_adjusted == 0 && sizes_refused.empty();
}

project project_of_window() {
    project shown = {};
    for (int32_t row = 0; row < project_face_count; ++row) {
        const std::string composed = composed_picture(row);
        if (shows_sheet_panel(row)) continue;
        shown.pictures[row] = composed == kept_pictures[row].composed ? kept_pictures[row].named : composed;
    }
    shown.sheet = sheet_of_window();
    for (int32_t row = 0; row < project_face_count; ++row) shown.sheet_panels[row] = sheet_panel_of_window(row, shown.sheet);
    for (const bar_field& field : bar_fields) shown.*field.position = gadget_get_state(field.bar);
    shown.box = app.box;
    shown.shape = app.shape;
    shown.book = app.book;
    shown.turn_angle = app.turn_angle;
    shown.tilt_angle = app.tilt_angle;
    shown.turn_offset = app.offsets_shown ? app.turn_offset : 0;
    shown.tilt_offset = app.offsets_shown ? app.tilt_offset : 0;
    shown.camera_distance = app.camera_distance;
    shown.floor_colour = app.background_colour;
    shown.view = app.view;
    return shown;
}

project_outcome project_apply(const project& opened, const project_reading& reading, face_drawing drawing) {
    project_outcome outcome;
    // The numbers first: the sheet is cut along the net of the project's box.
    apply_numbers(opened, outcome.values_adjusted);
    apply_pictures(opened, reading, drawing, outcome);
    apply_look(opened);
    keep_pictures(opened);
    outcome.values_adjusted += reading.values_not_taken;
    outcome.sizes_refused = reading.sizes_refused;
    return outcome;
}

void project_restore(const project& shown) {
    for (int32_t row = 0; row < project_face_count; ++row)
        show_face_path(face_button_of_row(row), source_text(row, shown.pictures[row]));
    int32_t adjusted = 0;
    apply_numbers(shown, adjusted);
    apply_look(shown);
    keep_pictures(shown);
}
