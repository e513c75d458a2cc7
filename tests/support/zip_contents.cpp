// Sizes the directory marks as too large for 32 bits are taken from its ZIP64 extra field.
#include "tests/support/zip_contents.h"

#include <zlib.h>

namespace {

constexpr uint32_t local_signature = 0x04034b50, central_signature = 0x02014b50, end_signature = 0x06054b50;
constexpr size_t end_size = 22, central_size = 46, local_size = 30;
constexpr uint16_t zip64_extra = 1;

uint64_t little(const std::vector<uint8_t>& bytes, size_t at, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | (at + size_t(i) < bytes.size() ? bytes[at + size_t(i)] : 0);
    return value;
}

// The compressed size of the entry whose central header starts at `at`.
uint64_t stored_size(const std::vector<uint8_t>& zip, size_t at) {
    const uint64_t size = little(zip, at + 20, 4);
    if (size != 0xFFFFFFFFu) return size;
    const size_t extra = at + central_size + size_t(little(zip, at + 28, 2)), end = extra + size_t(little(zip, at + 30, 2));
    for (size_t field = extra; field + 4 <= end; field += 4 + size_t(little(zip, field + 2, 2)))
        if (little(zip, field, 2) == zip64_extra)
            return little(zip, field + 4 + (little(zip, at + 24, 4) == 0xFFFFFFFFu ? 8 : 0), 8);
    return 0;
}

zip_entry entry_at(const std::vector<uint8_t>& zip, size_t at) {
    zip_entry entry;
    const size_t name_length = size_t(little(zip, at + 28, 2));
    const size_t local = size_t(little(zip, at + 42, 4));
    if (at + central_size + name_length > zip.size() || local + local_size + name_length > zip.size()) return entry;
    entry.name.assign(zip.begin() + long(at + central_size), zip.begin() + long(at + central_size + name_length));
    entry.central_flags = uint32_t(little(zip, at + 8, 2));
    entry.method = uint32_t(little(zip, at + 10, 2));
    if (little(zip, local, 4) != local_signature || little(zip, local + 26, 2) != name_length) return entry;
    entry.local_flags = uint32_t(little(zip, local + 6, 2));
    entry.local_header_matches =
        std::string(zip.begin() + long(local + local_size), zip.begin() + long(local + local_size + name_length)) == entry.name;
    const size_t data = local + local_size + name_length + size_t(little(zip, local + 28, 2));
    const uint64_t size = stored_size(zip, at);
    if (data + size > zip.size()) return entry;
    const uLong crc = crc32(crc32(0, nullptr, 0), zip.data() + data, uInt(size));
    entry.crc_matches = entry.method == 0 && crc == little(zip, at + 16, 4);
    return entry;
}

}  // namespace

std::vector<zip_entry> zip_entries(const std::vector<uint8_t>& zip) {
    std::vector<zip_entry> entries;
    if (zip.size() < end_size) return entries;
    const size_t end = zip.size() - end_size;  // no archive comment
    if (little(zip, end, 4) != end_signature) return entries;
    size_t at = size_t(little(zip, end + 16, 4));
    for (uint64_t i = 0, count = little(zip, end + 10, 2); i < count && at + central_size <= end; ++i) {
        if (little(zip, at, 4) != central_signature) break;
        entries.push_back(entry_at(zip, at));
        at += central_size + size_t(little(zip, at + 28, 2) + little(zip, at + 30, 2) + little(zip, at + 32, 2));
    }
    return entries;
}
