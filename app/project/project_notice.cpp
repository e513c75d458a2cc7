// Faces are named by their buttons' captions, as the window shows them.
#include "app/project/project_notice.h"

#include "app/app_state.h"
#include "app/messages/failure_notice.h"
#include "app/window/main_window.h"
#include "app/messages/user_message.h"

namespace {

const std::string nothing_changed = "\n\nEs wurde nichts ge\xE4ndert.";

std::string save_cause(project_save_failure failure) {
    switch (failure) {
        case project_save_failure::in_use:
            return "Die Datei ist in einem anderen Programm ge\xF6" "ffnet.";
        case project_save_failure::not_written:
            return "Der Datentr\xE4ger ist voll oder nicht erreichbar.";
        default:
            return "Die Datei oder ihr Ordner ist schreibgesch\xFCtzt.";
    }
}

}  // namespace

void tell_project_refused(const std::string& path, const project_reading& reading) {
    switch (reading.refusal) {
        case project_refusal::unreadable:
            message_tell("Das Projekt konnte nicht ge\xF6" "ffnet werden:\n" + path +
                         "\n\nDie Datei fehlt, ist ein Ordner oder ein Ger\xE4t oder l\xE4sst sich nicht lesen." +
                         nothing_changed);
            break;
        case project_refusal::not_a_project:
            message_tell("Diese Datei ist kein Tessaryn-Projekt:\n" + path + nothing_changed);
            break;
        case project_refusal::later_version:
            message_tell("Das Projekt stammt von einer neueren Tessaryn-Version (Format " +
                         std::to_string(reading.version) + ", diese kennt bis " +
                         std::to_string(project_format_version) + "):\n" + path + nothing_changed);
            break;
        case project_refusal::none:
            break;
    }
}

void tell_project_incomplete(const std::string& path, const project_outcome& outcome) {
    if (outcome.atlas_failure != face_failure::none) tell_face_not_composed(outcome.atlas_failure, "");
    std::string pictures;
    for (int32_t row = 0; row < project_face_count; ++row)
        if (!outcome.picture_failures[row].empty())
            pictures += std::string("\n") + face_caption(gadget::first_face + row) + ": " + outcome.picture_failures[row];
    if (pictures.empty() && outcome.values_adjusted == 0 && outcome.sizes_refused.empty()) return;
    std::string text = "Das Projekt wurde ge\xF6" "ffnet, aber nicht alles lie\xDF sich \xFC" "bernehmen:\n" + path;
    if (!pictures.empty())
        text += "\n\nDiese Bilder fehlen oder lassen sich nicht lesen; ihre Seiten behalten ihr bisheriges "
                "Bild:" + pictures;
    if (!outcome.sizes_refused.empty())
        text += "\n\nDiese Ma\xDF" "e der Box sind keine Zahlen von 1 bis 2000 mm im Verh\xE4ltnis bis 1 : 100; "
                "die Box beh\xE4lt ihre bisherigen Ma\xDF" "e:\n" + outcome.sizes_refused;
    if (outcome.values_adjusted > 0)
        text += "\n\n" + std::to_string(outcome.values_adjusted) +
                " Werte fehlten oder lagen au\xDF" "erhalb des Erlaubten; sie wurden angepasst.";
    message_tell(text);
}

void tell_project_not_saved(const std::string& path, project_save_failure failure) {
    message_tell("Das Projekt wurde nicht gespeichert:\n" + path + "\n\n" + save_cause(failure) +
                 " Eine bisherige Datei bleibt unver\xE4ndert.");
}
