// Rows decoded so far, told to the caller that waits on them; one decode per thread, as the
// decoders keep their state.
#include "runtime/image/decode_progress.h"

namespace {

struct followed_decode {
    const decode_progress* progress;
    platform_handle picture;
    int32_t height;
};

thread_local followed_decode followed;

}  // namespace

void decoder_progress_follow(const decode_progress* progress, platform_handle picture, int32_t height) {
    followed = {progress, picture, height};
}

void decoder_rows_done(int32_t rows) {
    if (followed.progress) followed.progress->rows_done(followed.progress->context, followed.picture, rows, followed.height);
}
