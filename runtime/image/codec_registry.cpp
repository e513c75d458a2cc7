// The codec registry: decoders tried in the order they were registered, encoders found
// by plugin id, and the step from an accepted picture to a bitmap.
#include <algorithm>

#include "runtime/image/decode_progress.h"
#include "runtime/image/image_internal.h"
#include "runtime/image/staged_file.h"

namespace {

constexpr int32_t registry_capacity = 100;

struct codec_registry {
    const image_decoder* decoders[registry_capacity];
    int32_t decoder_count;
    const image_encoder* encoders[registry_capacity];
    int32_t encoder_count;
};

codec_registry registry;
// The picture being decoded, one per thread like the decoders' own state: the codecs are
// registered once at start, and then any thread may decode.
thread_local const image_decoder* current_decoder;
thread_local FILE* current_file;
thread_local const decode_progress* followed_progress;

void close_current_file() {
    if (current_file) std::fclose(current_file);
    current_file = nullptr;
}

// Each format registers once, however often its register operation runs.
void add_decoder_once(const image_decoder& decoder) {
    const image_decoder** end = registry.decoders + registry.decoder_count;
    if (std::find(registry.decoders, end, &decoder) == end) decoder_register(&decoder);
}

void add_encoder_once(const image_encoder& encoder) {
    const image_encoder** end = registry.encoders + registry.encoder_count;
    if (std::find(registry.encoders, end, &encoder) == end) encoder_register(&encoder);
}

int32_t probe_memory(const uint8_t* address, size_t size) {
    for (int32_t i = 0; i < registry.decoder_count; ++i) {
        int32_t answer = registry.decoders[i]->probe(nullptr, nullptr, address, size);
        if (answer == probe_refused) continue;
        current_decoder = registry.decoders[i];
        return answer;
    }
    return probe_refused;
}

int32_t probe_file(const char* name) {
    current_file = image_open_for_reading(name);
    if (!current_file) return probe_refused;
    for (int32_t i = 0; i < registry.decoder_count; ++i) {
        std::fseek(current_file, 0, SEEK_SET);
        int32_t answer = registry.decoders[i]->probe(current_file, name, nullptr, 0);
        if (answer == probe_refused) continue;
        current_decoder = registry.decoders[i];
        return answer;
    }
    close_current_file();
    return probe_refused;
}

// The decoders that read a size from the header alone, in probe order; false when none
// took the file, which then goes through the probes.
bool measure_file(const char* name, int32_t* width, int32_t* height) {
    FILE* file = image_open_for_reading(name);
    if (!file) return false;
    bool measured = false;
    for (int32_t i = 0; i < registry.decoder_count && !measured; ++i) {
        if (!registry.decoders[i]->measure) continue;
        std::fseek(file, 0, SEEK_SET);
        measured = registry.decoders[i]->measure(file, name, width, height);
    }
    std::fclose(file);
    return measured;
}

// A picture with nowhere to go still has its decoder's state freed: file copies, library
// structures and open file handles would otherwise stay held until the next probe.
void release_current_decoder() { current_decoder->decode(nullptr, 0); }

// Decoders write top-down rows; a display-compatible bitmap takes them through SetDIBits.
HBITMAP decode_display_compatible(const BITMAPINFO& info, int32_t stride) {
    int32_t width = info.bmiHeader.biWidth, height = -info.bmiHeader.biHeight;
    owned_dc display(display_dc());
    heap_block buffer(size_t(height + 1) * size_t(stride));
    if (!display.get() || !buffer.get()) {
        release_current_decoder();
        return nullptr;
    }
    current_decoder->decode(buffer.get(), stride);
    HBITMAP bitmap = CreateCompatibleBitmap(display.get(), width, height);
    owned_dc dc(CreateCompatibleDC(nullptr));
    if (bitmap) SetDIBits(dc.get(), bitmap, 0, height, buffer.get(), &info, DIB_RGB_COLORS);
    return bitmap;
}

// A DIB section of RGB colours needs no device context: opening the display for one costs
// most of a millisecond a picture.
HBITMAP decode_dib_section(const BITMAPINFO& info, int32_t stride) {
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        release_current_decoder();
        return nullptr;
    }
    // The caller may use the rows as they come; it is told the end whatever the decode says.
    const int32_t height = -info.bmiHeader.biHeight;
    decoder_progress_follow(followed_progress, bitmap, height);
    current_decoder->decode(static_cast<uint8_t*>(bits), stride);
    decoder_rows_done(height);
    decoder_progress_follow(nullptr, nullptr, 0);
    return bitmap;
}

}  // namespace

void codec_registry_reset() {
    registry.decoder_count = 0;
    current_decoder = nullptr;
    close_current_file();
}

void decoder_register(const image_decoder* decoder) {
    if (registry.decoder_count < registry_capacity) registry.decoders[registry.decoder_count++] = decoder;
}

void encoder_register(const image_encoder* encoder) {
    if (registry.encoder_count < registry_capacity) registry.encoders[registry.encoder_count++] = encoder;
}

void jpeg_decoder_register() { add_decoder_once(jpeg_decoder); }
void jpeg_encoder_register() { add_encoder_once(jpeg_encoder); }
void png_decoder_register() { add_decoder_once(png_decoder); }
void tga_decoder_register() { add_decoder_once(tga_decoder); }
void tiff_decoder_register() { add_decoder_once(tiff_decoder); }

int32_t decoder_probe(const char* name, const uint8_t* address, size_t size) {
    close_current_file();
    current_decoder = nullptr;
    return address ? probe_memory(address, size) : probe_file(name);
}

bool decoder_picture_size(const char* name, int32_t* width, int32_t* height) {
    if (measure_file(name, width, height)) return true;
    if (!decoder_probe(name, nullptr, 0)) return false;
    *width = current_decoder->get_width();
    *height = current_decoder->get_height();
    release_current_decoder();
    close_current_file();
    return true;
}

HBITMAP decoder_decode_bitmap(int32_t probe_result, int32_t flags) {
    int32_t width = current_decoder->get_width();
    int32_t height = current_decoder->get_height();
    int32_t stride = decoder_row_stride(probe_result, width);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = probe_result == probe_bgra32 ? 32 : 24;

    HBITMAP bitmap = (flags & image_display_compatible) ? decode_display_compatible(info, stride)
                                                        : decode_dib_section(info, stride);
    close_current_file();
    return bitmap;
}

int32_t encoder_save(const char* name, const uint8_t* buffer, uint32_t plugin, int32_t width,
                     int32_t height, int32_t stride, int32_t flags) {
    save_failure_clear();
    for (int32_t i = 0; i < registry.encoder_count; ++i) {
        if (registry.encoders[i]->id == plugin)
            return registry.encoders[i]->encode(name, buffer, width, height, stride, flags);
    }
    return 0;
}

void decoder_follow_rows(const decode_progress* progress) { followed_progress = progress; }

void decoder_want_size(const wanted_size& wanted) {
    for (int32_t i = 0; i < registry.decoder_count; ++i)
        if (registry.decoders[i]->want_size) registry.decoders[i]->want_size(wanted);
}

void decoder_turn_upright(bool upright) {
    for (int32_t i = 0; i < registry.decoder_count; ++i)
        if (registry.decoders[i]->turn_upright) registry.decoders[i]->turn_upright(upright);
}
