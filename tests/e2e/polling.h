// Waiting on another process without fixed sleeps: a condition is asked again every tenth
// of a second until it holds or the time is up.
#pragma once

#include "runtime/core/windows_host.h"

#include <functional>

// True as soon as `condition` holds; asked once more when the time is up.
inline bool eventually(int milliseconds, const std::function<bool()>& condition) {
    for (int waited = 0; waited < milliseconds; waited += 100) {
        if (condition()) return true;
        Sleep(100);
    }
    return condition();
}
