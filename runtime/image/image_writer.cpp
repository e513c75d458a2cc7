// Pictures written a band of rows at a time into a staged file: the target is replaced
// only once every row and the format's ending were written. The rows are encoded on a
// thread of their own while the caller makes the next band.
#include <memory>
#include <new>

#include "runtime/image/image.h"
#include "runtime/image/row_encoder.h"
#include "runtime/image/staged_file.h"

namespace {

constexpr size_t bgra_bytes = 4;

}  // namespace

struct image_writer {
    explicit image_writer(const char* name) : file(name) {}
    staged_file file;
    std::unique_ptr<row_encoder> encoder;
    int32_t rows_left = 0;
    bool failed = false;
};

namespace {

// Dropping the writer puts the target back as it was; memory is named as the reason after that.
image_writer* lacking_memory(std::unique_ptr<image_writer> writer) {
    writer.reset();
    save_failure_set(image_save_failure::no_memory);
    return nullptr;
}

}  // namespace

image_writer* image_writer_open(const char* name, uint32_t plugin, int32_t width,
                                int32_t height, int32_t pixels_per_inch) try {
    if (!name || width <= 0 || height <= 0 || pixels_per_inch < 0 || (plugin != plugin_png && plugin != plugin_jpeg))
        return nullptr;
    auto writer = std::make_unique<image_writer>(name);
    if (!writer->file.stream()) return nullptr;
    FILE* stream = writer->file.stream();
    auto encoder = plugin == plugin_png ? png_row_encoder(stream, width, height, pixels_per_inch)
                                        : jpeg_row_encoder(stream, width, height, pixels_per_inch);
    if (encoder->failed()) return encoder->lacked_memory() ? lacking_memory(std::move(writer)) : nullptr;
    writer->encoder = in_background(std::move(encoder), size_t(width) * bgra_bytes);
    if (!writer->encoder) return lacking_memory(std::move(writer));
    writer->rows_left = height;
    return writer.release();
} catch (const std::bad_alloc&) {
    save_failure_set(image_save_failure::no_memory);
    return nullptr;
}

int32_t image_writer_rows(image_writer* writer, const uint8_t* rows, int32_t stride,
                          int32_t count) {
    if (!writer || writer->failed || count > writer->rows_left) {
        if (writer) writer->failed = true;
        return 0;
    }
    for (int32_t i = 0; i < count && !writer->failed; ++i)
        writer->failed = !writer->encoder->write_row(rows + ptrdiff_t(i) * stride);
    writer->rows_left -= count;
    return writer->failed ? 0 : 1;
}

int32_t image_writer_close(image_writer* writer, int32_t keep) {
    if (!writer) return 0;
    std::unique_ptr<image_writer> owned(writer);
    if (keep && !owned->failed && !owned->rows_left && owned->encoder->finish()) {
        // The encoder lets go of the stream before the file is committed.
        owned->encoder.reset();
        return owned->file.commit() ? 1 : 0;
    }
    if (owned->encoder->lacked_memory()) lacking_memory(std::move(owned));
    return 0;
}
