// Runs a decoder record the way the codec registry does, from memory or from a file, into a
// buffer of exactly stride x height bytes so that sanitizers see any overrun.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/image/image.h"

namespace decoder_test {

using bytes = std::vector<uint8_t>;

struct decoded {
    int32_t answer = probe_refused;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    int32_t result = 0;
    bytes pixels;

    int32_t pixel_bytes() const { return answer == probe_bgra32 ? 4 : 3; }
    const uint8_t* at(int32_t x, int32_t y) const {
        return pixels.data() + size_t(y) * size_t(stride) + size_t(x) * size_t(pixel_bytes());
    }
    std::vector<int> pixel(int32_t x, int32_t y) const {
        const uint8_t* p = at(x, y);
        return std::vector<int>(p, p + pixel_bytes());
    }
};

inline void decode_accepted(const image_decoder& decoder, decoded& out) {
    out.width = decoder.get_width();
    out.height = decoder.get_height();
    out.stride = decoder_row_stride(out.answer, out.width);
    out.pixels.assign(size_t(out.stride) * size_t(out.height), 0);
    out.result = decoder.decode(out.pixels.data(), out.stride);
}

// The block is copied so that its end is the end of a heap allocation.
inline decoded decode_memory(const image_decoder& decoder, const bytes& data) {
    decoded out;
    bytes block(data);
    out.answer = decoder.probe(nullptr, nullptr, block.data(), block.size());
    if (out.answer != probe_refused) decode_accepted(decoder, out);
    return out;
}

// What a picture cut off after `length` bytes gives: each byte of the buffer either the one
// expected of the whole picture or still 0, as if decoding stopped where the data ends.
inline void expect_part_of(const decoded& part, const bytes& whole, size_t length) {
    ASSERT_EQ(part.pixels.size(), whole.size()) << length << " bytes";
    for (size_t i = 0; i < whole.size(); ++i)
        if (part.pixels[i] != 0 && part.pixels[i] != whole[i]) {
            ADD_FAILURE() << length << " bytes: byte " << i << " is " << int(part.pixels[i]);
            return;
        }
}

inline std::string temporary_path(const char* suffix) {
    static int counter = 0;
    return testing::TempDir() + "tessaryn_decoder_" + std::to_string(++counter) + suffix;
}

inline decoded decode_file(const image_decoder& decoder, const bytes& data, const char* suffix) {
    decoded out;
    std::string path = temporary_path(suffix);
    FILE* writer = fopen(path.c_str(), "wb");
    if (!writer) return out;
    fwrite(data.data(), 1, data.size(), writer);
    fclose(writer);
    FILE* file = fopen(path.c_str(), "rb");
    if (file) {
        out.answer = decoder.probe(file, path.c_str(), nullptr, 0);
        if (out.answer != probe_refused) decode_accepted(decoder, out);
        fclose(file);
    }
    remove(path.c_str());
    return out;
}

}  // namespace decoder_test
