// The spin as a looping animated WebP: each frame, once its file is written, shrunk to the
// animation's size and encoded on a thread of its own while the next frames render.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "app/export/write_failure.h"

constexpr int32_t spin_animation_size = 800;
constexpr int32_t spin_turn_ms = 3000;  // one whole turn

class spin_animation {
public:
    explicit spin_animation(int32_t frames);
    ~spin_animation();
    spin_animation(const spin_animation&) = delete;
    spin_animation& operator=(const spin_animation&) = delete;

    // False when the encoding thread could not be started: no frame may be handed over then.
    bool started() const { return worker_.joinable(); }
    // The frames in order: `size` rows of `size` B, G, R, A pixels each.
    void take_frame(const uint32_t* pixels, int32_t size);
    // Waits for every frame and writes the animation; an encoder that failed counts as
    // no_memory, which is what stops libwebp on sane input.
    write_failure write(const char* path);

private:
    void encode_all();
    void encode(const std::vector<uint32_t>& frame, int32_t index);

    const int32_t frames_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::vector<uint32_t>> waiting_;  // shrunk already
    int32_t encoded_ = 0;
    bool failed_ = false, closing_ = false;
    struct WebPAnimEncoder* encoder_ = nullptr;
    std::thread worker_;  // started last, once everything it uses is there
};
