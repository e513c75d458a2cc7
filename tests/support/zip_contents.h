// A zip archive read back without the library that wrote it: the end record, the central
// directory, each entry's local header, and each entry's CRC counted again with zlib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct zip_entry {
    std::string name;  // the bytes as stored
    uint32_t central_flags = 0, local_flags = 0;
    uint32_t method = 0;
    bool local_header_matches = false;  // found at its offset, under the same name
    bool crc_matches = false;           // stored, and its bytes give the CRC the directory names
};

// In the central directory's order; empty when no end record is found.
std::vector<zip_entry> zip_entries(const std::vector<uint8_t>& zip);
