// Temporary-file-then-replace saving, for the BMP writer and the encoders, and the reason
// the last save failed.
#include "runtime/image/staged_file.h"

#include <cerrno>
#include <cstdlib>

#ifdef _WIN32
#include "runtime/core/windows_host.h"
#else
#include <unistd.h>
#endif

namespace {

image_save_failure last_failure = image_save_failure::none;

std::string folder_of(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

#ifdef _WIN32
bool target_is_read_only(const char* target) {
    DWORD attributes = GetFileAttributesA(target);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool held_by_another(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

// Right after a failed open: the file was there but another program held it.
bool open_refused_as_held() {
    DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// A viewer or virus scanner reading the target holds it for a moment; the move waits that
// out for up to a second rather than losing the save.
image_save_failure replace_target(const std::string& from, const std::string& to) {
    constexpr int attempts = 40;
    constexpr DWORD pause_ms = 25;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
            return image_save_failure::none;
        if (!held_by_another(GetLastError())) return image_save_failure::refused;
        if (attempt == attempts) return image_save_failure::in_use;
        Sleep(pause_ms);
    }
}

unsigned long process_id() { return GetCurrentProcessId(); }
#else
bool target_is_read_only(const char* target) {
    return access(target, F_OK) == 0 && access(target, W_OK) != 0;
}

bool open_refused_as_held() { return false; }

image_save_failure replace_target(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0 ? image_save_failure::none
                                                      : image_save_failure::refused;
}

unsigned long process_id() { return static_cast<unsigned long>(getpid()); }
#endif

// What reading a target before it is written in place found.
enum class old_target { absent, read, unreadable };

// The target's whole content into `content`.
old_target read_content(const std::string& path, std::vector<uint8_t>& content) {
    errno = 0;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return errno == ENOENT ? old_target::absent : old_target::unreadable;
    uint8_t block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        content.insert(content.end(), block, block + got);
    bool whole = !std::ferror(file);
    std::fclose(file);
    return whole ? old_target::read : old_target::unreadable;
}

bool write_content(const std::string& path, const std::vector<uint8_t>& content) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

image_save_failure image_last_save_failure() { return last_failure; }

void save_failure_clear() { last_failure = image_save_failure::none; }

void save_failure_set(image_save_failure failure) { last_failure = failure; }

staged_file::staged_file(const char* target) : target_(target ? target : "") {
    save_failure_clear();
    if (target_.empty()) return;
    if (target_is_read_only(target)) {
        fail(image_save_failure::refused);
        return;
    }
    // A name of our own in the same folder, so the final move never crosses volumes.
    static unsigned serial = 0;
    temporary_ = folder_of(target_) + "~tessaryn-" + std::to_string(process_id()) + "-" +
                 std::to_string(++serial) + ".tmp";
    stream_ = std::fopen(temporary_.c_str(), "wb");
    if (!stream_) {
        temporary_.clear();
        open_in_place();
    }
    pending_ = stream_ != nullptr;
}

// A folder that refuses new files may still hold a writable target: it is then written in
// place, as before there were temporary files, with its old content kept to put back.
// A target there that cannot be read could not be put back, so it is not touched at all.
void staged_file::open_in_place() {
    const old_target old = read_content(target_, old_content_);
    if (old == old_target::unreadable)
        return fail(open_refused_as_held() ? image_save_failure::in_use : image_save_failure::refused);
    existed_ = old == old_target::read;
    stream_ = std::fopen(target_.c_str(), "wb");
    if (!stream_)
        fail(open_refused_as_held() ? image_save_failure::in_use : image_save_failure::refused);
}

staged_file::~staged_file() { discard(); }

bool staged_file::commit() {
    if (!stream_) return false;
    bool written = std::fflush(stream_) == 0 && !std::ferror(stream_);
    written = std::fclose(stream_) == 0 && written;
    stream_ = nullptr;
    if (!written) {
        discard();
        return false;
    }
    pending_ = false;
    if (temporary_.empty()) return true;
    const image_save_failure replaced = replace_target(temporary_, target_);
    if (replaced != image_save_failure::none) {
        discard();
        fail(replaced);
        return false;
    }
    temporary_.clear();
    return true;
}

void staged_file::fail(image_save_failure failure) { save_failure_set(failure); }

// A write that did not go through: the temporary file goes, or the target written in place
// gets its old content back, which fits even on a full disk, as the cut target holds less.
void staged_file::discard() {
    if (stream_) std::fclose(stream_);
    stream_ = nullptr;
    if (pending_) put_back();
    if (!temporary_.empty()) std::remove(temporary_.c_str());
    temporary_.clear();
}

void staged_file::put_back() {
    pending_ = false;
    if (!temporary_.empty()) return fail(image_save_failure::not_written);
    const bool restored =
        existed_ ? write_content(target_, old_content_) : std::remove(target_.c_str()) == 0;
    fail(restored ? image_save_failure::not_written : image_save_failure::target_damaged);
}
