// The "Ansicht" menu: the studio look's three options, ticked when on.
#pragma once

#include <cstdint>

// Appends the title and its items to the menu bar being built, ticked as app.view says;
// nothing when the engine has no studio look.
void add_view_menu();
// Switches the option of a chosen "Ansicht" item: the preview shows it at once and the
// choice is remembered. False for an item of another menu.
bool toggle_view_option(int32_t item);
// Ticks the items as app.view says and shows the options in the preview, as a project brings
// them; the options remembered beside the program stay as the user last switched them.
void show_view_options();
