// The windowed screen on the plain path: what a present shows where, with and without
// stretching, how the window is subclassed, frame pacing and the colour table. Outside the
// target the desktop under Wine shows whatever the primary surface holds, so there only
// the absence of the cleared colour is checked.
#include <gtest/gtest.h>

#include "runtime/screen/frame_clock.h"
#include "runtime/screen/pixel_format.h"
#include "tests/screen/screen_test_support.h"

namespace {

TEST(ScreenPresent, StretchFollowsResizeAndMoveLessTheOffsets) {
    test_window& window = shared_window(100, 100, 300, 200);
    ASSERT_EQ(screen_open_windowed(window.handle(), 10, 20, 100, 100, 1, 30, 40), 1);
    show_colour(blue);
    EXPECT_EQ(window.pixel(10, 20), blue.shown);
    EXPECT_EQ(window.pixel(269, 159), blue.shown);
    EXPECT_NE(window.pixel(9, 50), blue.shown);
    EXPECT_NE(window.pixel(270, 50), blue.shown);
    EXPECT_NE(window.pixel(50, 160), blue.shown);

    window.place(100, 100, 400, 260);
    show_colour(green);
    EXPECT_EQ(window.pixel(369, 219), green.shown);
    EXPECT_NE(window.pixel(370, 100), green.shown);

    window.place(160, 130, 400, 260);
    show_colour(red);
    EXPECT_EQ(window.pixel(10, 20), red.shown);
    EXPECT_EQ(window.pixel(369, 219), red.shown);
    EXPECT_NE(window.pixel(9, 20), red.shown);
}

TEST(ScreenPresent, WithoutStretchTheScreenKeepsItsSizeAtItsPlace) {
    test_window& window = shared_window(100, 100, 300, 200);
    ASSERT_EQ(screen_open_windowed(window.handle(), 30, 40, 50, 60, 0, 7, 7), 1);
    EXPECT_EQ(screen_clear(yellow.value), 0);
    screen_flip();
    pump_messages();
    EXPECT_EQ(window.pixel(30, 40), yellow.shown);
    EXPECT_EQ(window.pixel(79, 99), yellow.shown);
    EXPECT_NE(window.pixel(29, 40), yellow.shown);
    EXPECT_NE(window.pixel(80, 99), yellow.shown);
    EXPECT_NE(window.pixel(79, 100), yellow.shown);
}

TEST(ScreenPresent, LostSurfacesAreRestoredAndThePresentTriedAgain) {
    test_window& window = shared_window(100, 100, 300, 200);
    ASSERT_EQ(screen_open_windowed(window.handle(), 0, 0, 100, 100, 1, 0, 0), 1);
    ASSERT_TRUE(lose_surfaces(screen().display));
    ASSERT_EQ(screen().primary->IsLost(), DDERR_SURFACELOST);
    show_colour(blue);
    EXPECT_EQ(screen().primary->IsLost(), DD_OK);
    EXPECT_EQ(window.pixel(50, 50), blue.shown);

    screen().display->RestoreDisplayMode();
    show_colour(green);
    EXPECT_EQ(screen().primary->IsLost(), DD_OK);
    EXPECT_EQ(window.pixel(50, 50), green.shown);
}

TEST(ScreenPresent, NothingHappensWithoutAScreen) {
    EXPECT_EQ(screen_open_windowed(nullptr, 0, 0, 10, 10, 0, 0, 0), 0);
    EXPECT_EQ(screen_clear(red.value), screen_clear_no_screen);
    screen_flip();
}

TEST(ScreenWindow, IsSubclassedOncePerWindowAndChainsToItsOwnProcedure) {
    test_window& first = shared_window(100, 100, 100, 100);
    test_window second(250, 100, 100, 100);
    ASSERT_EQ(screen_open_windowed(first.handle(), 0, 0, 50, 50, 0, 0, 0), 1);
    LONG_PTR procedure = GetWindowLongPtrA(first.handle(), GWLP_WNDPROC);
    ASSERT_EQ(screen_open_windowed(first.handle(), 0, 0, 50, 50, 0, 0, 0), 1);
    EXPECT_EQ(GetWindowLongPtrA(first.handle(), GWLP_WNDPROC), procedure);
    ASSERT_EQ(screen_open_windowed(second.handle(), 0, 0, 50, 50, 0, 0, 0), 1);
    ASSERT_EQ(screen_open_windowed(first.handle(), 0, 0, 50, 50, 0, 0, 0), 1);

    int before = first.app_messages();
    SendMessageA(first.handle(), WM_APP, 0, 0);
    EXPECT_EQ(first.app_messages(), before + 1);
    EXPECT_EQ(second.app_messages(), 0);
}

TEST(FrameRate, TicksPerFrameDivideByOneMoreThanTheRate) {
    EXPECT_EQ(frame_ticks(3579545, 50), 70187);
    EXPECT_EQ(frame_ticks(int64_t(1) << 33, 0), 0);  // only the low 32 bits are kept
    EXPECT_EQ(screen_set_frame_rate(-1), 0);
}

TEST(FrameRate, FirstReadingReBasesAndSignChangesRestartTheMeasure) {
    frame_clock clock = {100, 0};
    EXPECT_FALSE(frame_clock_elapsed(clock, 5000));
    EXPECT_FALSE(frame_clock_elapsed(clock, 5100));
    EXPECT_TRUE(frame_clock_elapsed(clock, 5101));
    clock.last_frame_time = 0x7FFFFFF0;
    EXPECT_FALSE(frame_clock_elapsed(clock, int32_t(0x80000100)));
    EXPECT_EQ(clock.last_frame_time, int32_t(0x80000100));
    EXPECT_TRUE(frame_clock_elapsed(clock, int32_t(0x80000050))) << "the low half wrapped";
}

// The wait sleeps until the lateness its sleeps showed, and a little more, before the end.
TEST(FrameRate, SleepStopsShortOfTheIntervalByTheLatenessLearnt) {
    frame_clock clock = {19607, 1000, 1000000, frame_clock_initial_lateness(1000000)};
    EXPECT_EQ(frame_clock_sleep_ticks(clock, 1000), 19607 - 1000 - 100);
    EXPECT_EQ(frame_clock_sleep_ticks(clock, 1000 + 19000), 0);
    EXPECT_EQ(frame_clock_sleep_ticks(clock, 1000 + 19608), 0);
    frame_clock_learn(clock, 18000, 18040);
    EXPECT_EQ(clock.sleep_lateness, 1000 - 960 / 4);
    frame_clock_learn(clock, 18000, 19500);
    EXPECT_EQ(clock.sleep_lateness, 1500);
    frame_clock_learn(clock, 1000, 60000);
    EXPECT_EQ(clock.sleep_lateness, 2000);
}

TEST(FrameRate, SleepingWaitStillSpacesFramesByOneIntervalOfTheCounter) {
    ASSERT_EQ(screen_set_frame_rate(50), 1);
    const int64_t interval = screen().clock.ticks_per_frame;
    constexpr int frames = 6;
    int64_t times[frames];
    for (int64_t& time : times) {
        screen_wait_frame();
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        time = counter.QuadPart;
    }
    // Read just after the wait, so a reading may come a little late for the frame before.
    for (int i = 1; i < frames; ++i) EXPECT_GT(times[i] - times[i - 1], interval * 19 / 20) << i;
    // Loose: only a wait that lost its way takes five intervals per frame.
    EXPECT_LT(times[frames - 1] - times[0], 5 * interval * (frames - 1));
}

TEST(FrameRate, DefaultRateIsDroppedAtCloseAndAnExplicitOneKept) {
    test_window& window = shared_window(100, 100, 100, 100);
    screen_set_frame_rate(0);
    ASSERT_EQ(screen_open_windowed(window.handle(), 0, 0, 50, 50, 0, 0, 0), 1);
    EXPECT_EQ(screen().frame_rate, 60);
    screen_close();
    EXPECT_EQ(screen().frame_rate, 0);

    screen_set_frame_rate(50);
    ASSERT_EQ(screen_open_windowed(window.handle(), 0, 0, 50, 50, 0, 0, 0), 1);
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    screen_flip();
    QueryPerformanceCounter(&after);
    // the first flip after a rate is set re-bases the clock, then waits a whole interval
    EXPECT_GT(after.QuadPart - before.QuadPart, frequency.QuadPart / 51);
    screen_close();
    EXPECT_EQ(screen().frame_rate, 50);
    screen_set_frame_rate(0);
}

TEST(PixelFormat, CodesAndColourValuesPerDepth) {
    EXPECT_EQ(pixel_format_code(32, 0xFF, 0), 6);
    EXPECT_EQ(pixel_format_code(32, 0xFF0000, 0), 7);
    EXPECT_EQ(pixel_format_code(24, 0xFF, 0), 4);
    EXPECT_EQ(pixel_format_code(24, 0xFF0000, 0), 5);
    EXPECT_EQ(pixel_format_code(16, 0, 0x7E0), 3);
    EXPECT_EQ(pixel_format_code(16, 0, 0x3E0), 2);
    EXPECT_EQ(pixel_format_code(8, 0, 0), 1);

    struct conversion {
        int32_t depth, code;
        uint32_t pixel;
    };
    const conversion conversions[] = {{16, 2, 0xFC08},   {15, 1, 0x7E08},   {32, 7, 0xFF8040},
                                      {32, 0, 0xFF8040}, {24, 5, 0xFF8040}, {32, 6, 0x4080FF},
                                      {24, 4, 0x4080FF}, {8, 1, 0}};
    for (const conversion& c : conversions)
        EXPECT_EQ(pixel_from_rgb(c.depth, c.code, 255, 128, 64), c.pixel) << c.depth << "/" << c.code;
}

}  // namespace
