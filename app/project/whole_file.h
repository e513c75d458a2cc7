// A file's bytes, all of them or none: the undo history keeps the atlas this way, so that a
// read that failed or ended short can never be written back over it.
#pragma once

#include <memory>
#include <string>

using file_bytes = std::shared_ptr<const std::string>;

// Null when the file is missing, empty, held by another program or read short.
file_bytes whole_file(const char* path);
