// Frame rate and the wait that paces presents on the performance counter: it sleeps until
// the last millisecond of the interval and spins only that, on a system timer made fine
// while a screen is open.
#include "runtime/screen/screen_internal.h"

#include <mmsystem.h>

namespace {

constexpr UINT fine_timer_ms = 1;

}  // namespace

int32_t screen_set_frame_rate(int32_t rate) {
    // rate + 1 is the divisor: -1 would divide by zero, and below it frames are never paced
    if (rate < 0) return 0;
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency)) return 0;
    screen_state& state = screen();
    state.frame_rate = rate;
    state.default_rate = false;
    state.clock.ticks_per_frame = frame_ticks(frequency.QuadPart, rate);
    state.clock.frequency = frequency.QuadPart;
    state.clock.last_frame_time = 0;
    return 1;
}

int32_t screen_wait_frame() {
    frame_clock& clock = screen().clock;
    int32_t repetitions = 0;
    for (;;) {
        LARGE_INTEGER counter;
        if (!QueryPerformanceCounter(&counter)) return 0;
        int32_t now = int32_t(counter.LowPart);
        if (frame_clock_elapsed(clock, now)) return repetitions;
        if (int32_t pause = frame_clock_sleep_ms(clock, now)) Sleep(DWORD(pause));
        ++repetitions;
    }
}

void screen_fine_timer(bool on) {
    screen_state& state = screen();
    if (on && !state.fine_timer) {
        state.fine_timer = timeBeginPeriod(fine_timer_ms) == TIMERR_NOERROR;
    } else if (!on && state.fine_timer) {
        timeEndPeriod(fine_timer_ms);
        state.fine_timer = false;
    }
}
