// A project: what the user set up for one box, kept in a small INI text file that only the
// host's profile functions read and write. The format version comes first, so that a later
// program can tell an earlier file and an earlier program refuses a later one.
#pragma once

#include <cstdint>
#include <string>

#include "app/project/box_shape.h"
#include "app/project/box_size.h"
#include "app/project/project_paths.h"
#include "app/project/view_settings.h"
#include "runtime/image/image.h"

constexpr const char* project_extension = ".tessaryn";
constexpr int32_t project_format_version = 1;
constexpr int32_t project_face_count = 6;
// Beyond any file this program writes: a larger file is refused before it is read.
constexpr long project_size_limit = 65536;

struct project {
    // Full paths by face row, as the window lists the faces from the top; empty: none chosen.
    std::string pictures[project_face_count];
    // The box's millimetres; all 0 for a file of an older version, whose size is its steps.
    box_size box;
    // A book's box is its trim and spine; older files and boxes keep neither key.
    box_shape shape = box_shape::box;
    book_setup book;
    // A print sheet with every face's panel: the faces without a picture of their own show it.
    std::string sheet;
    // By face row, the panel of the sheet the face shows, in the sheet's own proportions, so
    // that a box whose size changed since shows the same faces; all 0 where none is known,
    // as in older files, whose sheet is cut along the net of the box as it is.
    picture_part sheet_panels[project_face_count];
    // Scroll-bar positions.
    int32_t size_depth, size_width, size_height, turn_bar, tilt_bar, camera_height_bar;
    // The angles the arrow keys and the mouse change, and the bars' share of the rotation.
    int32_t turn_angle, tilt_angle, turn_offset, tilt_offset;
    int32_t camera_distance;
    uint32_t floor_colour;  // 0x00BBGGRR
    view_options view;
};

enum class project_refusal { none, unreadable, not_a_project, later_version };

struct project_reading {
    project_refusal refusal = project_refusal::none;
    int32_t version = 0;
    // Entries missing, no numbers, or beyond what the program could ever set: left as they were.
    int32_t values_not_taken = 0;
    // The box's millimetres as the file gave them ("WidthMm=abc"), when they could not be
    // taken: the box keeps the size it had, steps included.
    std::string sizes_refused;
    // Pictures that must not be opened; their paths stay in the project for naming them.
    path_problem picture_problems[project_face_count] = {};
    path_problem sheet_problem = path_problem::none;
};

// What reading does with pictures the file names on network paths: look at them, or leave
// them as path_problem::network until the user agreed (project_check_network_pictures).
enum class network_pictures { checked, held };

// Reads the file over `into`, which holds what entries that cannot be taken keep; "View"
// entries the file leaves out are off, whatever `into` held. Nothing is changed when the
// file is refused.
project_reading project_read(const char* path, project& into,
                             network_pictures network = network_pictures::checked);
// Looks at the held network pictures as reading does at every other.
void project_check_network_pictures(const project& opened, project_reading& reading);
bool project_equal(const project& a, const project& b);
// A panel given, rather than the 0 of none known.
bool project_has_panel(const picture_part& panel);

enum class project_save_failure { none, refused, not_written, in_use };
// Writes a temporary file beside the target and puts it in the target's place; on failure
// the target is left as it was.
project_save_failure project_write(const char* path, const project& saved);
