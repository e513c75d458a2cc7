// TGA decoder: true-colour Targa pictures, uncompressed (type 2) or run-length (type 10),
// 15, 16, 24 or 32 bits, into 24-bit rows. The library's own code; every read goes through a
// cursor bounded by the data's real length, so damaged files stop early and stay black.
#include <cstdlib>
#include <cstring>

#include "runtime/image/image.h"
#include "runtime/image/stream_copy.h"

namespace {

constexpr size_t header_size = 18;
constexpr uint8_t type_uncompressed = 2;
constexpr uint8_t type_run_length = 10;
constexpr uint8_t descriptor_top_first = 0x20;
constexpr uint8_t descriptor_right_to_left = 0x10;
constexpr uint8_t packet_run = 0x80;
constexpr uint8_t packet_count_mask = 0x7F;
constexpr int32_t output_bytes = 3;

struct tga_header {
    uint8_t id_length;
    uint8_t image_type;
    uint16_t colour_map_length;
    uint8_t colour_map_entry_bits;
    uint16_t width;
    uint16_t height;
    uint8_t pixel_depth;
    uint8_t descriptor;
};

struct tga_state {
    const uint8_t* data;
    size_t length;
    uint8_t* file_copy;
    tga_header header;
};

// One per thread, as every decoder keeps it.
thread_local tga_state state;

// Reads stop at the data's end rather than running on.
struct tga_cursor {
    const uint8_t* data;
    size_t length;
    size_t position;

