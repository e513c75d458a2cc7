// libFuzzer target for the density readers behind the box's sizes from pictures: JFIF, pHYs
// and TIFF resolution headers read from memory, through the same path a file takes.
#include <algorithm>
#include <cstring>

#include "app/faces/picture_density.h"

namespace {

struct memory {
    const uint8_t* data;
    size_t size;
};

size_t read_memory(void* context, uint64_t offset, uint8_t* into, size_t count) {
    const memory& bytes = *static_cast<const memory*>(context);
    if (offset >= bytes.size) return 0;
    const size_t taken = std::min<uint64_t>(count, bytes.size - offset);
    std::memcpy(into, bytes.data + offset, taken);
    return taken;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    memory bytes = {data, size};
    picture_density density;
    picture_density_read({read_memory, &bytes}, density);
    return 0;
}
