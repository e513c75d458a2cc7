// Frame rate and the wait that paces presents on the performance counter: it sleeps until
// just before the interval ends and spins only the rest, on a system timer made fine while
// frames are presented. Sleeps are asked for in 100 ns units where the system takes them so.
#include "runtime/screen/screen_internal.h"

#include <mmsystem.h>

namespace {

constexpr UINT fine_timer_ms = 1;
// How long an idle frame waits for a message at most: everything that changes the picture
// arrives as one, so this only bounds how long the loop goes unvisited.
constexpr DWORD idle_tick_ms = 250;
constexpr int64_t units_per_second = 10000000;  // of a relative NtDelayExecution time

using delay_function = LONG(WINAPI*)(BOOLEAN alertable, const LARGE_INTEGER* interval);

delay_function fine_delay() {
    static const delay_function delay = reinterpret_cast<delay_function>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDelayExecution")));
    return delay;
}

void sleep_ticks(int64_t ticks, int64_t frequency) {
    if (delay_function delay = fine_delay()) {
        LARGE_INTEGER interval;
        interval.QuadPart = -(ticks * units_per_second / frequency);
        delay(FALSE, &interval);
    } else {
        Sleep(DWORD(ticks * 1000 / frequency));
    }
}

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
    state.clock.sleep_lateness = frame_clock_initial_lateness(frequency.QuadPart);
    state.clock.last_frame_time = 0;
    return 1;
}

int32_t screen_wait_frame() {
    screen_fine_timer(true);
    frame_clock& clock = screen().clock;
    int32_t repetitions = 0;
    for (;;) {
        LARGE_INTEGER counter;
        if (!QueryPerformanceCounter(&counter)) return 0;
        int32_t now = int32_t(counter.LowPart);
        if (frame_clock_elapsed(clock, now)) return repetitions;
        if (int32_t pause = frame_clock_sleep_ticks(clock, now)) {
            sleep_ticks(pause, clock.frequency);
            if (QueryPerformanceCounter(&counter))
                frame_clock_learn(clock, pause, int32_t(counter.LowPart - uint32_t(now)));
        }
        ++repetitions;
    }
}

// Nothing is presented after it, so the interval's end needs no spin, and the system timer
// goes back to its own pace, which every other program on the machine shares.
void screen_wait_idle() {
    screen_fine_timer(false);
    frame_clock& clock = screen().clock;
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter) && !frame_clock_elapsed(clock, int32_t(counter.LowPart)))
        sleep_ticks(frame_clock_rest(clock, int32_t(counter.LowPart)), clock.frequency);
    MsgWaitForMultipleObjectsEx(0, nullptr, idle_tick_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
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
