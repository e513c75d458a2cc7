// The chosen face pictures of an export, decoded two at a time at the size they will be
// drawn at and drawn into the export's atlas by the thread that decoded them: a helper
// thread and the caller take faces in turn.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "app/faces/face_rectangles.h"
#include "runtime/image/image.h"

struct decoded_face {
    int32_t face;
    bool drawn;  // into the atlas already
    // Not drawn: null when the face has no picture, or its picture is one only
    // image_load_sized reads (or none can read); else a picture for draw_image, which the
    // caller gives back with image_decoded_free.
    platform_handle picture;
};

class face_decoding {
public:
    // `scale`: the export's atlas is that many times the stored one's size. Nothing else
    // may draw into `atlas` until every face was given.
    face_decoding(int32_t scale, const pixel_target& atlas);
    ~face_decoding();
    face_decoding(const face_decoding&) = delete;
    face_decoding& operator=(const face_decoding&) = delete;

    // The next face, decoded by the helper or else here; false once every face was given.
    bool next(decoded_face& decoded);

private:
    void help();
    decoded_face decode(int32_t face);
    platform_handle decoded_sheet();

    const int32_t scale_;
    const pixel_target atlas_;
    std::string paths_[face_count];
    picture_part parts_[face_count];
    // The print sheet the faces with a part show, decoded once by the first thread to need it.
    std::string sheet_path_;
    int32_t sheet_width_ = 0, sheet_height_ = 0;
    platform_handle sheet_ = nullptr;
    enum class sheet_progress { waiting, decoding, done } sheet_state_ = sheet_progress::waiting;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<decoded_face> ready_;
    int32_t next_face_ = 0;
    int32_t given_ = 0;
    bool quit_ = false;
    std::thread helper_;
};
