// libFuzzer target for the PNG decoder, memory form. Chunk CRCs are recomputed before
// decoding, so that mutations reach the header and pixel paths instead of the CRC check.
#include <zlib.h>

#include <vector>

#include "fuzz/decoder_fuzz.h"

namespace {

constexpr size_t signature_size = 8;
constexpr size_t length_size = 4;
constexpr size_t type_size = 4;
constexpr size_t crc_size = 4;

uint32_t read_be32(const uint8_t* at) {
    return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
}

void fix_chunk_crcs(std::vector<uint8_t>& data) {
    for (size_t at = signature_size; data.size() - at >= length_size + type_size + crc_size;) {
        size_t length = read_be32(&data[at]);
        size_t covered = type_size + length;
        if (length > data.size() - at - length_size - type_size - crc_size) return;
        uint32_t crc = uint32_t(crc32(0, &data[at + length_size], uInt(covered)));
        uint8_t* out = &data[at + length_size + covered];
        for (int i = 0; i < 4; ++i) out[i] = uint8_t(crc >> (24 - 8 * i));
        at += length_size + covered + crc_size;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> fixed(data, data + size);
    if (size >= signature_size) fix_chunk_crcs(fixed);
    return fuzz_decoder(png_decoder, fixed.data(), fixed.size());
}
