// Face pictures decoded ahead on a thread of their own, while the program starts: an export
// from the command line knows its pictures before the window is built, and decoding them
// is most of its work.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/image/image.h"

struct prefetch_request {
    std::string path;
    int32_t width, height;  // as the export's face decoding asks for it
};

// Starts decoding the pictures in order; once per process, after the codecs are registered.
void face_prefetch_start(const prefetch_request* requests, int32_t count);
// The picture decoded ahead for this path and size, waited for while it is being decoded;
// null when none was asked for, its decoding had not begun (it is then the caller's) or it
// could not be decoded. The caller owns it.
platform_handle face_prefetch_take(const std::string& path, int32_t width, int32_t height);
