// Pieces shared by the JPEG decoder and encoder: libjpeg's declarations, an error manager
// that jumps back into the glue instead of ending the process, and the sources.
// Relies on libjpeg's version 62 interface; host-neutral.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>

// Older libjpeg headers carry no C++ linkage guard of their own.
extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

// The manager comes first so that the library's err pointer also addresses the whole.
struct jpeg_jump_error {
    jpeg_error_mgr manager;
    std::jmp_buf target;
};

[[noreturn]] inline void jpeg_jump_error_exit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<jpeg_jump_error*>(cinfo->err)->target, 1);
}

// The runtime shows no messages; warnings are still counted by the library.
inline void jpeg_silent_message(j_common_ptr) {}

// The caller arms `target` with setjmp before the next library call.
inline jpeg_error_mgr* jpeg_jump_error_init(jpeg_jump_error& error) {
    jpeg_std_error(&error.manager);
    error.manager.error_exit = jpeg_jump_error_exit;
    error.manager.output_message = jpeg_silent_message;
    return &error.manager;
}

// Memory that lives as long as the decompression object, for a source made once per object.
inline void* jpeg_permanent_block(j_decompress_ptr cinfo, size_t size) {
    return (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, size);
}

// A source manager made ready to read anew: its callbacks set, its buffer empty.
inline void jpeg_source_start(jpeg_source_mgr& manager, void (*init)(j_decompress_ptr),
                              boolean (*fill)(j_decompress_ptr), void (*skip)(j_decompress_ptr, long),
                              void (*term)(j_decompress_ptr)) {
    manager.init_source = init;
    manager.fill_input_buffer = fill;
    manager.skip_input_data = skip;
    manager.resync_to_restart = jpeg_resync_to_restart;
    manager.term_source = term;
    manager.next_input_byte = nullptr;
    manager.bytes_in_buffer = 0;
}

// Reads `length` bytes at `data` and never past them: a cut-short picture ends on a
// fabricated end-of-image marker after the library's premature-end warning.
void jpeg_memory_source(j_decompress_ptr cinfo, const uint8_t* data, size_t length);
// Reads the stream from where it stands, a block at a time; its end reads as the memory
// source's does.
void jpeg_file_source(j_decompress_ptr cinfo, FILE* file);
