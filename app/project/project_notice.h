// What the user is told about a project that could not be opened, saved or applied whole,
// in the program's language, naming the file.
#pragma once

#include <string>

#include "app/project/project_file.h"
#include "app/project/project_state.h"

void tell_project_refused(const std::string& path, const project_reading& reading);
// One message for everything that was not taken: every picture by its face, then the
// number of values that were adjusted. Nothing is told for a complete outcome.
void tell_project_incomplete(const std::string& path, const project_outcome& outcome);
void tell_project_not_saved(const std::string& path, project_save_failure failure);
