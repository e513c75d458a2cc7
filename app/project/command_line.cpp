// The arguments: PROJECT, PROJECT /export FILE [/size N], or /?. Switches ignore case; the
// file's extension chooses the picture type, and each type has its own sizes.
#include "app/project/command_line.h"

#include <cctype>
#include <cstdlib>

#include "app/export/sets/spin_set.h"

namespace {

struct target_type {
    const char* extension;
    int32_t sizes[2];  // the first is the default
};

constexpr int32_t snapshot_size = 295;

// Which switches each kind of export takes besides its target: a switch the export would
// ignore makes the call wrong, so that a batch file learns of its mistake. A kind of export
// is one row; the first row of a switch is what it asks for, the snapshot is the picture
// export at the snapshot's size.
enum class export_kind { picture, snapshot, view_set, spin, model, print_template };
enum accepted_switches : unsigned { takes_size = 1, takes_fill = 2, takes_frames = 4 };

struct export_rule {
    const char* called;  // the switch, lower case
    export_kind kind;
    unsigned accepts;
    const char* shown;   // the kind in a complaint
};

constexpr export_rule export_rules[] = {
    {"/export", export_kind::picture, takes_size | takes_fill, "/export"},
    {"/export", export_kind::snapshot, takes_size, "/export mit /size 295"},
    {"/export-set", export_kind::view_set, takes_size | takes_fill, "/export-set"},
    {"/export-spin", export_kind::spin, takes_size | takes_fill | takes_frames, "/export-spin"},
    {"/export-glb", export_kind::model, 0, "/export-glb"},
    {"/export-template", export_kind::print_template, 0, "/export-template"},
};

const export_rule* rule_called(const std::string& option) {
    for (const export_rule& rule : export_rules)
        if (option == rule.called) return &rule;
    return nullptr;
}

const export_rule& rule_of(export_kind kind) {
    for (const export_rule& rule : export_rules)
        if (rule.kind == kind) return rule;
    return export_rules[0];
}

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

// The complaint about a switch the export would ignore; empty when every switch applies.
std::string refused_switch(const export_rule& rule, const std::string& size_text, const std::string& fill_text,
                           const std::string& frames_text) {
    if (!fill_text.empty() && !(rule.accepts & takes_fill)) return fill_text + " gilt nicht f\xFCr " + rule.shown + ".";
    if (!size_text.empty() && !(rule.accepts & takes_size)) return "/size gilt nicht f\xFCr " + std::string(rule.shown) + ".";
    if (!frames_text.empty() && !(rule.accepts & takes_frames)) return "/frames gilt nur zusammen mit /export-spin.";
    return {};
}

// A model has no picture size and no framing.
command checked_model(const command& answer) {
    if (!ends_with(answer.target, ".glb")) return wrong("Die Zieldatei muss auf .glb enden: " + answer.target);
    return answer;
}

// The template has its own size, from the box's millimetres, and shows no view.
command checked_template(const command& answer) {
    if (!ends_with(answer.target, ".png"))
        return wrong("Die Druckvorlage ist ein PNG; die Zieldatei muss auf .png enden: " + answer.target);
    return answer;
}

// Only the counts a shop takes.
command checked_frames(command answer, const std::string& frames_text) {
    if (!answer.spin) return answer;
    answer.frames = spin_default_frames;
    if (frames_text.empty()) return answer;
    char* end = nullptr;
    const long frames = std::strtol(frames_text.c_str(), &end, 10);
    if (*end == 0 && spin_frame_count_allowed(int32_t(frames))) {
        answer.frames = int32_t(frames);
        return answer;
    }
    return wrong("Eine Rundumansicht hat 24, 36, 48 oder 72 Bilder, nicht " + frames_text + ".");
}

bool number_of(const std::string& text, int32_t& number) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || value < 0 || value > 1000000) return false;
    number = int32_t(value);
    return true;
}

// "K/N": shard K of N, K from 0 to N - 1.
bool shard_of(const std::string& text, command& answer) {
    const size_t slash = text.find('/');
    return slash != std::string::npos && number_of(text.substr(0, slash), answer.shard) &&
           number_of(text.substr(slash + 1), answer.shards) && answer.shards > 0 && answer.shard < answer.shards;
}

