// The studio look the user switched on in "Ansicht", remembered across runs in a small
// settings file beside the program.
#pragma once

struct view_options {
    bool light;
    bool shadow;
    bool reflection;
    bool soft_edges;
    bool fill;  // the large exports framed so that the box fills the picture
};

// Soft edges: their radius as a share of the box's smallest side, as on a printed folding box.
constexpr float soft_edge_share = 0.02f;

// Each option under its German name, which the menu shows and the settings file keeps, and
// its key in project files; in the menu's order.
struct view_option_name {
    bool view_options::*option;
    const char* shown;
    const char* project_key;
};
constexpr int view_option_count = 5;
extern const view_option_name view_option_names[view_option_count];

// All off when the file is missing, unreadable or says anything but 1 for an option.
view_options view_settings_load();
// Writes the options that differ from what the file holds, so that it always holds the
// window's options, whatever changed them (the menu, an undo, a project); a file that cannot
// be written keeps them for this run only.
void view_settings_follow(const view_options& shown);
