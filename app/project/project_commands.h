// The "Datei" menu's project commands: open, save, save under a new name. The project last
// opened or saved is the one "Projekt speichern" writes to.
#pragma once

#include <cstdint>

// Runs the command of a project menu item; false for items that are not one.
bool handle_project_menu_item(int32_t item);
// Opens the project at `path`, as "Projekt öffnen..." does once a file is chosen and any
// question about a changed project is answered.
void open_project(const char* path);
// Before the window closes or another project opens over a changed one: asks whether to save
// it. False when the user cancelled or the save failed; then nothing may close or open.
bool project_may_close();
// A project file dropped on the window opens as "Projekt öffnen..." does; false for a drop
// of anything else.
bool open_dropped_project();
