// libjpeg source manager over a block in memory, bounded by the block's real length, so
// that damaged or cut-short data never leads the library outside the block.
// Relies on libjpeg's source-manager interface and its permanent memory pool.
#include "runtime/image/jpeg_glue.h"

namespace {

constexpr JOCTET marker_prefix = 0xFF;
constexpr JOCTET end_of_image = 0xD9;
constexpr size_t end_marker_size = 2;

struct memory_source {
    jpeg_source_mgr manager;
    const JOCTET* data;
    size_t remaining;
    JOCTET* eoi_buffer;
};

memory_source* source_of(j_decompress_ptr cinfo) {
    return reinterpret_cast<memory_source*>(cinfo->src);
}

void init_source(j_decompress_ptr) {}

void term_source(j_decompress_ptr) {}

// Past the end the library gets an end-of-image marker, so it finishes with what it has.
void supply_end_marker(j_decompress_ptr cinfo) {
    memory_source* source = source_of(cinfo);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->eoi_buffer[0] = marker_prefix;
    source->eoi_buffer[1] = end_of_image;
    source->manager.next_input_byte = source->eoi_buffer;
    source->manager.bytes_in_buffer = end_marker_size;
}

// Never suspends: the whole block goes at once, then end markers.
boolean fill_input_buffer(j_decompress_ptr cinfo) {
    memory_source* source = source_of(cinfo);
    if (source->remaining == 0) {
        supply_end_marker(cinfo);
        return TRUE;
    }
    source->manager.next_input_byte = source->data;
    source->manager.bytes_in_buffer = source->remaining;
    source->data += source->remaining;
    source->remaining = 0;
    return TRUE;
}

void skip_input_data(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    memory_source* source = source_of(cinfo);
    size_t wanted = static_cast<size_t>(count);
    while (wanted > source->manager.bytes_in_buffer) {
        // A skip beyond the block lands on one end marker instead of refilling in a loop.
        if (source->remaining == 0) {
            supply_end_marker(cinfo);
            return;
        }
        wanted -= source->manager.bytes_in_buffer;
        fill_input_buffer(cinfo);
    }
    source->manager.next_input_byte += wanted;
    source->manager.bytes_in_buffer -= wanted;
}

}  // namespace

void jpeg_memory_source(j_decompress_ptr cinfo, const uint8_t* data, size_t length) {
    // Made once per decompression object; a source of another kind left there is replaced.
    if (!cinfo->src || cinfo->src->init_source != init_source) {
        auto* made = static_cast<memory_source*>(jpeg_permanent_block(cinfo, sizeof(memory_source)));
        made->eoi_buffer = static_cast<JOCTET*>(jpeg_permanent_block(cinfo, end_marker_size));
        cinfo->src = &made->manager;
    }
    memory_source* source = source_of(cinfo);
    jpeg_source_start(source->manager, init_source, fill_input_buffer, skip_input_data, term_source);
    source->data = data;
    source->remaining = length;
}
