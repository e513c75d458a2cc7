#include "app/export/sets/written_behind.h"

#include <system_error>

#include "runtime/image/image.h"

bool written_behind::start(const std::string& path, int32_t file, std::vector<uint32_t>& pixels) {
    pixels_.swap(pixels);
    failure_ = export_failure::none;
    try {
        worker_ = std::thread([this, path, file] { write(path, file); });
        return true;
    } catch (const std::system_error&) {
        pixels_.swap(pixels);
        return false;
    }
}

export_failure written_behind::finish() {
    if (worker_.joinable()) worker_.join();
    return failure_;
}

void written_behind::write(const std::string& path, int32_t file) {
    const int32_t size = type_.size, pitch = size * 4;
    image_writer* writer = image_writer_open(path.c_str(), type_.plugin, size, size, type_.pixels_per_inch);
    if (!writer) {
        failure_ = export_failure::not_written;
        return;
    }
    const bool rows = image_writer_rows(writer, reinterpret_cast<const uint8_t*>(pixels_.data()), pitch, size) == 1;
    if (image_writer_close(writer, rows) != 1 || !rows) {
        failure_ = export_failure::not_written;
        return;
    }
    if (seen_) seen_(file, pixels_.data(), size, context_);
}
