// Frame pacing arithmetic on the low 32 bits of the performance counter. Host-neutral: the
// caller reads the counter.
#pragma once

#include <cstdint>

struct frame_clock {
    int32_t ticks_per_frame;
    int32_t last_frame_time;  // 0 right after a rate is set: the next reading re-bases it
    int64_t frequency;        // counter ticks per second
};

// frequency / (rate + 1), kept to its low 32 bits.
int32_t frame_ticks(int64_t frequency, int32_t rate);
// True once more than one frame interval lies between the last frame and now, which then
// becomes the last frame. A change of sign of the counter's low half restarts the measure.
bool frame_clock_elapsed(frame_clock& clock, int32_t now);
// Whole milliseconds the wait may sleep after `now` (a reading for which the interval has
// not yet passed) so that it wakes within the interval's last millisecond and spins only
// that; 0 once it is there.
int32_t frame_clock_sleep_ms(const frame_clock& clock, int32_t now);
