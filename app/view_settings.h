// The studio look the user switched on in "Ansicht", remembered across runs in a small
// settings file beside the program.
#pragma once

struct view_options {
    bool light;
    bool shadow;
    bool reflection;
};

// All off when the file is missing, unreadable or says anything but 1 for an option.
view_options view_settings_load();
// Writes the three options and nothing else; a file that cannot be written keeps the choice
// for this run only.
void view_settings_save(const view_options& options);
