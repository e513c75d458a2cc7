// A zip archive of whole files, stored as they are (pictures gain nothing from deflating),
// each under its bare file name, with zlib's CRC-32.
#pragma once

#include <string>
#include <vector>

// False when a file could not be read or the archive not written; nothing is left then.
bool write_stored_zip(const std::string& archive, const std::vector<std::string>& files);
