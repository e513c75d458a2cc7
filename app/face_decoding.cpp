// Two threads decoding the face pictures: decoding a few large photos is most of an
// export's time before its render, and the decoders keep their state per thread.
#include "app/face_decoding.h"

#include <system_error>

#include "app/face_atlas.h"
#include "runtime/image/image.h"

namespace {

// Pictures decoded ahead of the caller's drawing; each is up to some tens of megabytes.
constexpr size_t pictures_waiting = 2;

}  // namespace

face_decoding::face_decoding(int32_t scale) : scale_(scale) {
    for (int32_t face = 0; face < face_count; ++face)
        if (const char* path = face_picture(face)) paths_[face] = path;
    try {
        helper_ = std::thread([this] { help(); });
    } catch (const std::system_error&) {
        // Without a helper the caller decodes every face itself.
    }
}

face_decoding::~face_decoding() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (helper_.joinable()) helper_.join();
    for (const decoded_face& left : ready_) image_decoded_free(left.picture);
}

bool face_decoding::next(decoded_face& decoded) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (given_ == face_count) return false;
    // The faces not yet given are waiting, or the helper is decoding the last of them.
    if (next_face_ == face_count) changed_.wait(lock, [this] { return !ready_.empty(); });
    ++given_;
    if (!ready_.empty()) {
        decoded = ready_.front();
        ready_.pop_front();
        changed_.notify_all();
        return true;
    }
    const int32_t face = next_face_++;
    lock.unlock();
    decoded = {face, decode(face)};
    return true;
}

void face_decoding::help() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || ready_.size() < pictures_waiting; });
        if (quit_ || next_face_ == face_count) return;
        const int32_t face = next_face_++;
        lock.unlock();
        const decoded_face decoded{face, decode(face)};
        lock.lock();
        ready_.push_back(decoded);
        changed_.notify_all();
    }
}

platform_handle face_decoding::decode(int32_t face) const {
    if (paths_[face].empty()) return nullptr;
    const face_rectangle& rectangle = face_rectangles[face];
    return image_decode_sized(paths_[face].c_str(), rectangle.width * scale_, rectangle.height * scale_);
}
