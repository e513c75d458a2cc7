// The string model: string variables (blocks on string_heap, null for the empty text) and
// the one temporary area in which string results are built. Blocks and the area keep spare
// bytes past the text, room for copies that move whole 4-byte words.
#include <algorithm>
#include <cstring>

#include "runtime/core/core.h"
#include "runtime/core/heap_host.h"

namespace {

// the terminator plus word-copy slack, for every block and for the area
constexpr int32_t block_spare = 5;
constexpr int32_t temp_initial_capacity = 16;
constexpr int32_t temp_growth_step = 16384;
// the area grows before fewer than this many bytes would remain free
constexpr int32_t temp_tail_margin = 4;

temp_string_area area;

size_t block_size(int32_t length) { return size_t(length) + block_spare; }

int32_t text_length(const char* text) { return int32_t(std::strlen(text)); }

// Source and destination may overlap: results often overwrite their own arguments.
void copy_text(char* to, const char* from, int32_t length) {
    std::memmove(to, from, size_t(length));
    to[length] = 0;
}

char* sized_block(char* block, int32_t length) {
    void* sized = block ? heap_resize(string_heap(), block, block_size(length))
                        : heap_alloc(string_heap(), block_size(length));
    return static_cast<char*>(sized);
}

bool lies_within_text(const char* pointer, const char* text) {
    auto at = reinterpret_cast<uintptr_t>(pointer);
    auto begin = reinterpret_cast<uintptr_t>(text);
    return at >= begin && at <= begin + std::strlen(text);
}

}  // namespace

// A second start gives a fresh, empty area.
void string_library_init() {
    string_heap_create();
    heap_free(string_heap(), area.start);
    area.start = static_cast<char*>(heap_alloc(string_heap(), block_size(temp_initial_capacity)));
    area.temp_length = 0;
    area.temp_capacity = temp_initial_capacity;
}

temp_string_area& temp_string() { return area; }

int32_t string_assign_temp(char** variable, int32_t offset) {
    offset = std::max(offset, 0);
    int32_t length = std::max(area.temp_length - offset, 0);
    if (char* block = sized_block(*variable, length)) {
        copy_text(block, area.start + offset, length);
        *variable = block;
    }
    area.temp_length = offset;
    return offset;
}

void string_set(char** variable, const char* text) {
    if (!text) return;
    int32_t length = text_length(text);
    char* block = sized_block(nullptr, length);
    if (block) copy_text(block, text, length);
    *variable = block;
}

int32_t string_assign(char** variable, const char* text) {
    if (!text) {
        string_free(*variable);
        *variable = nullptr;
        return 1;
    }
    int32_t length = text_length(text);
    char* block = *variable;
    // a text taken from the variable's own block goes to its front before the resize
    bool own_text = block && lies_within_text(text, block);
    if (own_text) copy_text(block, text, length);
    char* sized = sized_block(block, length);
    if (!sized) return 0;
    if (!own_text) copy_text(sized, text, length);
    *variable = sized;
    return length + 1;
}

void string_free(char* block) { heap_free(string_heap(), block); }

int32_t string_equal(const char* a, const char* b) {
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

void temp_append(const char* text) {
    int32_t offset = area.temp_length;
    if (!text) {
        area.start[offset] = 0;
        return;
    }
    int32_t length = text_length(text);
    // the text may lie in the area itself, which reserving may move
    int32_t inside = temp_offset_of(text);
    char* to = temp_reserve(length, offset);
    if (!to) return;
    copy_text(to, inside ? temp_pointer_at(inside) : text, length);
}

// Sized from the larger of length and offset, so that an offset past the text still fits.
char* temp_reserve(int32_t length, int32_t offset) {
    length = std::max(length, 0);
    offset = std::max(offset, 0);
    int32_t needed = std::max(area.temp_length, offset) + length;
    if (needed >= area.temp_capacity - temp_tail_margin) {
        int32_t capacity = needed + temp_growth_step;
        void* moved = heap_resize(string_heap(), area.start, block_size(capacity));
        if (!moved) return nullptr;
        area.start = static_cast<char*>(moved);
        area.temp_capacity = capacity;
    }
    area.temp_length = offset + length;
    return area.start + offset;
}

void temp_drop(int32_t count) { area.temp_length = std::max(area.temp_length - count, 0); }

int32_t temp_offset_of(const char* pointer) {
    if (!pointer || !area.start) return 0;
    auto at = reinterpret_cast<uintptr_t>(pointer);
    auto begin = reinterpret_cast<uintptr_t>(area.start);
    if (at < begin || at > begin + uintptr_t(area.temp_length)) return 0;
    return int32_t(at - begin) + 1;
}

char* temp_pointer_at(int32_t offset) { return offset > 0 ? area.start + offset - 1 : nullptr; }
