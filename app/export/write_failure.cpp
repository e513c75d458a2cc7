// Windows' error codes sorted into the causes a user can act on; files written with Windows'
// own calls, whose error codes are exact; folders made one level at a time, because
// CreateDirectory makes only the last one.
#include "app/export/write_failure.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/windows_host.h"

namespace {

bool is_folder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where the path's own folders begin: after "C:\", "\\server\share\" or a leading "\".
size_t first_own_folder(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.size() > 2 && (path[2] == '\\' || path[2] == '/') ? 3 : 2;
    if (path.compare(0, 2, "\\\\") == 0 || path.compare(0, 2, "//") == 0) {
        const size_t share = path.find_first_of("\\/", 2);
        const size_t end = share == std::string::npos ? share : path.find_first_of("\\/", share + 1);
        return end == std::string::npos ? path.size() : end + 1;
    }
    return path.compare(0, 1, "\\") == 0 || path.compare(0, 1, "/") == 0 ? 1 : 0;
}

write_failure folder_failure(const std::string& folder, DWORD error) {
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return is_folder(folder) ? write_failure::none : write_failure::file_in_way;
    // The folders are made outermost first, so what is missing above is a drive or share, or a
    // file stands in the way; Wine answers "file not found" where Windows says "path".
    if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) {
        const DWORD attributes = GetFileAttributesA(folder.substr(0, folder.find_last_of("\\/")).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)
                   ? write_failure::file_in_way
                   : write_failure::no_drive;
    }
    return write_failure_of_system(error);
}

}  // namespace

write_failure failure_told(uint32_t error) {
    const write_failure failure = write_failure_of_system(error);
    return failure == write_failure::none ? write_failure::not_written : failure;
}

write_failure write_failure_of_system(uint32_t error) {
    switch (error) {
        case ERROR_SUCCESS:
            return write_failure::none;
        case ERROR_INVALID_DRIVE:
        case ERROR_NOT_READY:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_NETNAME_DELETED:
        case ERROR_UNEXP_NET_ERR:
        case ERROR_DEV_NOT_EXIST:
            return write_failure::no_drive;
        case ERROR_PATH_NOT_FOUND:
            return write_failure::no_folder;
        case ERROR_FILE_NOT_FOUND:
            return write_failure::source_gone;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return write_failure::access_denied;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY:
            return write_failure::bad_name;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return write_failure::in_use;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return write_failure::disk_full;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return write_failure::no_memory;
        default:
            return write_failure::unknown;
    }
}

write_failure write_failure_of_save(image_save_failure failure, const std::string& path) {
    const size_t name = path.find_last_of("\\/");
    switch (failure) {
        case image_save_failure::none:
            return write_failure::unknown;
        case image_save_failure::refused:
            return name == std::string::npos || is_folder(path.substr(0, name)) ? write_failure::access_denied
                                                                                 : write_failure::no_folder;
        case image_save_failure::in_use:
            return write_failure::in_use;
        case image_save_failure::not_written:
            return write_failure::not_written;
        case image_save_failure::target_damaged:
            return write_failure::target_damaged;
        case image_save_failure::no_memory:
            return write_failure::no_memory;
    }
    return write_failure::unknown;
}

write_failure write_file_bytes(const char* path, const uint8_t* bytes, size_t size) {
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failure_told(GetLastError());
    DWORD error = ERROR_SUCCESS;
    for (size_t at = 0; at < size && error == ERROR_SUCCESS;) {
        const DWORD part = DWORD(std::min<size_t>(size - at, 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, bytes + at, part, &written, nullptr)) error = GetLastError();
        else if (written == 0) error = ERROR_DISK_FULL;
        at += written;
    }
    if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
    if (error == ERROR_SUCCESS) return write_failure::none;
    DeleteFileA(path);
    return failure_told(error);
}

bool write_name_allowed(const std::string& file_path) {
    const std::string name = file_path.substr(file_path.find_last_of("\\/") + 1);
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        return (unsigned char)c < 0x20 || std::strchr("<>:\"|?*", c) != nullptr;
    });
}

folders_made write_folders_make(const std::string& file_path) {
    const size_t name = file_path.find_last_of("\\/");
    if (name == std::string::npos) return {};
    const std::string folder = file_path.substr(0, name);
    if (folder.empty() || is_folder(folder)) return {};
    for (size_t end = first_own_folder(file_path); end <= name; ++end) {
        if (end < name && file_path[end] != '\\' && file_path[end] != '/') continue;
        const std::string step = file_path.substr(0, end);
        if (step.empty() || step.back() == ':' || is_folder(step)) continue;
        if (CreateDirectoryA(step.c_str(), nullptr)) continue;
        const write_failure failure = folder_failure(step, GetLastError());
        if (failure != write_failure::none) return {failure, step};
    }
    return {};
}
