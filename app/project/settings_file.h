// Tessaryn.ini beside Tessaryn.exe: what the user chose in the menus, kept across runs.
#pragma once

#include <string>

// Empty when the program's own path does not fit.
std::string settings_file_path();
