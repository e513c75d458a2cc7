// A run from the command line: the project applied to the hidden window, its view written
// into the file, and how it went on the console. No message box ever comes up.
#pragma once

#include "app/project/command_line.h"

// The process's exit code: 0 when the picture was written, otherwise the reason was told.
int batch_export(const command& asked);
// Starts decoding the pictures of a large export's project, so that they are ready by the
// time the window is built; once the codecs are registered.
void batch_prefetch_faces(const command& asked);
// Only the snapshot's size is taken from a preview screen; the large exports need none.
bool batch_needs_screen(const command& asked);
