// The settings file's place: beside the program, not in the working folder, so that every
// way of starting it finds the same file.
#include "app/project/settings_file.h"

#include "runtime/core/windows_host.h"

std::string settings_file_path() {
    char program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    std::string path(program, length);
    path.erase(path.find_last_of('\\') + 1);
    path += "Tessaryn.ini";
    return path.size() < MAX_PATH ? path : "";
}
