// <windows.h> for the engine's Windows files, without the macros (min, max and the rarely
// used subsystems) that collide with ordinary names. The engine keeps its own copy of this
// so that it builds from its own folder alone.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
