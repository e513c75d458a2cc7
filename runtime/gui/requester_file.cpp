// The open and save file requesters: the pattern becomes the host's filter list, the
// default file is split into the starting folder and a proposed name, and the chosen
// path comes back in the temporary string area.
#include <cstring>

#include "runtime/gui/host_extras.h"

namespace {

constexpr size_t file_buffer_size = MAX_PATH;
constexpr DWORD file_options =
    OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_EXPLORER;

using file_dialog = BOOL(WINAPI*)(LPOPENFILENAMEA);

// The pattern pair the user left selected in the last confirmed file requester.
int32_t chosen_pattern = 0;

// A zero-filled block from main_heap, freed when it goes out of scope.
class main_block {
  public:
    explicit main_block(size_t size) : data_(static_cast<char*>(heap_alloc(main_heap(), size))) {}
    ~main_block() {
        if (data_) heap_free(main_heap(), data_);
    }
    main_block(const main_block&) = delete;
    main_block& operator=(const main_block&) = delete;
    char* get() const { return data_; }

  private:
    char* data_;
};

bool valid_file_name(const char* name) {
    if (!*name) return false;
    for (auto* at = reinterpret_cast<const unsigned char*>(name); *at; ++at)
        if (*at < 0x20 || std::strchr("\"\\/:*?<>|", *at)) return false;
    return true;
}

// Fields separated by bars become NUL-separated, ending in two NULs.
void fill_filter(char* filter, const char* pattern, size_t length) {
    for (size_t i = 0; i < length; ++i) filter[i] = pattern[i] == '|' ? 0 : pattern[i];
}

// Cuts `copy` (the default file) at its last backslash after the first byte; answers the
// starting folder and puts a valid name that fits into `file`.
const char* split_default(char* copy, char* file) {
    const char* folder = "";
    const char* name = copy;
    if (char* cut = *copy ? std::strrchr(copy + 1, '\\') : nullptr) {
        *cut = 0;
        folder = copy;
        name = cut + 1;
    }
    if (std::strlen(name) < file_buffer_size && valid_file_name(name)) std::strcpy(file, name);
    return folder;
}

bool run_dialog(file_dialog dialog, const char* title, const char* default_file,
                const char* pattern, int32_t pattern_position, char* file) {
    size_t pattern_length = pattern ? std::strlen(pattern) : 0;
    main_block filter(pattern_length + 2);
    if (!filter.get()) return false;
    fill_filter(filter.get(), pattern, pattern_length);

    size_t default_length = default_file ? std::strlen(default_file) : 0;
    main_block copy(default_length + 2);
    if (!copy.get()) return false;
    const char* folder = nullptr;
    if (default_file) {
        std::memcpy(copy.get(), default_file, default_length);
        folder = split_default(copy.get(), file);
    }

    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = requester_owner();
    request.lpstrFilter = filter.get();
    request.nFilterIndex = DWORD(pattern_position + 1);
    request.lpstrFile = file;
    request.nMaxFile = file_buffer_size;
    request.lpstrInitialDir = folder;
    request.lpstrTitle = title;
    request.Flags = file_options;
    requester_disable_others();
    bool confirmed = dialog(&request) != 0;
    requester_enable_others();
    if (confirmed && request.nFilterIndex > 0) chosen_pattern = int32_t(request.nFilterIndex) - 1;
    return confirmed;
}

char* file_requester(file_dialog dialog, const char* title, const char* default_file,
                     const char* pattern, int32_t pattern_position, int32_t offset) {
    main_block file(file_buffer_size);
    bool confirmed = file.get() &&
                     run_dialog(dialog, title, default_file, pattern, pattern_position, file.get());
    char* result = temp_reserve(int32_t(file_buffer_size), offset);
    size_t length = confirmed ? strnlen(file.get(), file_buffer_size - 1) : 0;
    if (length) std::memcpy(result, file.get(), length);
    result[length] = 0;
    temp_drop(int32_t(file_buffer_size - length));
    return result;
}

}  // namespace

char* requester_open_file(const char* title, const char* default_file, const char* pattern,
                          int32_t pattern_position, int32_t offset) {
    return file_requester(GetOpenFileNameA, title, default_file, pattern, pattern_position, offset);
}

char* requester_save_file(const char* title, const char* default_file, const char* pattern,
                          int32_t pattern_position, int32_t offset) {
    return file_requester(GetSaveFileNameA, title, default_file, pattern, pattern_position, offset);
}

int32_t requester_chosen_pattern() { return chosen_pattern; }

char* file_current_directory(int32_t offset) {
    // Room for a full-length directory, the backslash added and the terminator.
    constexpr int32_t room = MAX_PATH + 1;
    char* result = temp_reserve(room, offset);
    if (!result) return nullptr;
    DWORD length = GetCurrentDirectoryA(MAX_PATH, result);
    if (length >= MAX_PATH) length = 0;
    if (length > 0 && result[length - 1] != '\\') result[length++] = '\\';
    result[length] = 0;
    temp_drop(room - int32_t(length));
    return result;
}
