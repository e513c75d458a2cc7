// Temporary-file-then-replace saving, for the BMP writer and the encoders.
#include "runtime/image/staged_file.h"

#include <cstdlib>

#ifdef _WIN32
#include "runtime/core/windows_host.h"
#else
#include <unistd.h>
#endif

namespace {

std::string folder_of(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

#ifdef _WIN32
bool target_is_read_only(const char* target) {
    DWORD attributes = GetFileAttributesA(target);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// A viewer or virus scanner reading the target holds it for a moment; the move waits that
// out for up to a second rather than losing the save.
bool replace_target(const std::string& from, const std::string& to) {
    constexpr int attempts = 40;
    constexpr DWORD pause_ms = 25;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        DWORD error = GetLastError();
        bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!held || attempt == attempts) return false;
        Sleep(pause_ms);
    }
}

unsigned long process_id() { return GetCurrentProcessId(); }
#else
bool target_is_read_only(const char* target) {
    return access(target, F_OK) == 0 && access(target, W_OK) != 0;
}

bool replace_target(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

unsigned long process_id() { return static_cast<unsigned long>(getpid()); }
#endif

}  // namespace

staged_file::staged_file(const char* target) : target_(target ? target : "") {
    if (target_.empty() || target_is_read_only(target)) return;
    // A name of our own in the same folder, so the final move never crosses volumes.
    static unsigned serial = 0;
    temporary_ = folder_of(target_) + "~tessaryn-" + std::to_string(process_id()) + "-" +
                 std::to_string(++serial) + ".tmp";
    stream_ = std::fopen(temporary_.c_str(), "wb");
    if (stream_) return;
    // A folder that refuses new files may still hold a writable target: it is then written
    // in place, as before there were temporary files.
    temporary_.clear();
    stream_ = std::fopen(target_.c_str(), "wb");
}

staged_file::~staged_file() { discard(); }

bool staged_file::commit() {
    if (!stream_) return false;
    bool written = std::fflush(stream_) == 0 && !std::ferror(stream_);
    written = std::fclose(stream_) == 0 && written;
    stream_ = nullptr;
    if (temporary_.empty()) return written;
    if (!written || !replace_target(temporary_, target_)) {
        discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void staged_file::discard() {
    if (stream_) std::fclose(stream_);
    stream_ = nullptr;
    if (!temporary_.empty()) std::remove(temporary_.c_str());
    temporary_.clear();
}
