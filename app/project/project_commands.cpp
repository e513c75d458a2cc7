// Project files chosen in the usual requesters. The preview is hidden while one is open: its
// DirectDraw surface would paint over the dialog.
#include "app/project/project_commands.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "app/app_state.h"
#include "app/messages/user_message.h"
#include "app/project/project_document.h"
#include "app/project/project_history.h"
#include "app/project/project_notice.h"
#include "app/project/project_state.h"
#include "app/project/recent_projects.h"
#include "app/window/recent_menu.h"
#include "runtime/core/core.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"

namespace {

constexpr const char* project_pattern = "Tessaryn-Projekt (*.tessaryn)|*.tessaryn";

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
    const std::string start = document_path().empty() ? text_of(file_current_directory(0)) : document_path();
    gadget_hide(gadget::preview, 1);
    const std::string chosen =
        for_saving ? text_of(requester_save_file("Projekt speichern unter", start.c_str(), project_pattern, 0, 0))
                   : text_of(requester_open_file("Projekt \xF6" "ffnen", start.c_str(), project_pattern, 0, 0));
    gadget_hide(gadget::preview, 0);
    return chosen;
}

void remember(const std::string& path) {
    document_saved_as(path);
    recent_project_add(path);
    show_recent_projects();
}

bool save_project_to(const std::string& path) {
    const project_save_failure failure = project_write(path.c_str(), project_of_window());
    if (failure != project_save_failure::none) {
        tell_project_not_saved(path, failure);
        return false;
    }
    remember(path);
    return true;
}

bool save_project_as() {
    const std::string chosen = ask(true);
    return !chosen.empty() && save_project_to(with_extension(chosen));
}

bool save_project() {
    if (document_path().empty()) return save_project_as();
    return save_project_to(document_path());
}

// Network pictures are looked at only once the user agreed; those refused stay as they are.
void ask_about_network_pictures(const project& opened, project_reading& reading) {
    std::string named;
    for (int32_t row = 0; row < project_face_count; ++row)
        if (reading.picture_problems[row] == path_problem::network) named += "\n" + opened.pictures[row];
    if (reading.sheet_problem == path_problem::network) named += "\n" + opened.sheet;
    if (named.empty()) return;
    if (message_ask("Das Projekt verweist auf Bilder im Netzwerk:" + named + "\n\n\xD6" "ffnen?", false) ==
        message_answer::yes)
        project_check_network_pictures(opened, reading);
}

void open_recent_project(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        message_tell("Das Projekt wurde nicht gefunden:\n" + path + "\n\nEs wird aus der Liste genommen.");
        recent_project_drop(path);
        show_recent_projects();
        return;
    }
    if (project_may_close()) open_project(path.c_str());
}

bool is_project_file(const std::string& name) { return !name.empty() && with_extension(name) == name; }

}  // namespace

void open_project(const char* path) {
    const std::string file = full_path(path);
    project opened = project_of_window();
    project_reading reading = project_read(file.c_str(), opened, network_pictures::held);
    if (reading.refusal != project_refusal::none) {
        tell_project_refused(file, reading);
        return;
    }
    ask_about_network_pictures(opened, reading);
    const project_outcome outcome = project_apply(opened, reading, face_drawing::into_atlas);
    remember(file);
    history_restart();
    tell_project_incomplete(file, outcome);
}

bool project_may_close() {
    // A log-off while the question is open is refused, not asked about a second time.
    static bool asking = false;
    if (!document_changed()) return true;
    if (asking) return false;
    asking = true;
    const message_answer answer = message_ask("\xC4nderungen an " + document_name() + " speichern?", true);
    asking = false;
    if (answer == message_answer::yes) return save_project_to(document_path());
    return answer == message_answer::no;
}

bool open_dropped_project() {
    const std::string dropped = text_of(event_dropped_file(0, 0));
    if (!is_project_file(dropped)) return false;
    if (project_may_close()) open_project(dropped.c_str());
    return true;
}

bool handle_project_menu_item(int32_t item) {
    switch (item) {
        case open_project_menu_item: {
            if (!project_may_close()) return true;
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
        default: {
            const std::string recent = recent_project_of_item(item);
            if (!recent.empty()) open_recent_project(recent);
            return !recent.empty();
        }
    }
}
