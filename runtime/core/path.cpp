// Two small helpers of the application: the folder part of a path, built in the temporary
// string area by the string-result convention, and colour packing.
#include <cstring>

#include "runtime/core/core.h"

namespace {

constexpr char quote = '"';
// A requester result may carry "|index" after the path.
constexpr char path_end_bar = '|';
constexpr uint32_t green_weight = 0x100;
constexpr uint32_t blue_weight = 0x10000;

bool is_separator(char c) { return c == '/' || c == '\\'; }

// Length up to and including the last separator, or 0 without one.
int32_t folder_length(const char* path) {
    int32_t length = 0;
    for (int32_t i = 0; path[i] && path[i] != path_end_bar; ++i)
        if (is_separator(path[i])) length = i + 1;
    return length;
}

}  // namespace

char* file_path_part(const char* path, int32_t offset) {
    int32_t skip = path && path[0] == quote ? 1 : 0;
    int32_t length = path ? folder_length(path + skip) : 0;
    // reserving may move the area, so a path lying in it is re-addressed by its offset
    int32_t inside = temp_offset_of(path);
    char* result = temp_reserve(length, offset);
    if (!result) return nullptr;
    if (inside) path = temp_pointer_at(inside);
    if (length) std::memmove(result, path + skip, size_t(length));
    result[length] = 0;
    return result;
}

// Added without masking: a value past 255 carries into the next byte.
uint32_t color_rgb(int32_t r, int32_t g, int32_t b) {
    return uint32_t(r) + uint32_t(g) * green_weight + uint32_t(b) * blue_weight;
}
