// Path rules of project files. Comparisons ignore case, as the host's file system does.
#include "app/project/project_paths.h"

#include <algorithm>
#include <cctype>

#include "runtime/core/windows_host.h"

namespace {

constexpr const char* device_names[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
constexpr const char* numbered_devices[] = {"COM", "LPT"};

std::string upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool is_absolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

// The host takes "con.jpg" and "nul  " for the device too: the name counts up to its first dot,
// trailing spaces left out.
bool names_a_device(const std::string& path) {
    const size_t start = path.find_last_of("\\/:") + 1;
    std::string stem = upper(path.substr(start, path.find('.', start) - start));
    stem.erase(stem.find_last_not_of(' ') + 1);
    if (std::find_if(std::begin(device_names), std::end(device_names),
                     [&](const char* name) { return stem == name; }) != std::end(device_names))
        return true;
    for (const char* prefix : numbered_devices)
        if (stem.size() == 4 && stem.compare(0, 3, prefix) == 0 && std::isdigit(static_cast<unsigned char>(stem[3])))
            return true;
    return false;
}

// Device space (\\.\, \\?\) and alternate streams (a colon past the drive) are no plain files.
bool outside_plain_files(const std::string& path) {
    if (path.compare(0, 4, "\\\\.\\") == 0 || path.compare(0, 4, "\\\\?\\") == 0) return true;
    return path.find(':', 2) != std::string::npos;
}

}  // namespace

std::string full_path(const std::string& name) {
    char path[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(name.c_str(), MAX_PATH, path, nullptr);
    return length && length < MAX_PATH ? std::string(path, length) : name;
}

std::string folder_of(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string path_for_project(const std::string& picture, const std::string& folder) {
    if (folder.empty() || picture.size() <= folder.size()) return picture;
    if (upper(picture.substr(0, folder.size())) != upper(folder)) return picture;
    return picture.substr(folder.size());
}

std::string path_from_project(const std::string& kept, const std::string& folder) {
    if (kept.empty()) return kept;
    const std::string joined = is_absolute(kept) ? kept : folder + kept;
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(joined.c_str(), MAX_PATH, full, nullptr);
    return length && length < MAX_PATH ? std::string(full, length) : std::string();
}

bool is_network_path(const std::string& path) {
    const bool two_slashes = path.size() > 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
    return two_slashes && !outside_plain_files(path);
}

path_problem check_file_path(const std::string& path) {
    if (path.empty() || path.size() >= MAX_PATH) return path_problem::too_long;
    if (outside_plain_files(path) || names_a_device(path)) return path_problem::device;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return path_problem::missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return path_problem::folder;
    return path_problem::none;
}
