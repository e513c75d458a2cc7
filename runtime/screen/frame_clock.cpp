// Frame pacing arithmetic: the interval per frame, the test for its end, and how long the
// wait for it may sleep, learnt from how late its sleeps woke.
#include "runtime/screen/frame_clock.h"

#include <algorithm>

int32_t frame_ticks(int64_t frequency, int32_t rate) {
    return int32_t(uint32_t(uint64_t(frequency / (int64_t(rate) + 1))));
}

bool frame_clock_elapsed(frame_clock& clock, int32_t now) {
    if ((now > 0 && clock.last_frame_time <= 0) || (now < 0 && clock.last_frame_time >= 0))
        clock.last_frame_time = now;
    int32_t passed = int32_t(uint32_t(now) - uint32_t(clock.last_frame_time));
    // A reading before the last frame's, with the same sign, comes after a pause long
    // enough for the low half to wrap (minutes behind a requester): the interval is over.
    if (passed >= 0 && passed <= clock.ticks_per_frame) return false;
    clock.last_frame_time = now;
    return true;
}

int32_t frame_clock_initial_lateness(int64_t frequency) { return int32_t(frequency / 1000); }

// A wake delayed by something else (the machine busy elsewhere) says little about the next
// sleep: what is learnt stays within two milliseconds.
static int32_t lateness_limit(const frame_clock& clock) { return int32_t(clock.frequency / 500); }

int32_t frame_clock_rest(const frame_clock& clock, int32_t now) {
    return clock.ticks_per_frame - int32_t(uint32_t(now) - uint32_t(clock.last_frame_time)) + 1;
}

int32_t frame_clock_sleep_ticks(const frame_clock& clock, int32_t now) {
    // The spin keeps a tenth of a millisecond besides the lateness: wakes vary.
    int64_t guard = clock.frequency / 10000;
    int64_t left = int64_t(clock.ticks_per_frame) - int32_t(uint32_t(now) - uint32_t(clock.last_frame_time));
    int64_t sleep = left - clock.sleep_lateness - guard;
    return sleep > guard ? int32_t(sleep) : 0;
}

void frame_clock_learn(frame_clock& clock, int32_t asked, int32_t slept) {
    int32_t late = slept > asked ? std::min(slept - asked, lateness_limit(clock)) : 0;
    if (late >= clock.sleep_lateness)
        clock.sleep_lateness = late;
    else
        clock.sleep_lateness -= (clock.sleep_lateness - late) / 4;
}
