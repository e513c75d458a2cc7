// File lookup through the archive folders and whole-file reads.
#include "engine3d/files.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace engine3d {
namespace {

constexpr long largest_file = 256L << 20;

bool read_whole(const std::string& path, std::vector<uint8_t>& bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return false;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    long size = std::ftell(file.get());
    if (size < 0 || size > largest_file || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
    bytes.resize(size_t(size));
    return std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
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
