// Reads the size first and then exactly that many bytes: a file cut or grown while it is read
// fails the read instead of giving a part of it.
#include "app/project/whole_file.h"

#include <fstream>

file_bytes whole_file(const char* path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return nullptr;
    const std::streamoff size = file.tellg();
    if (size <= 0) return nullptr;
    std::string bytes(size_t(size), '\0');
    if (!file.seekg(0) || !file.read(&bytes[0], std::streamsize(size))) return nullptr;
    if (file.peek() != std::ifstream::traits_type::eof()) return nullptr;
    return std::make_shared<const std::string>(std::move(bytes));
}