// /catalogue TABLE /out FOLDER [/profile P] [/shard K/N], the switches in any order.
command catalogue_command(int argc, const char* const* arguments) {
    command answer;
    answer.mode = command_mode::catalogue;
    if (argc < 2 || arguments[1][0] == '/') return wrong("/catalogue braucht eine Tabelle (.csv).");
    answer.project = arguments[1];
    bool profile_given = false, shard_given = false;
    for (int i = 2; i < argc; ++i) {
        const std::string option = lower(arguments[i]);
        if (i + 1 >= argc) return wrong("Unbekannter oder unvollst\xE4ndiger Schalter: " + std::string(arguments[i]));
        const std::string value = arguments[++i];
        if (option == "/out" && answer.target.empty()) {
            answer.target = value;
        } else if (option == "/profile" && !profile_given && catalogue_profile_named(value, answer.profile)) {
            profile_given = true;
        } else if (option == "/shard" && !shard_given && shard_of(value, answer)) {
            shard_given = true;
        } else {
            return wrong("Unbekannter oder falscher Schalter: " + std::string(arguments[i - 1]) + " " + value +
                         " (/out ORDNER, /profile amazon, gs1 oder plain, /shard K/N mit K kleiner N).");
        }
    }
    if (answer.target.empty()) return wrong("/catalogue braucht /out ORDNER.");
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
    if (lower(first) == "/catalogue") return catalogue_command(argc, arguments);
    if (first.empty() || first[0] == '/') return wrong("Unbekannter Aufruf: " + first);
    answer.project = first;
    answer.mode = command_mode::window_with_project;
    if (argc == 1) return answer;
    const export_rule* asked = nullptr;
    std::string size_text;
    std::string fill_text;
    std::string frames_text;
    for (int i = 1; i < argc; ++i) {
        const std::string option = lower(arguments[i]);
        const bool has_value = i + 1 < argc;
        if (rule_called(option) && has_value && !asked) {
            asked = rule_called(option);
            answer.target = arguments[++i];
        } else if ((option == "/fill" || option == "/nofill") && fill_text.empty()) {
            fill_text = arguments[i];
            answer.fill = option == "/fill" ? fill_choice::on : fill_choice::off;
        } else if (option == "/size" && has_value && size_text.empty()) {
            size_text = arguments[++i];
        } else if (option == "/frames" && has_value && frames_text.empty()) {
            frames_text = arguments[++i];
        } else {
            return wrong("Unbekannter oder unvollst\xE4ndiger Schalter: " + std::string(arguments[i]));
        }
    }
    if (!asked) return wrong("/size, /fill und /nofill gelten nur zusammen mit /export.");
    answer.view_set = asked->kind == export_kind::view_set;
    answer.spin = asked->kind == export_kind::spin;
    answer.model = asked->kind == export_kind::model;
    answer.print_template = asked->kind == export_kind::print_template;
    answer.mode = command_mode::export_project;
    // A model and a template are no pictures of the view: no size, no framing.
    if (answer.model || answer.print_template) {
        const std::string refused = refused_switch(*asked, size_text, fill_text, frames_text);
        if (!refused.empty()) return wrong(refused);
        return answer.model ? checked_model(answer) : checked_template(answer);
    }
    answer = checked_export(answer, size_text);
    if (answer.mode == command_mode::wrong) return answer;
    if ((answer.view_set || answer.spin) && answer.size == snapshot_size)
        return wrong(std::string(answer.spin ? "Eine Rundumansicht" : "Eine Ansichtenserie") +
                     " gibt es nur in den gro\xDF" "en Gr\xF6\xDF" "en: " + size_text);
    const export_rule& rule = rule_of(asked->kind == export_kind::picture && answer.size == snapshot_size
                                          ? export_kind::snapshot
                                          : asked->kind);
    const std::string refused = refused_switch(rule, size_text, fill_text, frames_text);
    return refused.empty() ? checked_frames(answer, frames_text) : wrong(refused);
}

const char* command_usage() {
    return "Tessaryn [PROJEKT.tessaryn]\n"
           "Tessaryn PROJEKT.tessaryn /export DATEI [/size N] [/fill | /nofill]\n"
           "Tessaryn PROJEKT.tessaryn /export-set ORDNER\\NAME.png [/size N] [/fill | /nofill]\n"
           "Tessaryn PROJEKT.tessaryn /export-glb NAME.glb\n"
           "Tessaryn PROJEKT.tessaryn /export-spin ORDNER\\NAME.png [/frames N] [/size N] [/fill | /nofill]\n"
           "Tessaryn PROJEKT.tessaryn /export-template DATEI.png\n"
           "Tessaryn /catalogue TABELLE.csv /out ORDNER [/profile amazon | gs1 | plain] [/shard K/N]\n"
           "\n"
           "  PROJEKT.tessaryn  startet Tessaryn mit diesem Projekt.\n"
           "  /export DATEI     zeichnet die Ansicht des Projekts ohne Fenster in DATEI und endet:\n"
           "                    .png transparent, N = 2048 (Vorgabe) oder 4096;\n"
           "                    .jpg, N = 2048 (Vorgabe) oder 295 (wie \"Bild Speichern\").\n"
           "  /export-set NAME  schreibt die sieben Ansichten der Ansichtenserie als NAME-ansicht,\n"
           "                    NAME-vorne, -hinten, -links, -rechts, -oben und -rechts-vorne.\n"
           "  /export-glb NAME  schreibt die Box als 3D-Modell in echter Gr\xF6\xDF" "e (glTF, .glb).\n"
           "  /export-spin NAME schreibt die Rundumansicht: NAME-01 ... NAME-36 (/frames 24, 36,\n"
           "                    48 oder 72), NAME.zip mit ihnen, NAME.webp und NAME.html.\n"
           "  /export-template DATEI.png  schreibt die Druckvorlage der Box (300 ppi, 3 mm Anschnitt).\n"
           "  /catalogue TABELLE  schreibt f\xFCr jede Zeile der Tabelle die Bilder des Produkts nach\n"
           "                    ORDNER, benannt wie das Profil es will, und catalogue-report.csv;\n"
           "                    /shard K/N nimmt nur die Zeilen, deren Nummer (ab 0) modulo N K ist.\n"
           "  /fill, /nofill    die Box f\xFCllt das Bild, oder nicht, statt wie im Projekt;\n"
           "                    nicht f\xFCr das kleine Bild (.jpg, N = 295).\n"
           "\n"
           "Exit-Code 0, wenn alle Bilder geschrieben wurden, sonst nicht 0 mit dem Grund;\n"
           "beim Katalog 1, wenn Zeilen fehlschlugen, 2 bei falschem Aufruf.\n";
}
