// "Maße...": the box's width, height and depth in millimetres, typed by the user.
#pragma once

// Opens the dialog over the main window and waits for OK or Abbrechen; OK with allowed sizes
// sets the box in one step, anything else changes nothing.
void ask_box_size();
