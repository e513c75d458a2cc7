// The frame's second share on a system pool thread, awaited by an event that the pool sets
// only once the callback has returned: a caller that unloads the engine right after a
// render never leaves the pool thread running in unmapped code.
#include "engine3d/render/parallel.h"

#include "engine3d/win32.h"

namespace engine3d {
namespace {

struct pool_share {
    void (*work)(void*, int32_t);
    void* data;
    HANDLE done;
};

void CALLBACK run_share(PTP_CALLBACK_INSTANCE instance, void* parameter) {
    auto* share = static_cast<pool_share*>(parameter);
    share->work(share->data, 1);
    SetEventWhenCallbackReturns(instance, share->done);
}

}  // namespace

void run_in_parts(void (*work)(void* data, int32_t part), void* data) {
    pool_share share{work, data, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    bool queued = share.done && TrySubmitThreadpoolCallback(run_share, &share, nullptr);
    work(data, 0);
    if (queued) WaitForSingleObject(share.done, INFINITE);
    else work(data, 1);
    if (share.done) CloseHandle(share.done);
}

}  // namespace engine3d
