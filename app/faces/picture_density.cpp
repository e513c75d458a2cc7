// Only the headers are read: JFIF's APP0 and PNG's pHYs stand before the picture data, a
// TIFF's first directory wherever its header points. Every offset comes from the file, so
// each is checked against what was read before it is used.
#include "app/faces/picture_density.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr double mm_per_inch = 25.4;
constexpr size_t header_limit = 1 << 16;
constexpr size_t png_chunk_frame = 12;  // length, type and CRC around a chunk's data

struct bytes_read {
    std::vector<uint8_t> bytes;
    // Zero past the end, so that a cut file reads as no density rather than beyond the buffer.
    uint32_t at(size_t offset, int count, bool big_endian) const {
        if (offset > bytes.size() || size_t(count) > bytes.size() - offset) return 0;
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            const uint32_t byte = bytes[offset + size_t(i)];
            value |= big_endian ? byte << (8 * (count - 1 - i)) : byte << (8 * i);
        }
        return value;
    }
    bool holds(size_t offset, const char* text, size_t length) const {
        return offset <= bytes.size() && length <= bytes.size() - offset &&
               std::memcmp(&bytes[offset], text, length) == 0;
    }
};

// `count` bytes from `offset` of the source, fewer where it ends.
bytes_read read_at(const density_source& source, uint64_t offset, size_t count) {
    bytes_read part;
    part.bytes.resize(count);
    part.bytes.resize(source.read(source.context, offset, part.bytes.data(), count));
    return part;
}

bool per_mm(double x, double y, double mm_per_unit, picture_density& density) {
    if (!(x > 0 && y > 0)) return false;
    density = {x / mm_per_unit, y / mm_per_unit};
    return true;
}

bool jfif_density(const bytes_read& head, picture_density& density) {
    // FF D8, then the APP0 segment: length, "JFIF\0", version, unit, x and y density.
    if (head.at(2, 2, true) != 0xFFE0 || head.bytes.size() < 18 || !head.holds(6, "JFIF", 5)) return false;
    const uint32_t unit = head.at(13, 1, true);
    if (unit != 1 && unit != 2) return false;
    return per_mm(head.at(14, 2, true), head.at(16, 2, true), unit == 1 ? mm_per_inch : 10.0, density);
}

// The step to the next chunk is counted in 64 bits: a length near 4 GiB must not wrap it.
bool png_density(const bytes_read& head, picture_density& density) {
    const uint64_t size = head.bytes.size();
    for (uint64_t chunk = 8; chunk + png_chunk_frame <= size;) {
        const size_t at = size_t(chunk);
        const uint32_t length = head.at(at, 4, true);
        if (head.holds(at + 4, "IDAT", 4)) return false;
        if (head.holds(at + 4, "pHYs", 4) && length == 9)
            return head.at(at + 16, 1, true) == 1 &&
                   per_mm(head.at(at + 8, 4, true), head.at(at + 12, 4, true), 1000.0, density);
        chunk += uint64_t(length) + png_chunk_frame;
    }
    return false;
}

// A RATIONAL tag's value, 0 when it cannot be read.
double tiff_rational(const density_source& source, uint32_t offset, bool big_endian) {
    const bytes_read value = read_at(source, offset, 8);
    const double denominator = value.at(4, 4, big_endian);
    return denominator > 0 ? value.at(0, 4, big_endian) / denominator : 0.0;
}

bool tiff_density(const density_source& source, const bytes_read& head, picture_density& density) {
    const bool big_endian = head.bytes[0] == 'M';
    constexpr uint32_t most_entries = 256;
    const bytes_read directory = read_at(source, head.at(4, 4, big_endian), 2 + 12 * most_entries);
    double x = 0, y = 0;
    uint32_t unit = 2;  // inches unless the file says otherwise
    const uint32_t entries = directory.at(0, 2, big_endian);
    for (uint32_t i = 0; i < entries && i < most_entries; ++i) {
        const size_t entry = 2 + 12 * size_t(i);
        const uint32_t tag = directory.at(entry, 2, big_endian);
        if (tag == 282) x = tiff_rational(source, directory.at(entry + 8, 4, big_endian), big_endian);
        if (tag == 283) y = tiff_rational(source, directory.at(entry + 8, 4, big_endian), big_endian);
        if (tag == 296) unit = directory.at(entry + 8, 2, big_endian);
    }
    if (unit != 2 && unit != 3) return false;
    return per_mm(x, y, unit == 2 ? mm_per_inch : 10.0, density);
}

struct file_closer {
    void operator()(FILE* file) const { std::fclose(file); }
};

size_t read_file_at(void* context, uint64_t offset, uint8_t* into, size_t count) {
    FILE* file = static_cast<FILE*>(context);
    if (offset > 0x7FFFFFFFu || std::fseek(file, long(offset), SEEK_SET) != 0) return 0;
    return std::fread(into, 1, count, file);
}

}  // namespace

bool picture_density_read(const density_source& source, picture_density& density) {
    const bytes_read head = read_at(source, 0, header_limit);
    if (head.bytes.size() < 8) return false;
    if (head.at(0, 2, true) == 0xFFD8) return jfif_density(head, density);
    if (head.holds(0, "\x89PNG\r\n\x1A\n", 8)) return png_density(head, density);
    if (head.holds(0, "II*\0", 4) || head.holds(0, "MM\0*", 4)) return tiff_density(source, head, density);
    return false;
}

bool read_picture_density(const char* path, picture_density& density) {
    const std::unique_ptr<FILE, file_closer> file(std::fopen(path, "rb"));
    return file && picture_density_read({read_file_at, file.get()}, density);
}
