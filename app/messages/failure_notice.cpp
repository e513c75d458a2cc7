// The texts are Windows-1252, like every text of the program. The box is owned by the main
// window, so the frame loop stands still while it is open, as with the requesters.
#include "app/messages/failure_notice.h"

#include "app/app_state.h"
#include "app/messages/user_message.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"
#include "runtime/image/image.h"

#include <string>

namespace {

std::string full_path(const char* name) {
    char path[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(name, MAX_PATH, path, nullptr);
    return length && length < MAX_PATH ? std::string(path, length) : std::string(name);
}

void tell_user(const std::string& message) { message_tell(message); }

std::string save_cause(image_save_failure failure) {
    switch (failure) {
        case image_save_failure::in_use:
            return "Die Datei ist in einem anderen Programm ge\xF6" "ffnet.";
        case image_save_failure::refused:
            return "Die Datei oder ihr Ordner ist schreibgesch\xFCtzt.";
        case image_save_failure::not_written:
            return "Der Datentr\xE4ger ist voll oder nicht erreichbar.";
        case image_save_failure::target_damaged:
            return "Der Datentr\xE4ger ist voll oder nicht erreichbar, und der bisherige Inhalt "
                   "der Datei lie\xDF sich nicht zur\xFC" "ckschreiben: sie ist unvollst\xE4ndig.";
        case image_save_failure::no_memory:
            return "F\xFCr das Speichern reicht der Arbeitsspeicher nicht. Weniger offene Programme "
                   "helfen.";
        case image_save_failure::none:
            break;
    }
    return "Die Datei lie\xDF sich nicht anlegen oder nicht ganz schreiben "
           "(Ordner schreibgesch\xFCtzt oder Datentr\xE4ger voll).";
}

}  // namespace

void tell_snapshot_not_saved(const char* path) {
    tell_user("Das Bild wurde nicht gespeichert:\n" + std::string(path) + "\n\n" +
              save_cause(image_last_save_failure()));
}

void tell_snapshot_without_preview(const char* path) {
    tell_user("Das Bild wurde nicht gespeichert:\n" + std::string(path) +
              "\n\nEs gibt keine 3D-Vorschau, von der ein Bild genommen werden k\xF6nnte.");
}

void tell_export_not_saved(const char* path, export_failure failure) {
    if (failure == export_failure::no_preview) {
        tell_snapshot_without_preview(path);
        return;
    }
    if (failure == export_failure::picture_unreadable) {
        tell_user("Das Bild wurde nicht gespeichert:\n" + std::string(path) +
                  "\n\nEin Bild des Projekts lie\xDF sich nicht lesen: Die Datei ist besch\xE4" "digt oder hat "
                  "kein bekanntes Format.");
        return;
    }
    if (failure != export_failure::no_memory && image_last_save_failure() != image_save_failure::no_memory) {
        tell_snapshot_not_saved(path);
        return;
    }
    tell_user("Das Bild wurde nicht gespeichert:\n" + std::string(path) +
              "\n\nF\xFCr ein Bild dieser Gr\xF6\xDF" "e reicht der Arbeitsspeicher nicht. "
              "Eine kleinere Gr\xF6\xDF" "e oder weniger offene Programme helfen.");
}

void tell_model_not_saved(const char* path, export_failure failure) {
    const std::string cause =
        failure == export_failure::picture_unreadable
            ? "Die Bilder der Seiten lie\xDF" "en sich nicht lesen: " + std::string(face_atlas_file) + " fehlt oder ist besch\xE4" "digt."
        : failure == export_failure::no_preview
            ? std::string("Die 3D-Darstellung l\xE4uft nicht, ohne sie entsteht kein Buch und keine H\xFClle.")
        : failure == export_failure::no_memory ? save_cause(image_save_failure::no_memory) : save_cause(image_last_save_failure());
    tell_user("Das 3D-Modell wurde nicht gespeichert:\n" + std::string(path) + "\n\n" + cause);
}

void tell_face_not_composed(face_failure failure, const char* picture) {
    const std::string keeps = "\n\nDie Seite beh\xE4lt ihr bisheriges Bild.";
    switch (failure) {
        case face_failure::picture_unreadable:
            tell_user("Das Bild konnte nicht gelesen werden:\n" + std::string(picture) +
                      "\n\nDie Datei fehlt, ist besch\xE4" "digt oder hat kein bekanntes Format." +
                      keeps);
            break;
        case face_failure::atlas_unreadable:
            tell_user("Die Textur der Box konnte nicht gelesen werden:\n" +
                      full_path(face_atlas_file) + keeps);
            break;
        case face_failure::atlas_not_written:
            tell_user("Die Textur der Box konnte nicht geschrieben werden:\n" +
                      full_path(face_atlas_file) +
                      "\n\nSie ist schreibgesch\xFCtzt oder der Datentr\xE4ger ist voll; "
                      "sie bleibt unver\xE4ndert." + keeps);
            break;
        case face_failure::atlas_in_use:
            tell_user("Die Textur der Box ist in einem anderen Programm ge\xF6" "ffnet:\n" +
                      full_path(face_atlas_file) +
                      "\n\nSie konnte nicht ersetzt werden und bleibt unver\xE4ndert." + keeps);
            break;
        case face_failure::atlas_damaged:
            tell_user("Die Textur der Box konnte nicht geschrieben werden:\n" +
                      full_path(face_atlas_file) + "\n\n" +
                      save_cause(image_save_failure::target_damaged) + keeps);
            break;
        case face_failure::none:
            break;
    }
}
