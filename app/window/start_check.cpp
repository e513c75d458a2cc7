// Checks the engine and the model files and tells the user, in the program's language,
// what is missing and where it was looked for.
#include "app/window/start_check.h"

#include "app/engine/engine.h"
#include "app/messages/user_message.h"

#include <string>

namespace {

constexpr const char* required_model_files[] = {"model\\cube1.jpg", "model\\box.mesh",
                                                "model\\land.mesh"};

std::string current_folder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, path);
    std::string folder(path, length < MAX_PATH ? length : 0);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

void tell_user(const std::string& message) { message_tell(message, message_kind::error); }

std::string module_path(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

bool engine_present() {
    if (engine.ready) return true;
    // Loaded once more only to tell a missing library from one that would not start.
    HMODULE probe = LoadLibraryA("Engine3D.dll");
    if (probe) {
        tell_user("Die 3D-Engine lie\xDF sich nicht starten:\n" + module_path(probe));
        FreeLibrary(probe);
    } else {
        const std::string program = module_path(nullptr);
        tell_user(
            "Die 3D-Engine Engine3D.dll wurde nicht gefunden.\n\nGesucht im Programmordner, "
            "im Systemordner, im aktuellen Ordner und im Suchpfad, zuerst hier:\n" +
            program.substr(0, program.find_last_of('\\') + 1) + "Engine3D.dll");
    }
    return false;
}

bool model_files_present() {
    std::string missing;
    for (const char* file : required_model_files)
        if (GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES)
            missing += "\n" + current_folder() + file;
    if (missing.empty()) return true;
    tell_user("Tessaryn braucht diese Dateien, sie fehlen aber:\n" + missing);
    return false;
}

}  // namespace

bool start_requirements_met() {
    return engine_present() && model_files_present();
}

void start_report_no_window() {
    tell_user("Das Fenster von Tessaryn lie\xDF sich nicht \xF6" "ffnen. Das Programm wird beendet.");
}
