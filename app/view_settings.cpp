// The settings file, Tessaryn.ini beside Tessaryn.exe, read and written with the profile
// functions: a damaged file reads as defaults, never as an error.
#include "app/view_settings.h"

#include <string>

#include "runtime/core/windows_host.h"

namespace {

constexpr const char* file_name = "Tessaryn.ini";
constexpr const char* section = "Ansicht";
constexpr const char* light_key = "Licht";
constexpr const char* shadow_key = "Schatten";
constexpr const char* reflection_key = "Spiegelung";

// Empty when the program's own path does not fit.
std::string settings_path() {
    char program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    std::string path(program, length);
    path.erase(path.find_last_of('\\') + 1);
    path += file_name;
    return path.size() < MAX_PATH ? path : "";
}

bool read_option(const std::string& path, const char* key) {
    return GetPrivateProfileIntA(section, key, 0, path.c_str()) == 1;
}

void write_option(const std::string& path, const char* key, bool on) {
    WritePrivateProfileStringA(section, key, on ? "1" : "0", path.c_str());
}

}  // namespace

view_options view_settings_load() {
    const std::string path = settings_path();
    if (path.empty()) return {};
    return {read_option(path, light_key), read_option(path, shadow_key), read_option(path, reflection_key)};
}

void view_settings_save(const view_options& options) {
    const std::string path = settings_path();
    if (path.empty()) return;
    write_option(path, light_key, options.light);
    write_option(path, shadow_key, options.shadow);
    write_option(path, reflection_key, options.reflection);
}
