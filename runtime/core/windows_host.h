// <windows.h> for the Windows-only parts of Tessaryn, without the macros (min, max and
// the rarely used subsystems) that collide with ordinary names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
