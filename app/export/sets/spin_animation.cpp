// Frames are shrunk, on the thread that hands them over, by averaging each output pixel's source pixels weighted by their alpha, so
// that a transparent set's edges keep no dark fringe, then encoded lossy with their alpha as
// key frames by libwebp's animation encoder, which assembles the looping file at the end.
#include "app/export/sets/spin_animation.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <system_error>

namespace {

constexpr float webp_quality = 80;
constexpr int webp_method = 1;  // several times faster than the default 4, a little larger
constexpr size_t frames_waiting_at_most = 4;

// B, G, R, A of `source` (size x size) averaged into `target` (spin_animation_size square).
void shrink(const uint32_t* source, int32_t size, std::vector<uint32_t>& target) {
    const int32_t out = spin_animation_size;
    target.assign(size_t(out) * out, 0);
    for (int32_t oy = 0; oy < out; ++oy) {
        const int32_t y0 = oy * size / out, y1 = std::max(y0 + 1, (oy + 1) * size / out);
        for (int32_t ox = 0; ox < out; ++ox) {
            const int32_t x0 = ox * size / out, x1 = std::max(x0 + 1, (ox + 1) * size / out);
            uint32_t b = 0, g = 0, r = 0, a = 0, n = 0;
            for (int32_t y = y0; y < y1; ++y)
                for (int32_t x = x0; x < x1; ++x, ++n) {
                    const uint32_t p = source[size_t(y) * size + x], alpha = p >> 24;
                    b += (p & 0xFF) * alpha, g += (p >> 8 & 0xFF) * alpha, r += (p >> 16 & 0xFF) * alpha;
                    a += alpha;
                }
            if (a == 0) continue;
            target[size_t(oy) * out + ox] =
                (a + n / 2) / n << 24 | (r + a / 2) / a << 16 | (g + a / 2) / a << 8 | (b + a / 2) / a;
        }
    }
}

}  // namespace

// A process short of address space may refuse another thread; the set then stops before its
// first frame rather than ending the program.
spin_animation::spin_animation(int32_t frames) : frames_(frames) {
    try {
        worker_ = std::thread([this] { encode_all(); });
    } catch (const std::system_error&) {
        // started() answers false, and no frame is handed over
    }
}

spin_animation::~spin_animation() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        closing_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
    if (encoder_) WebPAnimEncoderDelete(encoder_);
}

void spin_animation::take_frame(const uint32_t* pixels, int32_t size) {
    std::vector<uint32_t> small;
    shrink(pixels, size, small);
    {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [this] { return waiting_.size() < frames_waiting_at_most || failed_; });
        waiting_.push_back(std::move(small));
    }
    changed_.notify_all();
}

void spin_animation::encode_all() {
    WebPAnimEncoderOptions options;
    if (WebPAnimEncoderOptionsInit(&options)) {
        options.anim_params.loop_count = 0;  // for ever
        options.anim_params.bgcolor = 0xFFFFFFFF;
        options.kmax = 1;  // every frame whole: a turning box changes nearly every pixel it covers
        encoder_ = WebPAnimEncoderNew(spin_animation_size, spin_animation_size, &options);
    }
    for (int32_t index = 0;; ++index) {
        std::vector<uint32_t> frame;
        {
            std::unique_lock<std::mutex> hold(lock_);
            changed_.wait(hold, [this] { return !waiting_.empty() || closing_; });
            if (waiting_.empty()) return;
            frame = std::move(waiting_.front());
            waiting_.pop_front();
        }
        changed_.notify_all();
        encode(frame, index);
        std::lock_guard<std::mutex> hold(lock_);
        ++encoded_;
        changed_.notify_all();
    }
}

void spin_animation::encode(const std::vector<uint32_t>& frame, int32_t index) {
    if (failed_) return;
    WebPConfig config;
    WebPPicture picture;
    bool done = encoder_ && WebPConfigInit(&config) && WebPPictureInit(&picture);
    if (done) {
        config.quality = webp_quality;
        config.method = webp_method;
        picture.use_argb = 1;
        picture.width = picture.height = spin_animation_size;
        done = WebPPictureImportBGRA(&picture, reinterpret_cast<const uint8_t*>(frame.data()), spin_animation_size * 4) &&
               WebPAnimEncoderAdd(encoder_, &picture, index * spin_turn_ms / frames_, &config);
        WebPPictureFree(&picture);
    }
    if (!done) {
        std::lock_guard<std::mutex> hold(lock_);
        failed_ = true;
    }
}

write_failure spin_animation::write(const char* path) {
    {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [this] { return encoded_ == frames_ || failed_; });
        if (failed_) return write_failure::no_memory;
    }
    WebPData data;
    WebPDataInit(&data);
    write_failure failure = WebPAnimEncoderAdd(encoder_, nullptr, spin_turn_ms, nullptr) &&
                                    WebPAnimEncoderAssemble(encoder_, &data)
                                ? write_file_bytes(path, data.bytes, data.size)
                                : write_failure::no_memory;
    WebPDataClear(&data);
    return failure;
}
