// Project files chosen in the usual requesters. The preview is hidden while one is open: its
// DirectDraw surface would paint over the dialog.
#include "app/project/project_commands.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "app/app_state.h"
#include "app/project/project_notice.h"
#include "app/project/project_state.h"
#include "runtime/core/core.h"
#include "runtime/gui/gui.h"

namespace {

constexpr const char* project_pattern = "Tessaryn-Projekt (*.tessaryn)|*.tessaryn";

// The project last opened or saved, as a full path; empty before the first.
std::string current_project;

std::string text_of(const char* text) { return text ? text : ""; }

std::string with_extension(const std::string& name) {
    const size_t length = std::string(project_extension).size();
    std::string end = name.size() > length ? name.substr(name.size() - length) : "";
    std::transform(end.begin(), end.end(), end.begin(),
                   [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); });
    return end == project_extension ? name : name + project_extension;
}

// The requester starts in the current project's folder, or in the working folder.
std::string ask(bool for_saving) {
    const std::string start = current_project.empty() ? text_of(file_current_directory(0)) : current_project;
    gadget_hide(gadget::preview, 1);
    const std::string chosen =
        for_saving ? text_of(requester_save_file("Projekt speichern unter", start.c_str(), project_pattern, 0, 0))
                   : text_of(requester_open_file("Projekt \xF6" "ffnen", start.c_str(), project_pattern, 0, 0));
    gadget_hide(gadget::preview, 0);
    return chosen;
}

void save_project_to(const std::string& path) {
    const project_save_failure failure = project_write(path.c_str(), project_of_window());
    if (failure != project_save_failure::none) {
        tell_project_not_saved(path, failure);
        return;
    }
    current_project = path;
}

void save_project_as() {
    const std::string chosen = ask(true);
    if (!chosen.empty()) save_project_to(with_extension(chosen));
}

void save_project() {
    if (current_project.empty()) {
        save_project_as();
        return;
    }
    save_project_to(current_project);
}

}  // namespace

void open_project(const char* path) {
    const std::string file = full_path(path);
    project opened = project_of_window();
    const project_reading reading = project_read(file.c_str(), opened);
    if (reading.refusal != project_refusal::none) {
        tell_project_refused(file, reading);
        return;
    }
    current_project = file;
    tell_project_incomplete(file, project_apply(opened, reading, face_drawing::into_atlas));
}

bool handle_project_menu_item(int32_t item) {
    switch (item) {
        case open_project_menu_item: {
            const std::string chosen = ask(false);
            if (!chosen.empty()) open_project(chosen.c_str());
            return true;
        }
        case save_project_menu_item:
            save_project();
            return true;
        case save_project_as_menu_item:
            save_project_as();
            return true;
        default:
            return false;
    }
}
