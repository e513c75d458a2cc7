// File lookup through the archive folders and whole-file reads.
#include "engine3d/assets/files.h"

#include <algorithm>
#include <memory>

#include "engine3d/win32.h"

namespace engine3d {
namespace {

constexpr LONGLONG largest_file = 256LL << 20;

struct handle_closer {
    void operator()(void* handle) const { CloseHandle(handle); }
};

// Shared every way, so that a texture is read while another program holds the file and
// the program that writes it may replace it meanwhile.
bool read_whole(const std::string& path, std::vector<uint8_t>& bytes) {
    HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    std::unique_ptr<void, handle_closer> file(opened);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(opened, &size) || size.QuadPart > largest_file) return false;
    bytes.resize(size_t(size.QuadPart));
    DWORD read = 0;
    return ReadFile(opened, bytes.data(), DWORD(bytes.size()), &read, nullptr) &&
           read == bytes.size();
}

}  // namespace

void archive_add(std::vector<std::string>& folders, const char* folder) {
    std::string path = folder ? folder : "";
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    if (std::find(folders.begin(), folders.end(), path) == folders.end()) folders.push_back(path);
}

bool archive_read(const std::vector<std::string>& folders, const char* name,
                  std::vector<uint8_t>& bytes) {
    if (!name || !*name) return false;
    for (const std::string& folder : folders)
        if (read_whole(folder + name, bytes)) return true;
    return read_whole(name, bytes);
}

}  // namespace engine3d
