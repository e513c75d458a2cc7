// The "Bearbeiten" menu: undo, redo and the box's sizes from its pictures.
#pragma once

#include <cstdint>

void add_edit_menu();
// Called once a frame: a settled change becomes a step, the title shows the changed mark, and
// undo and redo are greyed while there is nothing to take back or again.
void follow_changes();
// Runs the command of an edit menu item; false for items that are not one.
bool handle_edit_menu_item(int32_t item);
