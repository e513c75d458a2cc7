// Files made whole in memory (a 3D model with its pictures) saved as the encoders save:
// through a staged file, so the target is replaced only once every byte was written.
#include "runtime/image/staged_file.h"

int32_t file_save_bytes(const char* name, const uint8_t* bytes, size_t size) {
    if (!name || (!bytes && size)) return 0;
    staged_file file(name);
    if (!file.stream()) return 0;
    // A short write leaves the stream's error set, which the commit finds and names.
    if (size) std::fwrite(bytes, 1, size, file.stream());
    return file.commit() ? 1 : 0;
}
