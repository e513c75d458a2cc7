// Only the headers are read: JFIF's APP0 and PNG's pHYs stand before the picture data, a
// TIFF's first directory wherever its header points.
#include "app/faces/picture_density.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr double mm_per_inch = 25.4;
constexpr size_t header_limit = 1 << 16;

struct file_bytes {
    std::vector<uint8_t> bytes;
    // Zero past the end, so that a cut file reads as no density rather than beyond the buffer.
    uint32_t at(size_t offset, int count, bool big_endian) const {
        if (offset + size_t(count) > bytes.size()) return 0;
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            const uint32_t byte = bytes[offset + size_t(i)];
            value |= big_endian ? byte << (8 * (count - 1 - i)) : byte << (8 * i);
        }
        return value;
    }
};

bool read_head(const char* path, size_t limit, file_bytes& file) {
    FILE* stream = std::fopen(path, "rb");
    if (!stream) return false;
    file.bytes.resize(limit);
    file.bytes.resize(std::fread(file.bytes.data(), 1, limit, stream));
    std::fclose(stream);
    return true;
}

bool per_mm(double x, double y, double mm_per_unit, picture_density& density) {
    if (!(x > 0 && y > 0)) return false;
    density = {x / mm_per_unit, y / mm_per_unit};
    return true;
}

bool jfif_density(const file_bytes& file, picture_density& density) {
    // FF D8, then the APP0 segment: length, "JFIF\0", version, unit, x and y density.
    if (file.at(2, 2, true) != 0xFFE0 || file.bytes.size() < 18 ||
        std::memcmp(&file.bytes[6], "JFIF", 5) != 0)
        return false;
    const uint32_t unit = file.at(13, 1, true);
    if (unit != 1 && unit != 2) return false;
    return per_mm(file.at(14, 2, true), file.at(16, 2, true), unit == 1 ? mm_per_inch : 10.0,
                  density);
}

bool png_density(const file_bytes& file, picture_density& density) {
    for (size_t chunk = 8; chunk + 12 <= file.bytes.size();) {
        const uint32_t length = file.at(chunk, 4, true);
        if (std::memcmp(&file.bytes[chunk + 4], "IDAT", 4) == 0) return false;
        if (std::memcmp(&file.bytes[chunk + 4], "pHYs", 4) == 0 && length == 9)
            return file.at(chunk + 16, 1, true) == 1 &&
                   per_mm(file.at(chunk + 8, 4, true), file.at(chunk + 12, 4, true), 1000.0,
                          density);
        chunk += size_t(length) + 12;
    }
    return false;
}

// `count` bytes from `offset` of the file, fewer where it ends.
file_bytes read_at(FILE* stream, uint32_t offset, size_t count) {
    file_bytes part;
    if (offset > 0x7FFFFFFFu || std::fseek(stream, long(offset), SEEK_SET) != 0) return part;
    part.bytes.resize(count);
    part.bytes.resize(std::fread(part.bytes.data(), 1, count, stream));
    return part;
}

// A RATIONAL tag's value, 0 when it cannot be read.
double tiff_rational(FILE* stream, uint32_t offset, bool big_endian) {
    const file_bytes value = read_at(stream, offset, 8);
    const double denominator = value.at(4, 4, big_endian);
    return denominator > 0 ? value.at(0, 4, big_endian) / denominator : 0.0;
}

bool tiff_density(const char* path, const file_bytes& head, picture_density& density) {
    const bool big_endian = head.bytes[0] == 'M';
    FILE* stream = std::fopen(path, "rb");
    if (!stream) return false;
    constexpr uint32_t most_entries = 256;
    const file_bytes directory = read_at(stream, head.at(4, 4, big_endian), 2 + 12 * most_entries);
    double x = 0, y = 0;
    uint32_t unit = 2;  // inches unless the file says otherwise
    const uint32_t entries = directory.at(0, 2, big_endian);
    for (uint32_t i = 0; i < entries && i < most_entries; ++i) {
        const size_t entry = 2 + 12 * size_t(i);
        const uint32_t tag = directory.at(entry, 2, big_endian);
        if (tag == 282)
            x = tiff_rational(stream, directory.at(entry + 8, 4, big_endian), big_endian);
        if (tag == 283)
            y = tiff_rational(stream, directory.at(entry + 8, 4, big_endian), big_endian);
        if (tag == 296) unit = directory.at(entry + 8, 2, big_endian);
    }
    std::fclose(stream);
    if (unit != 2 && unit != 3) return false;
    return per_mm(x, y, unit == 2 ? mm_per_inch : 10.0, density);
}

}  // namespace

bool read_picture_density(const char* path, picture_density& density) {
    file_bytes head;
    if (!read_head(path, header_limit, head) || head.bytes.size() < 8) return false;
    if (head.at(0, 2, true) == 0xFFD8) return jfif_density(head, density);
    if (std::memcmp(head.bytes.data(), "\x89PNG\r\n\x1A\n", 8) == 0)
        return png_density(head, density);
    if (std::memcmp(head.bytes.data(), "II*\0", 4) == 0 ||
        std::memcmp(head.bytes.data(), "MM\0*", 4) == 0)
        return tiff_density(path, head, density);
    return false;
}
