// The settings file, Tessaryn.ini beside Tessaryn.exe, read and written with the profile
// functions: a damaged file reads as defaults, never as an error.
#include "app/project/view_settings.h"

#include <string>

#include "runtime/core/windows_host.h"

namespace {

constexpr const char* file_name = "Tessaryn.ini";
constexpr const char* section = "Ansicht";

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

}  // namespace

const view_option_name view_option_names[view_option_count] = {
    {&view_options::light, "Licht", "Light"},
    {&view_options::shadow, "Schatten", "Shadow"},
    {&view_options::reflection, "Spiegelung", "Reflection"},
    {&view_options::fill, "Box f\xFC" "llt das Bild", "Fill"},
};

view_options view_settings_load() {
    view_options options = {};
    const std::string path = settings_path();
    if (path.empty()) return options;
    for (const view_option_name& name : view_option_names)
        options.*name.option = GetPrivateProfileIntA(section, name.shown, 0, path.c_str()) == 1;
    return options;
}

void view_settings_save(const view_options& options) {
    const std::string path = settings_path();
    if (path.empty()) return;
    for (const view_option_name& name : view_option_names)
        WritePrivateProfileStringA(section, name.shown, options.*name.option ? "1" : "0", path.c_str());
}
