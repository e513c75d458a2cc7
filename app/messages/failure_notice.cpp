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

std::string write_cause(write_failure failure) {
    switch (failure) {
        case write_failure::no_drive:
            return "Das Laufwerk oder die Netzwerkfreigabe ist nicht da oder nicht erreichbar.";
        case write_failure::no_folder:
            return "Den Ordner gibt es nicht.";
        case write_failure::source_gone:
            return "Ein Bild, das hineingeh\xF6ren sollte, ist nicht mehr da.";
        case write_failure::file_in_way:
            return "Wo ein Ordner sein m\xFCsste, liegt eine Datei gleichen Namens.";
        case write_failure::access_denied:
            return "Die Datei oder ihr Ordner ist schreibgesch\xFCtzt, oder der Zugriff wird verweigert.";
        case write_failure::bad_name:
            return "Der Name ist unter Windows nicht erlaubt: zu lang oder mit Zeichen wie : * ? \" < > |.";
        case write_failure::in_use:
            return "Die Datei ist in einem anderen Programm ge\xF6" "ffnet.";
        case write_failure::disk_full:
            return "Der Datentr\xE4ger ist voll.";
        case write_failure::not_written:
            return "Der Datentr\xE4ger ist voll oder nicht erreichbar.";
        case write_failure::target_damaged:
            return "Der Datentr\xE4ger ist voll oder nicht erreichbar, und der bisherige Inhalt "
                   "der Datei lie\xDF sich nicht zur\xFC" "ckschreiben: sie ist unvollst\xE4ndig.";
        case write_failure::no_memory:
            return "F\xFCr das Speichern reicht der Arbeitsspeicher nicht. Weniger offene Programme "
                   "helfen.";
        case write_failure::none:
        case write_failure::unknown:
            break;
    }
    return "Die Datei lie\xDF sich nicht anlegen oder nicht ganz schreiben "
           "(Ordner schreibgesch\xFCtzt oder Datentr\xE4ger voll).";
}

std::string save_cause(image_save_failure failure, const std::string& path) {
    return write_cause(write_failure_of_save(failure, path));
}

std::string not_saved(const char* path) { return "Das Bild wurde nicht gespeichert:\n" + std::string(path) + "\n\n"; }

}  // namespace

void tell_snapshot_not_saved(const char* path) {
    tell_user("Das Bild wurde nicht gespeichert:\n" + std::string(path) + "\n\n" +
              save_cause(image_last_save_failure(), path));
}

void tell_snapshot_without_preview(const char* path) {
    tell_user("Das Bild wurde nicht gespeichert:\n" + std::string(path) +
              "\n\nEs gibt keine 3D-Vorschau, von der ein Bild genommen werden k\xF6nnte.");
}

void tell_export_not_saved(const char* path, export_failure failure, write_failure cause) {
    switch (failure) {
        case export_failure::no_preview:
            return tell_snapshot_without_preview(path);
        case export_failure::picture_unreadable:
            return tell_user(not_saved(path) +
                             "Ein Bild des Projekts lie\xDF sich nicht lesen: Die Datei ist besch\xE4" "digt oder hat "
                             "kein bekanntes Format.");
        case export_failure::no_thread:
            return tell_user(not_saved(path) +
                             "F\xFCr das Speichern lie\xDF sich keine weitere Arbeit im Hintergrund starten: "
                             "Der Arbeitsspeicher des Programms ist knapp. Eine kleinere Gr\xF6\xDF" "e oder "
                             "weniger Bilder helfen.");
        case export_failure::not_written:
            if (cause != write_failure::no_memory) return tell_user(not_saved(path) + write_cause(cause));
            break;
        case export_failure::no_memory:
        case export_failure::none:
            break;
    }
    tell_user(not_saved(path) +
              "F\xFCr ein Bild dieser Gr\xF6\xDF" "e reicht der Arbeitsspeicher nicht. "
              "Eine kleinere Gr\xF6\xDF" "e oder weniger offene Programme helfen.");
}

void tell_folder_not_made(const char* path, const folders_made& made) {
    tell_user(not_saved(path) + "Der Ordner " + made.folder + " lie\xDF sich nicht anlegen. " +
              write_cause(made.failure));
}

void tell_model_not_saved(const char* path, export_failure failure) {
    const std::string cause =
        failure == export_failure::picture_unreadable
            ? "Die Bilder der Seiten lie\xDF" "en sich nicht lesen: " + std::string(face_atlas_file) + " fehlt oder ist besch\xE4" "digt."
            : failure == export_failure::no_preview
                ? std::string("Die 3D-Darstellung l\xE4uft nicht, ohne sie entsteht kein Buch und keine H\xFClle.")
            : failure == export_failure::no_memory ? write_cause(write_failure::no_memory)
                                                   : save_cause(image_last_save_failure(), path);
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
                      write_cause(write_failure::target_damaged) + keeps);
            break;
        case face_failure::none:
            break;
    }
}
