// The density a picture file carries: JFIF's in a JPEG, pHYs in a PNG, the resolution tags of
// a TIFF. Files whose density has no unit (an aspect ratio only) carry none. Host-neutral, so
// that the header readers are fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>

struct picture_density {
    double x_per_mm, y_per_mm;  // pixels per millimetre
};

// Where the headers come from: `read` copies up to `count` bytes from `offset` into `into`
// and answers how many there were (fewer where the bytes end).
struct density_source {
    size_t (*read)(void* context, uint64_t offset, uint8_t* into, size_t count);
    void* context;
};

// False when the bytes name no density in inches, centimetres or metres; any bytes end so.
bool picture_density_read(const density_source& source, picture_density& density);
// The same for a file; false also when it cannot be read.
bool read_picture_density(const char* path, picture_density& density);
