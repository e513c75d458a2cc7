// A print sheet's panels stretched from one decoding of the sheet, which runs on a thread of
// its own from the start: meanwhile the caller reads the atlas, then stretches each panel as
// soon as the decoder has passed its rows, and the thread joins in once the sheet is decoded
// and frees it at the end. So stretching, reading the atlas and freeing the sheet mostly hide
// behind the decoding.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "app/faces/face_rectangles.h"
#include "runtime/image/image.h"

struct sheet_panel {
    picture_part part;
    pixel_target target;
    bool drawn;  // answered: the whole panel was stretched into its target
};

class sheet_stretching {
public:
    // Starts decoding the sheet at `path` for at least width x height, side by side.
    sheet_stretching(const std::string& path, int32_t width, int32_t height);
    // Waits for the thread, which may still be freeing the sheet.
    ~sheet_stretching();
    sheet_stretching(const sheet_stretching&) = delete;
    sheet_stretching& operator=(const sheet_stretching&) = delete;

    const std::string& path() const { return path_; }
    // Stretches each panel's part of the sheet over its whole target; returns once every panel
    // is drawn or failed. Once only.
    void stretch(sheet_panel* panels, int32_t count);

private:
    static void rows_done(void* context, platform_handle picture, int32_t rows, int32_t height);
    void decode_then_help();
    void decode();
    void stretch_taken_panels();
    void stretch_panel(sheet_panel& panel);
    int32_t lines_ready(const sheet_panel& panel) const;

    const std::string path_;
    const int32_t width_, height_wanted_;
    std::mutex mutex_;
    std::condition_variable changed_;
    sheet_panel* panels_ = nullptr;
    int32_t count_ = 0;
    int32_t order_[face_count] = {};
    int32_t next_panel_ = 0;
    int32_t finished_ = 0;
    bool quit_ = false;
    platform_handle picture_ = nullptr;  // the sheet while it is decoded
    int32_t rows_ = 0;
    int32_t height_ = 0;
    platform_handle sheet_ = nullptr;  // the sheet once decoded, null when it could not be
    bool decoded_ = false;
    std::thread thread_;
};
