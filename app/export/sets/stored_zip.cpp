// The local header, then the bytes of each file, then the central directory and its end
// record; no data descriptors, no extra fields, no zip64 (a set stays far below 4 GiB).
#include "app/export/sets/stored_zip.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

constexpr uint32_t local_signature = 0x04034b50, central_signature = 0x02014b50, end_signature = 0x06054b50;
constexpr uint16_t version_needed = 10;  // stored files
constexpr size_t copy_chunk = 1 << 20;

struct file_closer {
    void operator()(FILE* file) const { std::fclose(file); }
};
using file_handle = std::unique_ptr<FILE, file_closer>;

struct entry {
    std::string name;
    uint32_t crc, size, offset;
};

void put16(std::string& out, uint32_t value) {
    out += char(value & 0xFF), out += char(value >> 8 & 0xFF);
}
void put32(std::string& out, uint32_t value) { put16(out, value & 0xFFFF), put16(out, value >> 16); }

std::string bare_name(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// MS-DOS time and date, as zip keeps them.
uint32_t dos_time_now() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    const uint32_t time = uint32_t(local->tm_hour) << 11 | uint32_t(local->tm_min) << 5 | uint32_t(local->tm_sec) / 2;
    const uint32_t date = uint32_t(local->tm_year - 80) << 9 | uint32_t(local->tm_mon + 1) << 5 | uint32_t(local->tm_mday);
    return date << 16 | time;
}

// The fields the local header and the central directory share, from "version needed" on.
std::string common_fields(const entry& file, uint32_t stamp) {
    std::string out;
    put16(out, version_needed), put16(out, 0), put16(out, 0);  // flags, method: stored
    put32(out, stamp), put32(out, file.crc), put32(out, file.size), put32(out, file.size);
    put16(out, uint32_t(file.name.size())), put16(out, 0);  // no extra field
    return out;
}

// Copies the file into the archive, counting its CRC and size.
bool append(FILE* archive, const std::string& path, entry& file) {
    file_handle source(std::fopen(path.c_str(), "rb"));
    if (!source) return false;
    std::unique_ptr<uint8_t[]> chunk(new uint8_t[copy_chunk]);
    uLong crc = crc32(0, nullptr, 0);
    uint64_t size = 0;
    for (size_t read; (read = std::fread(chunk.get(), 1, copy_chunk, source.get())) > 0; size += read) {
        crc = crc32(crc, chunk.get(), uInt(read));
        if (std::fwrite(chunk.get(), 1, read, archive) != read) return false;
    }
    file.crc = uint32_t(crc), file.size = uint32_t(size);
    return !std::ferror(source.get()) && size < 0xFFFFFFFFu;
}

bool write_all(FILE* archive, const std::vector<std::string>& files) {
    const uint32_t stamp = dos_time_now();
    std::vector<entry> entries;
    long offset = 0;
    for (const std::string& path : files) {
        entry file = {bare_name(path), 0, 0, uint32_t(offset)};
        // The header is written again once the CRC and size are known.
        std::string header;
        put32(header, local_signature);
        header += common_fields(file, stamp) + file.name;
        if (std::fwrite(header.data(), 1, header.size(), archive) != header.size() || !append(archive, path, file))
            return false;
        const long end = std::ftell(archive);
        header.clear();
        put32(header, local_signature);
        header += common_fields(file, stamp);
        if (std::fseek(archive, offset, SEEK_SET) || std::fwrite(header.data(), 1, header.size(), archive) != header.size() ||
            std::fseek(archive, end, SEEK_SET))
            return false;
        entries.push_back(file);
        offset = end;
    }
    std::string directory;
    for (const entry& file : entries) {
        put32(directory, central_signature);
        put16(directory, version_needed);  // made by: MS-DOS
        directory += common_fields(file, stamp);
        put16(directory, 0), put16(directory, 0), put16(directory, 0);  // comment, disk, internal
        put32(directory, 0), put32(directory, file.offset);
        directory += file.name;
    }
    std::string end;
    put32(end, end_signature), put16(end, 0), put16(end, 0);
    put16(end, uint32_t(entries.size())), put16(end, uint32_t(entries.size()));
    put32(end, uint32_t(directory.size())), put32(end, uint32_t(offset)), put16(end, 0);
    directory += end;
    return std::fwrite(directory.data(), 1, directory.size(), archive) == directory.size();
}

}  // namespace

bool write_stored_zip(const std::string& archive, const std::vector<std::string>& files) {
    FILE* file = std::fopen(archive.c_str(), "wb");
    if (!file) return false;
    const bool written = write_all(file, files);
    if (std::fclose(file) == 0 && written) return true;
    std::remove(archive.c_str());
    return false;
}
