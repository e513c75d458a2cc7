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

// An entry point of a module loaded by name, stored as the slot's own function pointer type;
// false (and a null slot) when the module is missing or does not export the name.
template <typename Function>
bool module_entry(HMODULE module, const char* name, Function& slot) {
    FARPROC entry = module ? GetProcAddress(module, name) : nullptr;
    // Going through void(*)() is the sanctioned way between unrelated function pointer types.
    slot = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry));
    return slot != nullptr;
}
