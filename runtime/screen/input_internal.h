// The DirectInput interface shared by the keyboard and the mouse, counted per user.
#pragma once

#include "runtime/screen/screen_internal.h"

// Null when DirectInput is missing; the reference is counted either way.
IDirectInput7A* input_acquire();
void input_release();
