// Pictures written a band of rows at a time into a staged file: the target is replaced
// only once every row and the format's ending were written.
#include <memory>
#include <new>

#include "runtime/image/image.h"
#include "runtime/image/row_encoder.h"
#include "runtime/image/staged_file.h"

struct image_writer {
    explicit image_writer(const char* name) : file(name) {}
    staged_file file;
    std::unique_ptr<row_encoder> encoder;
    int32_t rows_left = 0;
    bool failed = false;
};

// Without memory for the encoder's state there is no writer, as without a file.
image_writer* image_writer_open(const char* name, uint32_t plugin, int32_t width,
                                int32_t height) try {
    if (!name || width <= 0 || height <= 0 || (plugin != plugin_png && plugin != plugin_jpeg))
        return nullptr;
    auto writer = std::make_unique<image_writer>(name);
    if (!writer->file.stream()) return nullptr;
    writer->encoder = plugin == plugin_png ? png_row_encoder(writer->file.stream(), width, height)
                                           : jpeg_row_encoder(writer->file.stream(), width, height);
    if (!writer->encoder) return nullptr;
    writer->rows_left = height;
    return writer.release();
} catch (const std::bad_alloc&) {
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
    if (!keep || owned->failed || owned->rows_left || !owned->encoder->finish()) return 0;
    // The encoder lets go of the stream before the file is committed.
    owned->encoder.reset();
    return owned->file.commit() ? 1 : 0;
}
