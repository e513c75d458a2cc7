// The recent projects in "Datei", numbered before "Beenden".
#pragma once

#include <cstdint>
#include <string>

// Puts the settings file's list into the menu, in place of what it showed; a click takes
// the project from this list.
void show_recent_projects();
// The project of a recent item; empty for items that are not one.
std::string recent_project_of_item(int32_t item);
