// Two threads decoding and drawing the face pictures: decoding a few large photos is most of
// an export's time before its render. The decoders keep their state per thread, and each
// thread draws into the face rectangles it took, which never overlap.
#include "app/faces/face_decoding.h"

#include <system_error>

#include "app/faces/face_atlas.h"
#include "app/faces/face_prefetch.h"
#include "app/faces/print_net.h"

namespace {

// Faces decoded ahead of the caller taking them; one whose picture is left to the caller
// to draw holds it meanwhile, up to some tens of megabytes.
constexpr size_t pictures_waiting = 2;

}  // namespace

face_decoding::face_decoding(int32_t scale, const pixel_target& atlas) : scale_(scale), atlas_(atlas) {
    for (int32_t face = 0; face < face_count; ++face) {
        const char* path = face_picture(face);
        if (!path) continue;
        paths_[face] = path;
        parts_[face] = face_picture_part(face);
        if (is_whole_picture(parts_[face])) continue;
        // One sheet at a time: loading one puts it on every face.
        sheet_path_ = path;
        cover_panel(face, parts_[face], scale_, sheet_width_, sheet_height_);
    }
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
    image_decoded_free(sheet_);
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
    decoded = decode(face);
    return true;
}

void face_decoding::help() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || ready_.size() < pictures_waiting; });
        if (quit_ || next_face_ == face_count) return;
        const int32_t face = next_face_++;
        lock.unlock();
        const decoded_face decoded = decode(face);
        lock.lock();
        ready_.push_back(decoded);
        changed_.notify_all();
    }
}

platform_handle face_decoding::decoded_sheet() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return sheet_state_ != sheet_progress::decoding; });
    if (sheet_state_ == sheet_progress::done) return sheet_;
    sheet_state_ = sheet_progress::decoding;
    lock.unlock();
    int32_t width = sheet_width_, height = sheet_height_;
    sheet_decoding_size(sheet_path_.c_str(), width, height);
    platform_handle sheet = image_decode_sized(sheet_path_.c_str(), width, height, picture_cover::side_by_side);
    lock.lock();
    sheet_ = sheet;
    sheet_state_ = sheet_progress::done;
    changed_.notify_all();
    return sheet_;
}

decoded_face face_decoding::decode(int32_t face) {
    if (paths_[face].empty()) return {face, false, nullptr};
    const face_rectangle& r = face_rectangles[face];
    const int32_t width = r.width * scale_, height = r.height * scale_;
    // A sheet no decoder here takes (BMP) is left to the caller, as such pictures are.
    if (!is_whole_picture(parts_[face]) && paths_[face] == sheet_path_) {
        platform_handle sheet = decoded_sheet();
        const bool drawn = image_stretch_decoded(sheet, atlas_, r.x * scale_, r.y * scale_, width, height, parts_[face]);
        return {face, drawn, nullptr};
    }
    platform_handle picture = face_prefetch_take(paths_[face], width, height);
    if (!picture) picture = image_decode_sized(paths_[face].c_str(), width, height);
    if (!image_stretch_decoded(picture, atlas_, r.x * scale_, r.y * scale_, width, height))
        return {face, false, picture};
    image_decoded_free(picture);
    return {face, true, nullptr};
}
