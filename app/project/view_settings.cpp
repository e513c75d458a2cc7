// The settings file, Tessaryn.ini beside Tessaryn.exe, read and written with the profile
// functions: a damaged file reads as defaults, never as an error.
#include "app/project/view_settings.h"

#include <string>

#include "app/project/settings_file.h"
#include "runtime/core/windows_host.h"

namespace {

constexpr const char* section = "Ansicht";

// What the file holds as far as this run knows: read at start, then each option written.
view_options written = {};

}  // namespace

const view_option_name view_option_names[view_option_count] = {
    {&view_options::light, "Licht", "Light"},
    {&view_options::shadow, "Schatten", "Shadow"},
    {&view_options::reflection, "Spiegelung", "Reflection"},
    {&view_options::soft_edges, "Weiche Kanten", "SoftEdges"},
    {&view_options::fill, "Box f\xFC" "llt das Bild", "Fill"},
};

view_options view_settings_load() {
    view_options options = {};
    const std::string path = settings_file_path();
    if (path.empty()) return options;
    for (const view_option_name& name : view_option_names)
        options.*name.option = GetPrivateProfileIntA(section, name.shown, 0, path.c_str()) == 1;
    written = options;
    return options;
}

void view_settings_follow(const view_options& shown) {
    std::string path;
    for (const view_option_name& name : view_option_names) {
        if (shown.*name.option == written.*name.option) continue;
        if (path.empty()) path = settings_file_path();
        if (path.empty()) return;
        WritePrivateProfileStringA(section, name.shown, shown.*name.option ? "1" : "0", path.c_str());
        written.*name.option = shown.*name.option;
    }
}
