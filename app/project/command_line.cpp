// The arguments: PROJECT, PROJECT /export FILE [/size N], or /?. Switches ignore case; the
// file's extension chooses the picture type, and each type has its own sizes.
#include "app/project/command_line.h"

#include <cctype>
#include <cstdlib>

namespace {

struct target_type {
    const char* extension;
    int32_t sizes[2];  // the first is the default
};

constexpr int32_t snapshot_size = 295;

// The transparent type first.
constexpr target_type target_types[] = {
    {".png", {2048, 4096}},
    {".jpg", {2048, snapshot_size}},
    {".jpeg", {2048, snapshot_size}},
};

std::string lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() > end.size() && lower(text.substr(text.size() - end.size())) == end;
}

command wrong(const std::string& complaint) {
    command answer;
    answer.mode = command_mode::wrong;
    answer.complaint = complaint;
    return answer;
}

const target_type* type_of(const std::string& target) {
    for (const target_type& type : target_types)
        if (ends_with(target, type.extension)) return &type;
    return nullptr;
}

// Checks the target's type and size once every switch is read.
command checked_export(command answer, const std::string& size_text) {
    const target_type* type = type_of(answer.target);
    if (!type) return wrong("Die Zieldatei muss auf .png oder .jpg enden: " + answer.target);
    answer.size = type->sizes[0];
    answer.transparent = type == &target_types[0];
    if (size_text.empty()) return answer;
    char* end = nullptr;
    const long size = std::strtol(size_text.c_str(), &end, 10);
    for (int32_t allowed : type->sizes)
        if (*end == 0 && size == allowed) {
            answer.size = allowed;
            return answer;
        }
    return wrong("Diese Gr\xF6\xDF" "e gibt es f\xFCr " + std::string(type->extension) + " nicht: " + size_text);
}

// The template has its own size, from the box's millimetres, and shows no view.
command checked_template(command answer, const std::string& size_text) {
    if (!ends_with(answer.target, ".png")) return wrong("Die Druckvorlage ist ein PNG; die Zieldatei muss auf .png enden: " + answer.target);
    if (!size_text.empty() || answer.fill != fill_choice::project)
        return wrong("/size, /fill und /nofill gelten nicht f\xFCr /export-template.");
    return answer;
}

}  // namespace

command command_read(int argc, const char* const* arguments) {
    command answer;
    if (argc == 0) return answer;
    const std::string first = arguments[0];
    if (argc == 1 && first == "/?") {
        answer.mode = command_mode::usage;
        return answer;
    }
    if (first.empty() || first[0] == '/') return wrong("Unbekannter Aufruf: " + first);
    answer.project = first;
    answer.mode = command_mode::window_with_project;
    if (argc == 1) return answer;
    std::string size_text;
    for (int i = 1; i < argc; ++i) {
        const std::string option = lower(arguments[i]);
        const bool has_value = i + 1 < argc;
        if ((option == "/export" || option == "/export-set" || option == "/export-template") && has_value &&
            answer.target.empty()) {
            answer.view_set = option == "/export-set";
            answer.print_template = option == "/export-template";
            answer.target = arguments[++i];
        } else if ((option == "/fill" || option == "/nofill") && answer.fill == fill_choice::project) {
            answer.fill = option == "/fill" ? fill_choice::on : fill_choice::off;
        } else if (option == "/size" && has_value && size_text.empty()) {
            size_text = arguments[++i];
        } else {
            return wrong("Unbekannter oder unvollst\xE4ndiger Schalter: " + std::string(arguments[i]));
        }
    }
    if (answer.target.empty()) return wrong("/size, /fill und /nofill gelten nur zusammen mit /export.");
    answer.mode = command_mode::export_project;
    if (answer.print_template) return checked_template(answer, size_text);
    answer = checked_export(answer, size_text);
    if (answer.view_set && answer.size == snapshot_size)
        return wrong("Eine Ansichtenserie gibt es nur in den gro\xDF" "en Gr\xF6\xDF" "en: " + size_text);
    return answer;
}

const char* command_usage() {
    return "Tessaryn [PROJEKT.tessaryn]\n"
           "Tessaryn PROJEKT.tessaryn /export DATEI [/size N] [/fill | /nofill]\n"
           "Tessaryn PROJEKT.tessaryn /export-set ORDNER\\NAME.png [/size N] [/fill | /nofill]\n"
           "Tessaryn PROJEKT.tessaryn /export-template DATEI.png\n"
           "\n"
           "  PROJEKT.tessaryn  startet Tessaryn mit diesem Projekt.\n"
           "  /export DATEI     zeichnet die Ansicht des Projekts ohne Fenster in DATEI und endet:\n"
           "                    .png transparent, N = 2048 (Vorgabe) oder 4096;\n"
           "                    .jpg, N = 2048 (Vorgabe) oder 295 (wie \"Bild Speichern\").\n"
           "  /export-set NAME  schreibt die sieben Ansichten der Ansichtenserie als NAME-ansicht,\n"
           "                    NAME-vorne, -hinten, -links, -rechts, -oben und -rechts-vorne.\n"
           "  /fill, /nofill    die Box f\xFCllt das Bild, oder nicht, statt wie im Projekt.\n"
           "  /export-template DATEI.png  schreibt die Druckvorlage der Box (300 ppi, 3 mm Anschnitt).\n"
           "\n"
           "Exit-Code 0, wenn alle Bilder geschrieben wurden, sonst nicht 0 mit dem Grund.\n";
}
