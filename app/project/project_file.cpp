// Project files through GetPrivateProfileString and WritePrivateProfileString: the entries,
// the checks of what is read, and the staged write.
#include "app/project/project_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "runtime/core/windows_host.h"

namespace {

constexpr const char* format_section = "Tessaryn";
constexpr const char* faces_section = "Faces";
constexpr const char* box_section = "Box";
constexpr const char* view_section = "View";
constexpr const char* book_section = "Book";
constexpr const char* face_keys[project_face_count] = {"Top", "Right", "Left", "Front", "Back", "Bottom"};
constexpr const char* sheet_key = "Sheet";
// After a face's key: "FrontPanel=left,top,right,bottom", fractions of the sheet.
constexpr const char* panel_key_end = "Panel";
// No user turns or zooms this far: turning past it takes hours. The scroll bars keep their own,
// narrower ranges when the project is applied.
constexpr long number_limit = 100000;
constexpr DWORD text_limit = 4096;

struct size_entry {
    const char* key;
    double box_size::*side;
};

// Written beside the steps, which older versions read.
const size_entry size_entries[] = {
    {"WidthMm", &box_size::width_mm}, {"HeightMm", &box_size::height_mm}, {"DepthMm", &box_size::depth_mm}};

struct number_entry {
    const char* section;
    const char* key;
    int32_t project::*field;
};

const number_entry number_entries[] = {
    {box_section, "Depth", &project::size_depth},
    {box_section, "Width", &project::size_width},
    {box_section, "Height", &project::size_height},
    {view_section, "TurnBar", &project::turn_bar},
    {view_section, "TiltBar", &project::tilt_bar},
    {view_section, "CameraHeightBar", &project::camera_height_bar},
    {view_section, "TurnAngle", &project::turn_angle},
    {view_section, "TiltAngle", &project::tilt_angle},
    {view_section, "TurnOffset", &project::turn_offset},
    {view_section, "TiltOffset", &project::tilt_offset},
    {view_section, "Zoom", &project::camera_distance},
};

// The entry's text; `whole` false when it did not fit the buffer.
std::string entry_text(const char* path, const char* section, const char* key, bool* whole = nullptr) {
    char text[text_limit] = {};
    const DWORD length = GetPrivateProfileStringA(section, key, "", text, text_limit, path);
    if (whole) *whole = length < text_limit - 1;
    return std::string(text, length);
}

// A whole number in the text and nothing else; false otherwise.
bool parse_number(const std::string& text, int base, long* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    *value = std::strtol(text.c_str(), &end, base);
    return errno == 0 && *end == 0;
}

long clamped(long value, long limit) { return value < -limit ? -limit : value > limit ? limit : value; }

void read_numbers(const char* path, project& into, project_reading& reading) {
    for (const number_entry& entry : number_entries) {
        const std::string text = entry_text(path, entry.section, entry.key);
        // A file written by hand or by a script may leave out what it does not change.
        if (text.empty()) continue;
        long value = 0;
        if (!parse_number(text, 10, &value)) {
            ++reading.values_not_taken;
            continue;
        }
        if (clamped(value, number_limit) != value) ++reading.values_not_taken;
        into.*entry.field = int32_t(clamped(value, number_limit));
    }
    for (const view_option_name& name : view_option_names) {
        const std::string text = entry_text(path, view_section, name.project_key);
        // Left out means the program's default, never this machine's settings file.
        if (text.empty() || text == "0" || text == "1") into.view.*name.option = text == "1";
        else ++reading.values_not_taken;
    }
    const std::string colour_text = entry_text(path, view_section, "FloorColour");
    if (colour_text.empty()) return;
    long colour = 0;
    if (!parse_number(colour_text, 16, &colour) || colour < 0 || colour > 0xFFFFFF) {
        ++reading.values_not_taken;
        return;
    }
    // Written as RRGGBB, as colour pickers show it.
    into.floor_colour = uint32_t((colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16);
}

// All three sizes or none; one that cannot be taken keeps the box as it was before the file.
// A book with its pages given may leave out its depth: the spine follows from them.
void read_box_size(const char* path, const project& before, project& into, project_reading& reading) {
    box_size box = {};
    bool given = false;
    std::string all, refused;
    const auto join = [](std::string& list, const std::string& named) { list += (list.empty() ? "" : ", ") + named; };
    const double spine = entry_text(path, box_section, "WidthMm").empty() ? 0 : spine_mm(into.shape, into.book);
    for (const size_entry& entry : size_entries) {
        std::string text = entry_text(path, box_section, entry.key);
        if (text.empty() && entry.side == &box_size::depth_mm && spine > 0) text = text_of_mm(spine);
        given = given || !text.empty();
        const std::string named = std::string(entry.key) + "=" + text;
        join(all, named);
        double& side = box.*entry.side;
        if (!mm_of_text(text, false, side) || side < smallest_side_mm || side > largest_side_mm) join(refused, named);
    }
    if (!given) {
        into.box = {};
        return;
    }
    if (refused.empty() && box_size_allowed(box)) {
        into.box = box;
        return;
    }
    reading.sizes_refused = refused.empty() ? all : refused;
    into.box = before.box;
    into.size_depth = before.size_depth;
    into.size_width = before.size_width;
    into.size_height = before.size_height;
}

// Left out, the shape is a box, as every older file's is; a word or a page count the program
// does not know keeps what was there.
void read_shape(const char* path, project& into, project_reading& reading) {
    const std::string key = entry_text(path, box_section, "Shape");
    if (key.empty()) into.shape = box_shape::box;
    else if (!shape_of_key(key, into.shape)) ++reading.values_not_taken;
    const int32_t pages = pages_of_text(entry_text(path, book_section, "Pages"));
    if (pages >= 0) into.book.pages = pages;
    else ++reading.values_not_taken;
    const std::string paper = entry_text(path, book_section, "Paper");
    if (paper.empty()) into.book.paper = book_paper::white;
    else if (!paper_of_key(paper, into.book.paper)) ++reading.values_not_taken;
}

// A case the file gives no sizes is a standard one; a book's spine follows its pages and
// paper, unless that spine would break the rules every box keeps.
void fit_size_to_shape(project& into, project_reading& reading) {
    if (shape_is_case(into.shape) && into.box.width_mm <= 0) {
        into.box = standard_case_size(into.shape);
        return;
    }
    if (!shape_is_book(into.shape) || into.book.pages <= 0 || into.box.width_mm <= 0 || !reading.sizes_refused.empty())
        return;
    box_size box = into.box;
    box.depth_mm = spine_mm(into.shape, into.book);
    if (box.depth_mm >= smallest_side_mm && box_size_allowed(box)) into.box = box;
    else ++reading.values_not_taken;
}

void read_picture(const char* path, const char* key, network_pictures network, std::string& picture,
                  path_problem& problem) {
    bool whole = true;
    const std::string kept = entry_text(path, faces_section, key, &whole);
    if (kept.empty()) {
        picture.clear();
        return;
    }
    const std::string full = whole ? path_from_project(kept, folder_of(path)) : std::string();
    picture = full.empty() ? kept.substr(0, 80) + "..." : full;
    const bool held = network == network_pictures::held && is_network_path(kept);
    problem = full.empty() ? path_problem::too_long : held ? path_problem::network : check_file_path(full);
}

bool is_fraction(double value) { return value >= 0 && value <= 1; }

// Four fractions within the sheet, in order, and nothing else.
bool panel_of_text(const std::string& text, picture_part& panel) {
    double* const edges[] = {&panel.left, &panel.top, &panel.right, &panel.bottom};
    const char* at = text.c_str();
    for (double* edge : edges) {
        char* end = nullptr;
        *edge = std::strtod(at, &end);
        if (end == at || !is_fraction(*edge) || *end != (edge == &panel.bottom ? 0 : ',')) return false;
        at = end + 1;
    }
    return project_has_panel(panel);
}

std::string panel_text(const picture_part& panel) {
    char text[96];
    std::snprintf(text, sizeof text, "%.9f,%.9f,%.9f,%.9f", panel.left, panel.top, panel.right, panel.bottom);
    return text;
}

void read_panels(const char* path, project& into, project_reading& reading) {
    for (int32_t face = 0; face < project_face_count; ++face) {
        picture_part& panel = into.sheet_panels[face];
        const std::string text = entry_text(path, faces_section, (std::string(face_keys[face]) + panel_key_end).c_str());
        if (text.empty() || !panel_of_text(text, panel)) panel = {};
        // A panel that cannot be taken leaves its face to be cut along the box's net.
        if (!text.empty() && !project_has_panel(panel)) ++reading.values_not_taken;
    }
}

void read_pictures(const char* path, project& into, project_reading& reading, network_pictures network) {
    for (int32_t face = 0; face < project_face_count; ++face)
        read_picture(path, face_keys[face], network, into.pictures[face], reading.picture_problems[face]);
    read_picture(path, sheet_key, network, into.sheet, reading.sheet_problem);
    read_panels(path, into, reading);
}

long file_size(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) || data.nFileSizeHigh) return LONG_MAX;
    return data.nFileSizeLow > DWORD(LONG_MAX) ? LONG_MAX : long(data.nFileSizeLow);
}

