// The decoded pictures wait under a lock until the export takes them. The state is never
// freed and the thread is detached: the program may end while a picture is still decoded.
#include "app/faces/face_prefetch.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>


namespace {

// A picture not yet begun is left to whoever asks for it first: the export's own decoding
// threads then work beside this one rather than wait for it.
enum class progress { waiting, decoding, decoded, taken };

struct prefetched {
    prefetch_request request;
    platform_handle picture = nullptr;
    progress state = progress::waiting;
};

struct prefetch_state {
    std::mutex mutex;
    std::condition_variable decoded;
    std::vector<prefetched> pictures;
};

prefetch_state* state = nullptr;

void decode_all(prefetch_state* work) {
    for (prefetched& entry : work->pictures) {
        prefetch_request request;
        {
            std::lock_guard<std::mutex> lock(work->mutex);
            if (entry.state != progress::waiting) continue;
            entry.state = progress::decoding;
            request = entry.request;
        }
        platform_handle picture = image_decode_sized(request.path.c_str(), request.width, request.height);
        std::lock_guard<std::mutex> lock(work->mutex);
        entry.picture = picture;
        entry.state = progress::decoded;
        work->decoded.notify_all();
    }
}

}  // namespace

void face_prefetch_start(const prefetch_request* requests, int32_t count) {
    if (state || count <= 0) return;
    auto* work = new prefetch_state;
    for (int32_t i = 0; i < count; ++i) work->pictures.push_back({requests[i]});
    try {
        std::thread(decode_all, work).detach();
    } catch (const std::system_error&) {
        // Without the thread every picture is decoded when the export needs it.
        delete work;
        return;
    }
    state = work;
}

platform_handle face_prefetch_take(const std::string& path, int32_t width, int32_t height) {
    if (!state) return nullptr;
    std::unique_lock<std::mutex> lock(state->mutex);
    for (prefetched& entry : state->pictures) {
        const prefetch_request& r = entry.request;
        if (entry.state == progress::taken || r.path != path || r.width != width || r.height != height)
            continue;
        state->decoded.wait(lock, [&] { return entry.state != progress::decoding; });
        const bool ready = entry.state == progress::decoded;
        entry.state = progress::taken;
        return ready ? entry.picture : nullptr;
    }
    return nullptr;
}
