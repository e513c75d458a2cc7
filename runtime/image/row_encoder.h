// Encoders that take a picture a row at a time, top row first, for pictures too large to
// hold whole. Rows are 32-bit B, G, R, A with straight alpha. Host-neutral.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

class row_encoder {
public:
    virtual ~row_encoder() = default;
    // False once the encoder failed; every later call fails too.
    virtual bool write_row(const uint8_t* row) = 0;
    // Writes what follows the last row.
    virtual bool finish() = 0;
    bool failed() const { return failed_; }
    // The failure was for lack of memory, not of the file.
    bool lacked_memory() const { return lacked_memory_; }

protected:
    bool fail() {
        failed_ = true;
        return false;
    }
    bool fail_for_lack_of_memory() {
        lacked_memory_ = true;
        return fail();
    }
    bool failed_ = false;
    bool lacked_memory_ = false;
};

// PNG, 8 bits per channel with alpha, every row Paeth-filtered and run-length deflated.
// Either encoder has failed from the start when its library could not start.
std::unique_ptr<row_encoder> png_row_encoder(FILE* stream, int32_t width, int32_t height, int32_t pixels_per_inch);
// JPEG of quality 100 with full-resolution colour; the alpha is dropped.
std::unique_ptr<row_encoder> jpeg_row_encoder(FILE* stream, int32_t width, int32_t height, int32_t pixels_per_inch);
// The same rows encoded by `encoder` on a thread of its own, rows of `row_bytes` each; null
// when `encoder` is null or the thread cannot start.
std::unique_ptr<row_encoder> in_background(std::unique_ptr<row_encoder> encoder, size_t row_bytes);
