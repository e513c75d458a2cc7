// Reading a picture file into memory for the decoders that work on whole files.
// Host-neutral.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Reads `count` bytes from the start of the stream into `head`; false when it is shorter.
bool stream_head(FILE* file, uint8_t* head, size_t count);

// The whole stream, from its start, in a block of malloc (the caller frees it); null when
// it can't be read. `length` receives the bytes read.
uint8_t* stream_copy(FILE* file, size_t* length);
