// What Tessaryn needs before its window can be built: a working 3D engine and the model
// files. A missing piece is named to the user, with where it was looked for.
#pragma once

// True when the engine is ready and every model file is present; otherwise the user has
// been told what is missing.
bool start_requirements_met();
// Tells the user that the main window could not be built.
void start_report_no_window();
