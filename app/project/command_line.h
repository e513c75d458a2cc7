// What Tessaryn.exe is asked to do by its arguments: open its window, open it with a project
// (a double click on a project file), or render a project into a file without a window.
#pragma once

#include <cstdint>
#include <string>

#include "app/catalogue/catalogue.h"

enum class command_mode { window, window_with_project, export_project, catalogue, usage, wrong };
// "Box f\xFCllt das Bild" for one run: as the project has it, or /fill, /nofill.
enum class fill_choice { project, on, off };

struct command {
    command_mode mode = command_mode::window;
    std::string project;
    std::string target;
    int32_t size = 0;         // pixels on each side of the picture
    bool transparent = false;  // a png, the backdrop left out
    bool view_set = false;     // /export-set: the seven views, the target their base name
    bool model = false;        // /export-glb: the box as a 3D model, the target a .glb file
    bool spin = false;         // /export-spin: the spin set, the target its base name
    int32_t frames = 0;        // the spin's frames
    bool print_template = false;  // /export-template: the box's print template, a png
    fill_choice fill = fill_choice::project;
    // /catalogue TABLE /out FOLDER: the table in `project`, the folder in `target`.
    catalogue_profile profile = catalogue_profile::amazon;
    int32_t shard = 0, shards = 1;
    std::string complaint;    // what was wrong, in the program's language
};

// `arguments` without the program's own name.
command command_read(int argc, const char* const* arguments);

// The lines /? prints.
const char* command_usage();
