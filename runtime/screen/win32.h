// The platform headers the screen library's Win32 files share: windows, DirectDraw 7 and
// DirectInput 7, without the macros that leak into other code.
#pragma once

#include "runtime/core/windows_host.h"

#include <ddraw.h>

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0700
#endif
#include <dinput.h>
