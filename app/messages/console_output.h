// Text for the console Tessaryn was started from, for a run without its window: written to
// the standard handles it inherited (a redirection or a pipe), or else to the starting
// console, which a program built for windows has to attach to first.
#pragma once

#include <string>

// `text` is Windows-1252, like every text of the program; nothing is written when the
// program has no console and no redirection.
void console_write(const std::string& text, bool is_error);
