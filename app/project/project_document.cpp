// The changed mark compares what the window shows with what was saved, so that undoing back to
// the saved state clears it as well.
#include "app/project/project_document.h"

#include "app/app_state.h"
#include "app/project/project_state.h"
#include "runtime/gui/gui.h"

namespace {

std::string path;
project saved;
std::string shown_title = "Tessaryn";

}  // namespace

const std::string& document_path() { return path; }

std::string document_name() { return path.substr(path.find_last_of("\\/") + 1); }

void document_saved_as(const std::string& saved_path) {
    path = saved_path;
    saved = project_of_window();
    document_follow(saved);
}

bool document_changed() { return !path.empty() && !project_equal(project_of_window(), saved); }

void document_follow(const project& shown) {
    if (path.empty()) return;
    const std::string title = document_name() + (project_equal(shown, saved) ? "" : "*") + " - Tessaryn";
    if (title == shown_title) return;
    window_set_title(main_window, title.c_str());
    shown_title = title;
}
