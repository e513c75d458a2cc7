// Reading the engine's data files: a name is looked for in every archive folder, in the
// order the folders were added, and then as given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine3d {

// Adds a folder once; later additions of the same folder change nothing.
void archive_add(std::vector<std::string>& folders, const char* folder);

// The whole file, or false when no place holds a readable file of that name.
bool archive_read(const std::vector<std::string>& folders, const char* name,
                  std::vector<uint8_t>& bytes);

}  // namespace engine3d
