// The catalogue from the command line: progress and the summary on the console.
#pragma once

#include "app/project/command_line.h"

// The process's exit code: 0 when every row's files are there, 1 when a row failed, 2 when the
// table could not be taken.
int catalogue_console_run(const command& asked);
