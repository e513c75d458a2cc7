// The catalogue from the window runs in this process, row by row, and gives the window back
// the box it showed before. The folder is where the report is saved, and the report's file
// type in the save requester is the profile, as the spin's requester offers its frame counts.
#include "app/window/catalogue_dialog.h"

#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/catalogue/catalogue_run.h"
#include "app/export/stills/export_command.h"
#include "app/messages/user_message.h"
#include "app/project/project_state.h"
#include "app/window/main_window.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"

namespace {

constexpr const char* table_patterns = "Tabellen (*.csv)|*.csv|Alle Dateien (*.*)|*.*";
// In the order of catalogue_profile.
constexpr const char* profile_patterns =
    "amazon: ID.MAIN.jpg, ID.PT01.jpg ... (*.csv)|*.csv"
    "|gs1: GTIN_A1C1.jpg, GTIN_B1C1.jpg ... (*.csv)|*.csv"
    "|plain: ein Ordner je Produkt, png (*.csv)|*.csv";

void show_row(int32_t index, int32_t count, const std::string& product, int32_t seconds_left, void*) {
    char text[160];
    char left[40] = "";
    if (seconds_left >= 0) std::snprintf(left, sizeof left, ", noch etwa %d:%02d min", int(seconds_left / 60), int(seconds_left % 60));
    std::snprintf(text, sizeof text, "Katalog: Zeile %d von %d: %s%s (Esc h\xE4lt an)", int(index + 1), int(count),
                  product.c_str(), left);
    status_show(text);
}

// Keys pressed meanwhile wait in the queue; only Esc means anything then.
bool no_escape(void*) {
    MSG message;
    bool escape = false;
    while (PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
        escape = escape || message.wParam == VK_ESCAPE;
    return !escape;
}

std::string folder_containing(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

// The preview is hidden while the requester is open: its surface would paint over it.
std::string ask_table() {
    gadget_hide(gadget::preview, 1);
    const char* answer = requester_open_file("Katalog exportieren: Produkttabelle", "", table_patterns, 0, 0);
    const std::string chosen = answer ? answer : "";
    gadget_hide(gadget::preview, 0);
    return chosen;
}

std::string summary_text(const catalogue_summary& summary) {
    if (!summary.complaint.empty()) return summary.complaint;
    return std::string(summary.stopped ? "Der Katalog wurde mit Esc angehalten.\n" : "") +
           "Geschrieben: " + std::to_string(summary.written) + ", schon aktuell: " + std::to_string(summary.skipped) +
           ", fehlgeschlagen: " + std::to_string(summary.failed) + ".\nBericht: " + summary.report;
}

}  // namespace

void ask_and_export_catalogue() {
    catalogue_request request;
    request.table = ask_table();
    if (request.table.empty()) return;
    const std::string report = ask_export_name("Katalog exportieren: Ordner und Profil", "catalogue-report.csv", profile_patterns);
    if (report.empty()) return;
    request.folder = folder_containing(report);
    request.profile = catalogue_profile(requester_chosen_pattern());
    const project shown = project_of_window();
    no_escape(nullptr);  // an Esc from before the run does not stop it
    const catalogue_summary summary = catalogue_run(request, {show_row, no_escape, nullptr});
    project_restore(shown);
    status_show_usual();
    message_tell(summary_text(summary));
}
