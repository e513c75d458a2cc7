// The last projects opened or saved, newest first, kept in the settings file.
#pragma once

#include <string>
#include <vector>

constexpr int recent_project_limit = 4;

std::vector<std::string> recent_projects();
// Puts the project first, once, and lets the oldest go past the limit.
void recent_project_add(const std::string& path);
void recent_project_drop(const std::string& path);