    bool has(size_t count) const { return count <= length - position; }
    bool read_byte(uint8_t& value) {
        if (!has(1)) return false;
        value = data[position++];
        return true;
    }
    // One source pixel of `bytes` bytes as blue, green, red.
    bool read_pixel(int32_t bytes, uint8_t* out);
};

constexpr uint8_t five_bits_to_eight(uint32_t value) { return uint8_t((value & 0x1F) << 3); }

bool tga_cursor::read_pixel(int32_t bytes, uint8_t* out) {
    if (!has(size_t(bytes))) return false;
    const uint8_t* source = data + position;
    position += size_t(bytes);
    if (bytes == 2) {
        /* 5-5-5 little-endian; bit 15 (attribute) ignored */
        uint32_t value = uint32_t(source[0]) | uint32_t(source[1]) << 8;
        out[0] = five_bits_to_eight(value);
        out[1] = five_bits_to_eight(value >> 5);
        out[2] = five_bits_to_eight(value >> 10);
    } else {
        memcpy(out, source, output_bytes);
    }
    return true;
}

uint16_t read_u16(const uint8_t* at) { return uint16_t(at[0] | at[1] << 8); }

tga_header parse_header(const uint8_t* bytes) {
    tga_header header{};
    header.id_length = bytes[0];
    header.image_type = bytes[2];
    header.colour_map_length = read_u16(bytes + 5);
    header.colour_map_entry_bits = bytes[7];
    header.width = read_u16(bytes + 12);
    header.height = read_u16(bytes + 14);
    header.pixel_depth = bytes[16];
    header.descriptor = bytes[17];
    return header;
}

int32_t source_pixel_bytes(uint8_t depth) {
    switch (depth) {
        case 15:  // 5-5-5 without the attribute bit, stored like 16
        case 16: return 2;
        case 24: return 3;
        case 32: return 4;
        default: return 0;
    }
}

// Colour-map entries take whole bytes: 15-bit entries are stored in 2.
size_t pixel_data_offset(const tga_header& header) {
    size_t offset = header_size + header.id_length;
    return offset + size_t(header.colour_map_length) * ((header.colour_map_entry_bits + 7) / 8);
}

void release() {
    free(state.file_copy);
    state = {};
}

// `held` is the file copy the decode will keep beside the picture.
bool header_acceptable(const uint8_t* data, size_t length, size_t held) {
    if (length < header_size) return false;
    tga_header header = parse_header(data);
    if (header.image_type != type_uncompressed && header.image_type != type_run_length) return false;
    return picture_size_acceptable(header.width, header.height, output_bytes, int64_t(held));
}

bool accept(const uint8_t* data, size_t length, size_t held) {
    if (!header_acceptable(data, length, held)) return false;
    state.data = data;
    state.length = length;
    state.header = parse_header(data);
    return true;
}

// The header is checked before the whole file is copied, so other formats cost 18 bytes.
bool accept_file(FILE* file) {
    uint8_t header[header_size];
    if (!stream_head(file, header, header_size) || !header_acceptable(header, header_size, 0)) return false;
    size_t length = 0;
    uint8_t* copy = stream_copy(file, &length);
    if (!copy || !accept(copy, length, length)) {
        free(copy);
        return false;
    }
    state.file_copy = copy;
    return true;
}

int32_t probe(FILE* file, const char*, const uint8_t* address, size_t size) {
    release();
    bool accepted = file ? accept_file(file) : address && accept(address, size, 0);
    if (!accepted) release();
    return accepted ? probe_bgr24 : probe_refused;
}

// Right-to-left rows are filled from their right end, so a short file costs no more than
// the pixels it holds.
void decode_uncompressed(tga_cursor& cursor, int32_t pixel_bytes, uint8_t* buffer, int32_t stride) {
    const tga_header& header = state.header;
    bool top_first = header.descriptor & descriptor_top_first;
    bool right_to_left = header.descriptor & descriptor_right_to_left;
    ptrdiff_t step = right_to_left ? -output_bytes : output_bytes;
    for (int32_t i = 0; i < header.height; ++i) {
        int32_t target_row = top_first ? i : header.height - 1 - i;
        uint8_t* out = buffer + size_t(target_row) * size_t(stride);
        if (right_to_left) out += size_t(header.width - 1) * output_bytes;
        for (int32_t x = 0; x < header.width; ++x, out += step) {
            if (!cursor.read_pixel(pixel_bytes, out)) return;
        }
    }
}

// Packets are written as one packed run of pixels; true when every pixel arrived.
bool unpack_packets(tga_cursor& cursor, int32_t pixel_bytes, uint8_t* buffer) {
    size_t total = size_t(state.header.width) * state.header.height;
    size_t produced = 0;
    uint8_t packet = 0;
    while (produced < total) {
        if (!cursor.read_byte(packet)) return false;
        size_t count = size_t(packet & packet_count_mask) + 1;
        bool run = packet & packet_run;
        uint8_t* out = buffer + produced * output_bytes;
        for (size_t i = 0; i < count && produced < total; ++i, ++produced, out += output_bytes) {
            if (run && i > 0) {
                memcpy(out, out - output_bytes, output_bytes);
            } else if (!cursor.read_pixel(pixel_bytes, out)) {
                return false;
            }
        }
    }
    return true;
}

// Last row first, since the moves overlap towards higher addresses.
void spread_rows(uint8_t* buffer, int32_t stride) {
    size_t packed = size_t(state.header.width) * output_bytes;
    if (packed == size_t(stride)) return;
    for (int32_t row = state.header.height - 1; row > 0; --row) {
        memmove(buffer + size_t(row) * size_t(stride), buffer + size_t(row) * packed, packed);
    }
}

void flip_rows(uint8_t* buffer, int32_t stride) {
    size_t packed = size_t(state.header.width) * output_bytes;
    uint8_t* top = buffer;
    uint8_t* bottom = buffer + size_t(state.header.height - 1) * size_t(stride);
    for (; top < bottom; top += stride, bottom -= stride) {
        for (size_t i = 0; i < packed; ++i) {
            uint8_t kept = top[i];
            top[i] = bottom[i];
            bottom[i] = kept;
        }
    }
}

// Right-to-left pictures store each row's rightmost pixel first; run-length pictures are
// unpacked in stored order and mirrored once complete.
void mirror_rows(uint8_t* buffer, int32_t stride) {
    for (int32_t row = 0; row < state.header.height; ++row) {
        uint8_t* left = buffer + size_t(row) * size_t(stride);
        uint8_t* right = left + size_t(state.header.width - 1) * output_bytes;
        for (; left < right; left += output_bytes, right -= output_bytes) {
            uint8_t kept[output_bytes];
            memcpy(kept, left, output_bytes);
            memcpy(left, right, output_bytes);
            memcpy(right, kept, output_bytes);
        }
    }
}

// A stream cut short keeps the packed, unflipped pixels that arrived.
void decode_run_length(tga_cursor& cursor, int32_t pixel_bytes, uint8_t* buffer, int32_t stride) {
    if (!unpack_packets(cursor, pixel_bytes, buffer)) return;
    spread_rows(buffer, stride);
    if (!(state.header.descriptor & descriptor_top_first)) flip_rows(buffer, stride);
    if (state.header.descriptor & descriptor_right_to_left) mirror_rows(buffer, stride);
}

void decode_pixels(uint8_t* buffer, int32_t stride) {
    int32_t pixel_bytes = source_pixel_bytes(state.header.pixel_depth);
    size_t offset = pixel_data_offset(state.header);
    if (!buffer || pixel_bytes == 0 || offset > state.length) return;
    if (stride < state.header.width * output_bytes) return;
    tga_cursor cursor{state.data, state.length, offset};
    if (state.header.image_type == type_run_length) {
        decode_run_length(cursor, pixel_bytes, buffer, stride);
    } else {
        decode_uncompressed(cursor, pixel_bytes, buffer, stride);
    }
}

int32_t decode(uint8_t* buffer, int32_t stride) {
    if (state.data) decode_pixels(buffer, stride);
    release();
    return 1;
}

int32_t get_width() { return state.header.width; }
int32_t get_height() { return state.header.height; }

}  // namespace

const image_decoder tga_decoder = {probe, decode, get_width, get_height};
