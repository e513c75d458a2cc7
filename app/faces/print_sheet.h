// "Druckbogen laden...": one picture laid out like the print template, cut along the box's
// net into the six faces' pictures (a cover into its front, back and spine), as if each had
// been chosen with its button.
#pragma once

#include <cstdint>
#include <string>

#include "app/faces/print_net.h"

// Asks for the sheet and takes it.
void load_print_sheet();
// The sheet onto every face it covers in one composition of the atlas; a sheet that cannot be
// read or does not fit the box or cover is told and changes nothing. True when it was taken.
bool take_print_sheet(const std::string& path);
// How the sheet lies over the net of the box as it is now; `fits` false when it cannot be
// read or its proportions are not the net's.
sheet_cut cut_of_sheet(const std::string& path);
// Whether the faces show panels of a sheet whose proportions the box no longer has (beyond
// the 1 % a sheet is taken with); the panels stay as they were cut.
bool box_left_sheet();
// What a face row's path field shows for a face cut from the sheet.
std::string sheet_panel_text(int32_t face_button, const std::string& sheet);
