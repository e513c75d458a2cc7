// The spin as a looping animated WebP: each frame's rows, as a set renders them, shrunk to
// the animation's size and encoded on a thread of its own while the next frame renders.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

constexpr int32_t spin_animation_size = 800;
constexpr int32_t spin_turn_ms = 3000;  // one whole turn

class spin_animation {
public:
    // `source_size`: the frames' side in pixels.
    spin_animation(int32_t source_size, int32_t frames);
    ~spin_animation();
    spin_animation(const spin_animation&) = delete;
    spin_animation& operator=(const spin_animation&) = delete;

    // Rows of frame `frame`, B, G, R, A, in order from the top; a frame is handed on with its
    // last row.
    void take_rows(int32_t frame, int32_t first, int32_t count, const uint32_t* rows, int32_t pitch);
    // Waits for every frame and writes the animation; false when it could not be made or written.
    bool write(const char* path);

private:
    void encode_all();
    void encode(const std::vector<uint32_t>& frame, int32_t index);

    const int32_t source_size_, frames_;
    std::vector<uint32_t> filling_;  // the frame whose rows arrive now
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::vector<uint32_t>> waiting_;
    std::vector<std::vector<uint32_t>> spare_;
    int32_t encoded_ = 0;
    bool failed_ = false, closing_ = false;
    struct WebPAnimEncoder* encoder_ = nullptr;
    std::thread worker_;  // last: it starts once everything it uses is there
};
