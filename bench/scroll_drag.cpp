// Moves one of Tessaryn's scroll bars at every frame for the dragging benchmark: it finds
// the running program's window and posts the scroll notifications a drag would send,
// one line down and up again in turn, 51 times a second for the seconds given.
#include <cstdio>
#include <cstdlib>

#include "runtime/core/windows_host.h"

namespace {

constexpr int moves_per_second = 51;
constexpr int find_attempts = 200;
constexpr DWORD find_pause_ms = 100;

BOOL CALLBACK first_scroll_bar(HWND window, LPARAM found) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "ScrollBar") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND find_scroll_bar() {
    for (int attempt = 0; attempt < find_attempts; ++attempt) {
        HWND bar = nullptr;
        if (HWND main = FindWindowA(nullptr, "Tessaryn"))
            EnumChildWindows(main, first_scroll_bar, reinterpret_cast<LPARAM>(&bar));
        if (bar) return bar;
        Sleep(find_pause_ms);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    HWND bar = find_scroll_bar();
    if (!bar) {
        std::fprintf(stderr, "scroll_drag: no Tessaryn scroll bar found\n");
        return 1;
    }
    UINT message = (GetWindowLongA(bar, GWL_STYLE) & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int move = 0; move < seconds * moves_per_second; ++move) {
        WPARAM code = move % 2 ? SB_LINEUP : SB_LINEDOWN;
        PostMessageA(GetParent(bar), message, code, reinterpret_cast<LPARAM>(bar));
        // Paced on the counter from the start, so that late moves do not add up.
        LONGLONG due = start.QuadPart + frequency.QuadPart * (move + 1) / moves_per_second;
        for (QueryPerformanceCounter(&now); now.QuadPart < due; QueryPerformanceCounter(&now))
            Sleep(1);
    }
    return 0;
}
