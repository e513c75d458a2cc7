// Frame pacing arithmetic: the interval per frame, the test for its end, and how long the
// wait for it may sleep.
#include "runtime/screen/frame_clock.h"

int32_t frame_ticks(int64_t frequency, int32_t rate) {
    return int32_t(uint32_t(uint64_t(frequency / (int64_t(rate) + 1))));
}

bool frame_clock_elapsed(frame_clock& clock, int32_t now) {
    if ((now > 0 && clock.last_frame_time <= 0) || (now < 0 && clock.last_frame_time >= 0))
        clock.last_frame_time = now;
    int32_t passed = int32_t(uint32_t(now) - uint32_t(clock.last_frame_time));
    if (passed <= clock.ticks_per_frame) return false;
    clock.last_frame_time = now;
    return true;
}

int32_t frame_clock_sleep_ms(const frame_clock& clock, int32_t now) {
    if (clock.frequency <= 0) return 0;
    int64_t left = int64_t(clock.ticks_per_frame) - int32_t(uint32_t(now) - uint32_t(clock.last_frame_time));
    if (left <= 0) return 0;
    // Rounded up, less the millisecond that is spun out.
    int64_t milliseconds = (left * 1000 + clock.frequency - 1) / clock.frequency - 1;
    return milliseconds > 0 ? int32_t(milliseconds) : 0;
}
