// Frame pacing arithmetic on the low 32 bits of the performance counter. Host-neutral: the
// caller reads the counter.
#pragma once

#include <cstdint>

struct frame_clock {
    int32_t ticks_per_frame;
    int32_t last_frame_time;  // 0 right after a rate is set: the next reading re-bases it
    int64_t frequency;        // counter ticks per second
    int32_t sleep_lateness;   // ticks by which sleeps wake after their time, as seen so far
};

// Before anything is learnt a sleep is taken to wake up to a millisecond late, as on a
// system timer of that resolution.
int32_t frame_clock_initial_lateness(int64_t frequency);

// frequency / (rate + 1), kept to its low 32 bits.
int32_t frame_ticks(int64_t frequency, int32_t rate);
// True once more than one frame interval lies between the last frame and now, which then
// becomes the last frame. A change of sign of the counter's low half restarts the measure;
// a reading before the last frame's ends it.
bool frame_clock_elapsed(frame_clock& clock, int32_t now);
// Counter ticks from `now` (a reading for which the interval has not yet passed) until it
// has.
int32_t frame_clock_rest(const frame_clock& clock, int32_t now);
// Counter ticks the wait may sleep after `now` (a reading for which the interval has not
// yet passed) so that, as late as sleeps have woken so far, it wakes just before the
// interval ends and spins only the rest; 0 when the rest is all there is.
int32_t frame_clock_sleep_ticks(const frame_clock& clock, int32_t now);
// Learns from one sleep that was asked for `asked` ticks and took `slept`: a later wake
// counts at once, an earlier one slowly.
void frame_clock_learn(frame_clock& clock, int32_t asked, int32_t slept);
