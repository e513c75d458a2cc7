// Shared body of the decoder fuzz targets: the memory form of the registry's probe and
// decode, into a zero-filled buffer of exactly stride x height bytes. Linux only (mmap).
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/image/image.h"

// ASan fills shadow memory for every large allocation and release, which made headers that
// announce big pictures cost a tenth of a second each. Pictures past this size go into a
// mapping instead, ending exactly at an inaccessible page so an overrun still faults.
constexpr size_t fuzz_heap_picture_limit = size_t(1) << 20;

class fuzz_picture_buffer {
public:
    explicit fuzz_picture_buffer(size_t size) {
        if (size <= fuzz_heap_picture_limit) {
            data_ = static_cast<uint8_t*>(calloc(size, 1));
            return;
        }
        size_t page = size_t(sysconf(_SC_PAGESIZE));
        size_t span = (size + page - 1) / page * page;
        mapping_size_ = span + 2 * page;
        mapping_ = mmap(nullptr, mapping_size_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapping_ == MAP_FAILED) abort();
        auto* usable = static_cast<uint8_t*>(mapping_) + page;
        if (mprotect(usable, span, PROT_READ | PROT_WRITE) != 0) abort();
        data_ = usable + span - size;
    }
    ~fuzz_picture_buffer() {
        if (mapping_) {
            munmap(mapping_, mapping_size_);
        } else {
            free(data_);
        }
    }
    fuzz_picture_buffer(const fuzz_picture_buffer&) = delete;
    fuzz_picture_buffer& operator=(const fuzz_picture_buffer&) = delete;
    uint8_t* data() const { return data_; }

private:
    uint8_t* data_ = nullptr;
    void* mapping_ = nullptr;
    size_t mapping_size_ = 0;
};

// Allocations past 64 MiB fail, as they soon would in a 32-bit process; the decoders must
// cope, and inputs announcing huge pictures stay fast.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:max_allocation_size_mb=64";
}

// The header read from a stream, as a picture's size is measured.
inline void fuzz_measure(const image_decoder& decoder, const uint8_t* data, size_t size) {
    FILE* file = size > 0 ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : nullptr;
    if (!file) return;
    int32_t width = 0, height = 0;
    decoder.measure(file, nullptr, &width, &height);
    fclose(file);
}

// Every other input is decoded for a small wanted size, which reducing decoders take
// while reading their rows.
inline int fuzz_decoder(const image_decoder& decoder, const uint8_t* data, size_t size) {
    if (decoder.measure) fuzz_measure(decoder, data, size);
    const bool sized = size % 2 == 1;
    if (decoder.want_size) decoder.want_size(sized ? wanted_size{7, 5, picture_cover::side_by_side} : own_size);
    int32_t answer = decoder.probe(nullptr, nullptr, data, size);
    if (answer == probe_refused) return 0;
    int32_t width = decoder.get_width();
    int32_t height = decoder.get_height();
    if (!picture_size_acceptable(width, height, answer == probe_bgra32 ? 4 : 3)) abort();  // the probe vouched
    int32_t stride = decoder_row_stride(answer, width);
    fuzz_picture_buffer buffer(size_t(stride) * size_t(height));
    if (!buffer.data()) abort();
    decoder.decode(buffer.data(), stride);
    return 0;
}
