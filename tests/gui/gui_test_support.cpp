// Event collection, synthetic input and the dialog helper thread of the window tests.
#include "tests/gui/gui_test_support.h"

#include <cstring>

std::vector<polled_event> collect_events(int32_t quiet_ms) {
    // A focused scroll bar blinks by timer for ever, so quiet alone does not end the wait.
    constexpr DWORD longest_wait = 1500;
    DWORD start = GetTickCount();
    std::vector<polled_event> events;
    while (GetTickCount() - start < longest_wait) {
        int32_t code = window_wait_event(quiet_ms);
        if (!code) break;
        events.push_back({code, event_gadget(), event_window(), event_type()});
    }
    return events;
}

std::vector<polled_event> gadget_events(const std::vector<polled_event>& events,
                                        object_number gadget) {
    std::vector<polled_event> chosen;
    for (const polled_event& event : events)
        if (event.code == event_code_gadget && event.gadget == gadget) chosen.push_back(event);
    return chosen;
}

int32_t count_code(const std::vector<polled_event>& events, int32_t code) {
    int32_t count = 0;
    for (const polled_event& event : events) count += event.code == code;
    return count;
}

POINT on_screen(HWND window, int32_t x, int32_t y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    return point;
}

void mouse_move(POINT at) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = at.x * 65536 / GetSystemMetrics(SM_CXSCREEN) + 1;
    input.mi.dy = at.y * 65536 / GetSystemMetrics(SM_CYSCREEN) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void mouse_button(bool down) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

void click(POINT at) {
    mouse_move(at);
    mouse_button(true);
    mouse_button(false);
}

void key(WORD virtual_key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

namespace {

BOOL CALLBACK find_dialog(HWND window, LPARAM found) {
    char name[16] = {};
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (!GetClassNameA(window, name, sizeof name) || std::strcmp(name, "#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

DWORD WINAPI answer_dialog(void* data) {
    auto* answer = static_cast<std::function<void(HWND)>*>(data);
    for (int attempt = 0; attempt < 500; ++attempt) {
        HWND dialog = nullptr;
        EnumWindows(find_dialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog) {
            Sleep(200);  // let the dialog finish its set-up
            (*answer)(dialog);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}

}  // namespace

dialog_helper::dialog_helper(std::function<void(HWND)> answer) : answer_(std::move(answer)) {
    thread_ = CreateThread(nullptr, 0, answer_dialog, &answer_, 0, nullptr);
}

dialog_helper::~dialog_helper() {
    WaitForSingleObject(thread_, 15000);
    CloseHandle(thread_);
}

namespace {

BOOL CALLBACK destroy_child(HWND child, LPARAM parent) {
    if (GetParent(child) == reinterpret_cast<HWND>(parent)) DestroyWindow(child);
    return TRUE;
}

}  // namespace

// The window outlives the tests: hiding or destroying a top-level window costs the host
// seconds without a window manager.
void window_test::SetUp() {
    if (!window_id(0)) ASSERT_NE(window_open(0, 60, 60, 400, 300, "Test", 0x00CA0000), 0);
    window = static_cast<HWND>(window_id(0));
    SetForegroundWindow(window);
    SetFocus(window);
    gadget_list_create(window);
    collect_events(50);
}

void window_test::TearDown() {
    statusbar_free(0);
    if (window_id(0)) EnumChildWindows(window, destroy_child, reinterpret_cast<LPARAM>(window));
    collect_events(20);
}
