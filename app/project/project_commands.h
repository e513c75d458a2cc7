// The "Datei" menu's project commands: open, save, save under a new name. The project last
// opened or saved is the one "Projekt speichern" writes to.
#pragma once

#include <cstdint>

// Runs the command of a project menu item; false for items that are not one.
bool handle_project_menu_item(int32_t item);
// Opens the project at `path`, as "Projekt öffnen..." does once a file is chosen.
void open_project(const char* path);
