// Where the program tells the user something: a message box, or, in a run from the command
// line, the console it was started from, where nobody has to click anything away.
#pragma once

#include <string>

enum class message_kind { warning, error };

// A warning is owned by the main window, so the frame loop stands still while it is open; an
// error comes before or without the window.
void message_tell(const std::string& text, message_kind kind = message_kind::warning);
// Every message from now on goes to the console.
void message_to_console();

enum class message_answer { yes, no, cancel };
// A question owned by the main window, with "Ja", "Nein" and, when asked for, "Abbrechen".
message_answer message_ask(const std::string& text, bool with_cancel);
