// libjpeg source manager over a stream, read a block at a time: a sheet's header is read
// without its file, and its pixels without a copy of the file beside the picture. Our own
// reader, since a FILE* must not cross into a library built on another C runtime.
#include "runtime/image/jpeg_glue.h"

namespace {

constexpr JOCTET marker_prefix = 0xFF;
constexpr JOCTET end_of_image = 0xD9;
constexpr size_t block_size = size_t(1) << 16;

struct file_source {
    jpeg_source_mgr manager;
    FILE* file;
    JOCTET* block;
};

file_source* source_of(j_decompress_ptr cinfo) { return reinterpret_cast<file_source*>(cinfo->src); }

void init_source(j_decompress_ptr) {}

void term_source(j_decompress_ptr) {}

// Past the end the library gets an end-of-image marker, so it finishes with what it has.
boolean fill_input_buffer(j_decompress_ptr cinfo) {
    file_source* source = source_of(cinfo);
    size_t count = std::fread(source->block, 1, block_size, source->file);
    if (count == 0) {
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->block[0] = marker_prefix;
        source->block[1] = end_of_image;
        count = 2;
    }
    source->manager.next_input_byte = source->block;
    source->manager.bytes_in_buffer = count;
    return TRUE;
}

void skip_input_data(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    file_source* source = source_of(cinfo);
    size_t wanted = static_cast<size_t>(count);
    while (wanted > source->manager.bytes_in_buffer) {
        wanted -= source->manager.bytes_in_buffer;
        fill_input_buffer(cinfo);
    }
    source->manager.next_input_byte += wanted;
    source->manager.bytes_in_buffer -= wanted;
}

}  // namespace

void jpeg_file_source(j_decompress_ptr cinfo, FILE* file) {
    if (!cinfo->src || cinfo->src->init_source != init_source) {
        auto* made = static_cast<file_source*>(jpeg_permanent_block(cinfo, sizeof(file_source)));
        made->block = static_cast<JOCTET*>(
            (*cinfo->mem->alloc_large)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, block_size));
        cinfo->src = &made->manager;
    }
    file_source* source = source_of(cinfo);
    jpeg_source_start(source->manager, init_source, fill_input_buffer, skip_input_data, term_source);
    source->file = file;
}