project_refusal refusal_of(const char* path, project_reading& reading) {
    if (check_file_path(path) != path_problem::none) return project_refusal::unreadable;
    if (file_size(path) > project_size_limit) return project_refusal::not_a_project;
    long version = 0;
    if (!parse_number(entry_text(path, format_section, "Version"), 10, &version) || version < 1)
        return project_refusal::not_a_project;
    reading.version = int32_t(clamped(version, INT32_MAX));
    return version > project_format_version ? project_refusal::later_version : project_refusal::none;
}

std::string number_text(long value) { return std::to_string(value); }

std::string colour_text(uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X",
                  unsigned((colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF)));
    return text;
}

bool write_entries(const char* file, const std::string& target, const project& saved) {
    const auto put = [&](const char* section, const char* key, const std::string& value) {
        return WritePrivateProfileStringA(section, key, value.c_str(), file) != 0;
    };
    bool written = put(format_section, "Version", number_text(project_format_version));
    const std::string folder = folder_of(target);
    for (int32_t face = 0; face < project_face_count; ++face)
        written = written && put(faces_section, face_keys[face], path_for_project(saved.pictures[face], folder));
    written = written && put(faces_section, sheet_key, path_for_project(saved.sheet, folder));
    for (int32_t face = 0; face < project_face_count; ++face)
        if (!saved.sheet.empty() && project_has_panel(saved.sheet_panels[face]))
            written = written && put(faces_section, (std::string(face_keys[face]) + panel_key_end).c_str(),
                                     panel_text(saved.sheet_panels[face]));
    for (const number_entry& entry : number_entries)
        written = written && put(entry.section, entry.key, number_text(saved.*entry.field));
    // A box known only by its steps is written as older versions wrote it.
    if (saved.box.width_mm > 0)
        for (const size_entry& entry : size_entries)
            written = written && put(box_section, entry.key, text_of_kept_mm(saved.box.*entry.side));
    // A box's file stays as it always was.
    if (saved.shape != box_shape::box) written = written && put(box_section, "Shape", shape_key(saved.shape));
    if (shape_is_book(saved.shape) && saved.book.pages > 0)
        written = written && put(book_section, "Pages", number_text(saved.book.pages));
    if (shape_is_book(saved.shape)) written = written && put(book_section, "Paper", paper_key(saved.book.paper));
    for (const view_option_name& name : view_option_names)
        written = written && put(view_section, name.project_key, saved.view.*name.option ? "1" : "0");
    written = written && put(view_section, "FloorColour", colour_text(saved.floor_colour));
    // The profile functions may hold what they wrote; the file must be whole before it moves.
    // Flushing always answers false.
    const DWORD error = GetLastError();
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file);
    SetLastError(error);
    return written;
}

