// The chosen face pictures of an export, decoded two at a time at the size they will be
// drawn at: a helper thread and the caller take faces in turn, and the caller gets each
// picture as soon as it is there, to draw it while the next ones are decoded.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "app/face_rectangles.h"
#include "runtime/core/core.h"

struct decoded_face {
    int32_t face;
    // Null when the face has no picture, or its picture is one only image_load_sized reads
    // (or none can read); otherwise the caller gives it back with image_decoded_free.
    platform_handle picture;
};

class face_decoding {
public:
    // `scale`: the export's atlas is that many times the stored one's size.
    explicit face_decoding(int32_t scale);
    ~face_decoding();
    face_decoding(const face_decoding&) = delete;
    face_decoding& operator=(const face_decoding&) = delete;

    // The next face, decoded by the helper or else here; false once every face was given.
    bool next(decoded_face& decoded);

private:
    void help();
    platform_handle decode(int32_t face) const;

    const int32_t scale_;
    std::string paths_[face_count];
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<decoded_face> ready_;
    int32_t next_face_ = 0;
    int32_t given_ = 0;
    bool quit_ = false;
    std::thread helper_;
};
