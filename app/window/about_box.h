// The Info menu's item "Über Tessaryn...".
#pragma once

// Shows the program's name and version, what it does, how the mouse works in the preview and
// the libraries built into it, in a message box.
void show_about_box();