project_save_failure failure_of(DWORD error) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return project_save_failure::in_use;
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return project_save_failure::not_written;
    return project_save_failure::refused;
}

}  // namespace

project_reading project_read(const char* name, project& into, network_pictures network) {
    // The profile functions look for a bare name in the system's folder, not in the working one.
    const std::string full = full_path(name);
    const char* path = full.c_str();
    project_reading reading;
    reading.refusal = refusal_of(path, reading);
    if (reading.refusal != project_refusal::none) return reading;
    project read = into;
    read_numbers(path, read, reading);
    read_shape(path, read, reading);
    read_box_size(path, into, read, reading);
    fit_size_to_shape(read, reading);
    read_pictures(path, read, reading, network);
    into = read;
    return reading;
}

project_save_failure project_write(const char* name, const project& saved) {
    static unsigned serial = 0;
    const std::string target = full_path(name);
    const char* path = target.c_str();
    // A protected project stays as it is, even where the host would let a move replace it.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return project_save_failure::refused;
    const std::string temporary = folder_of(target) + "~tessaryn-" + std::to_string(GetCurrentProcessId()) +
                                  "-" + std::to_string(++serial) + ".tmp";
    DeleteFileA(temporary.c_str());
    if (!write_entries(temporary.c_str(), target, saved)) {
        const DWORD error = GetLastError();
        DeleteFileA(temporary.c_str());
        return failure_of(error);
    }
    if (MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return project_save_failure::none;
    const DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    return failure_of(error);
}

void project_check_network_pictures(const project& opened, project_reading& reading) {
    for (int32_t face = 0; face < project_face_count; ++face)
        if (reading.picture_problems[face] == path_problem::network)
            reading.picture_problems[face] = check_file_path(opened.pictures[face]);
    if (reading.sheet_problem == path_problem::network) reading.sheet_problem = check_file_path(opened.sheet);
}

bool project_equal(const project& a, const project& b) {
    for (int32_t face = 0; face < project_face_count; ++face)
        if (a.pictures[face] != b.pictures[face]) return false;
    if (a.sheet != b.sheet) return false;
    for (int32_t face = 0; face < project_face_count; ++face) {
        const picture_part &p = a.sheet_panels[face], &q = b.sheet_panels[face];
        if (p.left != q.left || p.top != q.top || p.right != q.right || p.bottom != q.bottom) return false;
    }
    for (const number_entry& entry : number_entries)
        if (a.*entry.field != b.*entry.field) return false;
    for (const view_option_name& name : view_option_names)
        if (a.view.*name.option != b.view.*name.option) return false;
    return a.floor_colour == b.floor_colour && a.box == b.box && a.shape == b.shape && a.book == b.book;
}

bool project_has_panel(const picture_part& panel) { return panel.right > panel.left && panel.bottom > panel.top; }
