// Live sizing of a window with a sizing border, driven through the host's input queue
// while the sizing loop runs: one input step per timer tick, which the loop dispatches.
#include "tests/gui/gui_test_support.h"

namespace {

constexpr object_number sizing_window = 5;
// Clear of window 0, which the other tests click on.
constexpr POINT sizing_place = {720, 560};

struct sizing_notices {
    int32_t started = 0;
    int32_t sizing = 0;
    int32_t ended = 0;
    WPARAM last_edge = 0;
};

sizing_notices notices;
WNDPROC runtime_procedure = nullptr;
std::vector<std::function<void()>> script;
size_t next_step = 0;

LRESULT CALLBACK count_notices(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_ENTERSIZEMOVE) ++notices.started;
    if (message == WM_SIZING) {
        ++notices.sizing;
        notices.last_edge = wparam;
    }
    if (message == WM_EXITSIZEMOVE) ++notices.ended;
    return CallWindowProcA(runtime_procedure, window, message, wparam, lparam);
}

// Ticks arrive only when the input of the previous step has been handled. A loop still
// running after the script loses the capture, so a failing test cannot hang.
void CALLBACK play_step(HWND, UINT, UINT_PTR, DWORD) {
    if (next_step < script.size())
        script[next_step++]();
    else
        ReleaseCapture();
}

void press(WORD virtual_key) {
    key(virtual_key, true);
    key(virtual_key, false);
}

RECT outer_rect(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    return area;
}

class live_sizing : public testing::Test {
  protected:
    void SetUp() override {
        SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full_drag, 0);
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
        if (!window_id(sizing_window)) open_window();
        window = static_cast<HWND>(window_id(sizing_window));
        SetWindowPos(window, nullptr, sizing_place.x, sizing_place.y, 320, 240, SWP_NOZORDER);
        SetForegroundWindow(window);
        collect_events(50);
        notices = {};
        start = outer_rect(window);
    }

    // The window outlives the tests, as destroying one costs the host seconds.
    static void open_window() {
        constexpr int32_t sizing_border = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        object_number opened = window_open(sizing_window, sizing_place.x, sizing_place.y, 300, 200,
                                           "Sizing", sizing_border);
        ASSERT_NE(opened, 0);
        auto window = static_cast<HWND>(window_id(sizing_window));
        runtime_procedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(count_notices)));
    }

    void TearDown() override {
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, UINT(full_drag), nullptr, 0);
    }

    // Sends the sizing command for `edge` and plays `steps` while the loop runs.
    void size_with(WPARAM edge, std::vector<std::function<void()>> steps) {
        script = std::move(steps);
        next_step = 0;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, play_step);
        SendMessageA(window, WM_SYSCOMMAND, SC_SIZE | edge, 0);
        KillTimer(nullptr, timer);
    }

    BOOL full_drag = FALSE;
    HWND window = nullptr;
    RECT start = {};
};

TEST_F(live_sizing, mouse_and_arrow_keys_size_from_the_corner) {
    mouse_move({start.right - 1, start.bottom - 1});
    collect_events(50);
    auto drag = [&] { mouse_move({start.right + 39, start.bottom + 29}); };
    size_with(WMSZ_BOTTOMRIGHT, {drag, [] { press(VK_RIGHT); }, [] { press(VK_RETURN); }});
    RECT sized = outer_rect(window);
    EXPECT_EQ(sized.left, start.left);
    EXPECT_EQ(sized.top, start.top);
    EXPECT_EQ(sized.right, start.right + 50);
    EXPECT_EQ(sized.bottom, start.bottom + 30);
    EXPECT_EQ(notices.started, 1);
    EXPECT_GE(notices.sizing, 2);
    EXPECT_EQ(notices.last_edge, WPARAM(WMSZ_BOTTOMRIGHT));
    EXPECT_EQ(notices.ended, 1);
    std::vector<polled_event> events = collect_events();
    EXPECT_GE(count_code(events, event_code_size), 1);
    EXPECT_EQ(count_code(events, event_code_move), 0);
}

// Started from the keyboard: the first arrow picks the edge and puts the pointer on it.
TEST_F(live_sizing, keyboard_picks_the_edge_and_escape_restores_the_window) {
    RECT clamped = {};
    auto drag_past_the_right_edge = [&] { mouse_move({start.right + 100, start.top + 50}); };
    auto escape = [&] {
        clamped = outer_rect(window);
        press(VK_ESCAPE);
    };
    size_with(0, {[] { press(VK_LEFT); }, drag_past_the_right_edge, escape});
    EXPECT_EQ(clamped.right, start.right);
    EXPECT_EQ(clamped.right - clamped.left, GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(notices.last_edge, WPARAM(WMSZ_LEFT));
    RECT restored = outer_rect(window);
    EXPECT_TRUE(EqualRect(&restored, &start));
    EXPECT_GE(count_code(collect_events(), event_code_move), 1);
}

}  // namespace
