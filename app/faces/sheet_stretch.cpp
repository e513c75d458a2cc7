// Panels stretched while their sheet is still decoding. The stretch's rows depend on their
// source rows only, so a panel is drawn a band of target rows at a time, each band once the
// decoder has passed the source rows it reads; the pixels are those of one whole stretch.
#include "app/faces/sheet_stretch.h"

#include <algorithm>
#include <cmath>
#include <system_error>

namespace {

// A band's stretch builds its filters for the whole panel: bands of fewer rows cost more
// than they hide.
constexpr int32_t lines_together = 32;

}  // namespace

sheet_stretching::sheet_stretching(const std::string& path, int32_t width, int32_t height)
    : path_(path), width_(width), height_wanted_(height) {
    try {
        thread_ = std::thread([this] { decode_then_help(); });
    } catch (const std::system_error&) {
        // Without the thread, stretch decodes first and then stretches every panel itself.
    }
}

sheet_stretching::~sheet_stretching() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    image_decoded_free(sheet_);
}

void sheet_stretching::stretch(sheet_panel* panels, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        panels[i].drawn = false;
        order_[i] = i;
    }
    // The panels the decoder passes first are taken first.
    std::sort(order_, order_ + count, [&](int32_t a, int32_t b) { return panels[a].part.bottom < panels[b].part.bottom; });
    {
        std::lock_guard<std::mutex> lock(mutex_);
        panels_ = panels;
        count_ = count;
    }
    changed_.notify_all();
    if (!thread_.joinable()) decode();
    stretch_taken_panels();
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return finished_ == count_; });
}

void sheet_stretching::decode_then_help() {
    decode();
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return quit_ || panels_; });
    if (quit_) return;
    lock.unlock();
    stretch_taken_panels();
    lock.lock();
    changed_.wait(lock, [this] { return finished_ == count_; });
    platform_handle sheet = sheet_;
    sheet_ = nullptr;
    lock.unlock();
    image_decoded_free(sheet);
}

void sheet_stretching::decode() {
    const decode_progress progress = {rows_done, this};
    platform_handle sheet = image_decode_sized(path_.c_str(), width_, height_wanted_, picture_cover::side_by_side, &progress);
    std::lock_guard<std::mutex> lock(mutex_);
    sheet_ = sheet;
    decoded_ = true;
    changed_.notify_all();
}

void sheet_stretching::rows_done(void* context, platform_handle picture, int32_t rows, int32_t height) {
    auto* self = static_cast<sheet_stretching*>(context);
    std::lock_guard<std::mutex> lock(self->mutex_);
    self->picture_ = picture;
    self->rows_ = rows;
    self->height_ = height;
    self->changed_.notify_all();
}

// Panels in turn, each taken by one thread only.
void sheet_stretching::stretch_taken_panels() {
    for (;;) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (next_panel_ == count_) return;
        sheet_panel& panel = panels_[order_[next_panel_++]];
        lock.unlock();
        stretch_panel(panel);
        lock.lock();
        ++finished_;
        changed_.notify_all();
    }
}

// Target rows of the panel whose source rows are all decoded: a target row reads the source
// rows it covers and, enlarging, the one below (one more kept for rounding).
int32_t sheet_stretching::lines_ready(const sheet_panel& panel) const {
    if (decoded_) return panel.target.height;
    if (height_ <= 0) return 0;
    const double top = std::floor(panel.part.top * height_ + 0.5);
    const double rows = std::floor(panel.part.bottom * height_ + 0.5) - top;
    if (rows <= 0) return 0;
    const double ready = std::floor((rows_ - top - 2) / (rows / panel.target.height));
    return int32_t(std::clamp(ready, 0.0, double(panel.target.height)));
}

void sheet_stretching::stretch_panel(sheet_panel& panel) {
    int32_t drawn = 0;
    bool stretched = true;
    while (drawn < panel.target.height && stretched) {
        std::unique_lock<std::mutex> lock(mutex_);
        const int32_t wanted = std::min(drawn + lines_together, panel.target.height);
        changed_.wait(lock, [&] { return lines_ready(panel) >= wanted; });
        const int32_t ready = lines_ready(panel);
        platform_handle picture = decoded_ ? sheet_ : picture_;
        lock.unlock();
        pixel_target band = panel.target;
        band.top_row += ptrdiff_t(drawn) * band.pitch;
        band.height = ready - drawn;
        stretched = image_stretch_decoded(picture, band, 0, -drawn, panel.target.width, panel.target.height, panel.part);
        drawn = ready;
    }
    panel.drawn = stretched;
}
