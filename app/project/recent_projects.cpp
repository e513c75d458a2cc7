// The list lives in the settings file's section "Zuletzt" as Projekt1 to Projekt4, so that a
// damaged file only shortens it.
#include "app/project/recent_projects.h"

#include <algorithm>
#include <cctype>

#include "app/project/settings_file.h"
#include "runtime/core/windows_host.h"

namespace {

constexpr const char* section = "Zuletzt";

std::string key_of(int index) { return "Projekt" + std::to_string(index + 1); }

// The host's file names ignore case.
bool same_path(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void save(const std::vector<std::string>& list) {
    const std::string file = settings_file_path();
    if (file.empty()) return;
    for (int index = 0; index < recent_project_limit; ++index) {
        const char* value = index < int(list.size()) ? list[size_t(index)].c_str() : nullptr;
        WritePrivateProfileStringA(section, key_of(index).c_str(), value, file.c_str());
    }
}

void remove_from(std::vector<std::string>& list, const std::string& path) {
    list.erase(std::remove_if(list.begin(), list.end(), [&](const std::string& kept) { return same_path(kept, path); }),
               list.end());
}

}  // namespace

std::vector<std::string> recent_projects() {
    std::vector<std::string> list;
    const std::string file = settings_file_path();
    if (file.empty()) return list;
    for (int index = 0; index < recent_project_limit; ++index) {
        char path[MAX_PATH] = {};
        const DWORD length = GetPrivateProfileStringA(section, key_of(index).c_str(), "", path, MAX_PATH, file.c_str());
        if (length > 0) list.emplace_back(path, length);
    }
    return list;
}

void recent_project_add(const std::string& path) {
    std::vector<std::string> list = recent_projects();
    remove_from(list, path);
    list.insert(list.begin(), path);
    if (list.size() > size_t(recent_project_limit)) list.resize(size_t(recent_project_limit));
    save(list);
}

void recent_project_drop(const std::string& path) {
    std::vector<std::string> list = recent_projects();
    remove_from(list, path);
    save(list);
}
