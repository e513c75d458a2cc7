// Frame rate and the busy wait that paces presents on the performance counter.
#include "runtime/screen/screen_internal.h"

int32_t screen_set_frame_rate(int32_t rate) {
    // rate + 1 is the divisor: -1 would divide by zero, and below it frames are never paced
    if (rate < 0) return 0;
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency)) return 0;
    screen_state& state = screen();
    state.frame_rate = rate;
    state.default_rate = false;
    state.clock.ticks_per_frame = frame_ticks(frequency.QuadPart, rate);
    state.clock.last_frame_time = 0;
    return 1;
}

int32_t screen_wait_frame() {
    int32_t repetitions = 0;
    for (;;) {
        LARGE_INTEGER counter;
        if (!QueryPerformanceCounter(&counter)) return 0;
        if (frame_clock_elapsed(screen().clock, int32_t(counter.LowPart))) return repetitions;
        ++repetitions;
    }
}
