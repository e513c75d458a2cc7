// The decode of one picture on this thread and whoever waits on its rows. Host-neutral.
#pragma once

#include "runtime/image/image.h"

// Until the next call, decoder_rows_done tells `progress` (null: nobody) about `picture`,
// which is `height` rows high.
void decoder_progress_follow(const decode_progress* progress, platform_handle picture, int32_t height);
