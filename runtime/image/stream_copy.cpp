// Whole-file copies for the JPEG and TGA decoders, which look at a file's first bytes
// before they pay for reading all of it.
#include "runtime/image/stream_copy.h"

#include <cstdlib>

bool stream_head(FILE* file, uint8_t* head, size_t count) {
    return std::fseek(file, 0, SEEK_SET) == 0 && std::fread(head, 1, count, file) == count;
}

uint8_t* stream_copy(FILE* file, size_t* length) {
    if (std::fseek(file, 0, SEEK_END) != 0) return nullptr;
    long size = std::ftell(file);
    if (size <= 0 || std::fseek(file, 0, SEEK_SET) != 0) return nullptr;
    auto* copy = static_cast<uint8_t*>(std::malloc(size_t(size)));
    if (!copy) return nullptr;
    *length = std::fread(copy, 1, size_t(size), file);
    return copy;
}
