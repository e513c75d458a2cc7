// The project the window works on: its file, what that file held when it was last opened or
// saved, and the window's title, which names it with a "*" while the window shows otherwise.
#pragma once

#include <string>

#include "app/project/project_file.h"

// A full path; empty before a project was first opened or saved.
const std::string& document_path();
// The file's name without its folder, as the title and the questions show it.
std::string document_name();
// After an open or a save: the window shows what the file holds.
void document_saved_as(const std::string& path);
// Without a project nothing is ever changed.
bool document_changed();
// Called once a frame with what the window shows (project_of_window): the title follows the mark.
void document_follow(const project& shown);
