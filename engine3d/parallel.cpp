// The frame's second share on a system pool thread (QueueUserWorkItem), awaited by event.
#include "engine3d/parallel.h"

#include "engine3d/win32.h"

namespace engine3d {
namespace {

struct pool_share {
    void (*work)(void*, int32_t);
    void* data;
    HANDLE done;
};

DWORD WINAPI run_share(void* parameter) {
    auto* share = static_cast<pool_share*>(parameter);
    share->work(share->data, 1);
    SetEvent(share->done);
    return 0;
}

}  // namespace

void run_in_parts(void (*work)(void* data, int32_t part), void* data) {
    pool_share share{work, data, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    bool queued = share.done && QueueUserWorkItem(run_share, &share, WT_EXECUTEDEFAULT);
    work(data, 0);
    if (queued) WaitForSingleObject(share.done, INFINITE);
    else work(data, 1);
    if (share.done) CloseHandle(share.done);
}

}  // namespace engine3d
