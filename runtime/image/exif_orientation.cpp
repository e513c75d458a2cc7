// Reads the orientation tag from Exif data: a small TIFF structure ("Exif", two zero bytes,
// then a byte-order mark, 42, and the first directory). Every read is checked against the
// segment's end, so a hostile segment yields "upright" rather than a read past it.
#include <cstring>

#include "runtime/image/orientation.h"

namespace {

constexpr uint8_t exif_signature[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t tiff_magic = 42;
constexpr uint16_t tag_orientation = 0x0112;
constexpr uint16_t type_short = 3;
constexpr size_t entry_size = 12;

struct tiff_reader {
    const uint8_t* data;
    size_t length;
    bool big_endian;

    bool has(size_t at, size_t count) const { return at <= length && count <= length - at; }
    uint32_t u16(size_t at) const {
        if (!has(at, 2)) return 0;
        return big_endian ? uint32_t(data[at]) << 8 | data[at + 1] : uint32_t(data[at + 1]) << 8 | data[at];
    }
    uint32_t u32(size_t at) const {
        if (!has(at, 4)) return 0;
        return big_endian ? u16(at) << 16 | u16(at + 2) : u16(at + 2) << 16 | u16(at);
    }
};

bool byte_order_of(const uint8_t* mark, bool* big_endian) {
    if (mark[0] == 'I' && mark[1] == 'I') return !(*big_endian = false);
    if (mark[0] == 'M' && mark[1] == 'M') return (*big_endian = true);
    return false;
}

}  // namespace

int32_t exif_orientation(const uint8_t* segment, size_t length) {
    constexpr size_t tiff_header = 8;
    if (!segment || length < sizeof exif_signature + tiff_header) return orientation_upright;
    if (std::memcmp(segment, exif_signature, sizeof exif_signature) != 0) return orientation_upright;
    tiff_reader tiff{segment + sizeof exif_signature, length - sizeof exif_signature, false};
    if (!byte_order_of(tiff.data, &tiff.big_endian) || tiff.u16(2) != tiff_magic) return orientation_upright;

    size_t directory = tiff.u32(4);
    if (!tiff.has(directory, 2)) return orientation_upright;
    uint32_t entries = tiff.u16(directory);
    for (uint32_t i = 0; i < entries; ++i) {
        size_t entry = directory + 2 + size_t(i) * entry_size;
        if (!tiff.has(entry, entry_size)) break;
        if (tiff.u16(entry) != tag_orientation) continue;
        uint32_t value = tiff.u16(entry + 8);
        bool usable = tiff.u16(entry + 2) == type_short && value >= 1 && value <= 8;
        return usable ? int32_t(value) : orientation_upright;
    }
    return orientation_upright;
}
