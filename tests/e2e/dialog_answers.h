// Answers the program's requesters the way a user would: types into the dialog's fields
// and presses its buttons.
#pragma once

#include "tests/e2e/tessaryn_process.h"

// Waits for the file dialog with this title, selects the file type (0-based), types `path`
// as the file name and confirms.
bool answer_file_dialog(const tessaryn_process& program, const char* title, const std::string& path,
                        int file_type = 0);
bool cancel_dialog(const tessaryn_process& program, const char* title);
// Waits for the colour dialog, enters red, green and blue and confirms. `then_click`, when
// given, is a button of the program clicked at once, so that the click waits in the
// program's queue while it still handles the choice.
bool answer_colour_dialog(const tessaryn_process& program, int red, int green, int blue,
                          HWND then_click = nullptr);
bool cancel_colour_dialog(const tessaryn_process& program);
// Waits for the program's message box, presses OK and answers its text (empty when none
// came).
std::string dismiss_message(const tessaryn_process& program);
// The same for a question, answered with IDYES, IDNO or IDCANCEL.
std::string answer_message(const tessaryn_process& program, int button);
