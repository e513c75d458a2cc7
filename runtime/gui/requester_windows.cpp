// What every requester needs: COM started for the thread, the owner of the dialog, and
// the calling thread's other windows disabled while it is open.
#include "runtime/gui/host_extras.h"

namespace {

struct disabled_window {
    disabled_window* next;
    HWND window;
    DWORD thread;
};

disabled_window* disabled = nullptr;

// The foreground window is the dialog's owner, which the host disables itself.
BOOL CALLBACK disable_if_ours(HWND window, LPARAM thread) {
    if (GetWindowThreadProcessId(window, nullptr) != DWORD(thread) || !IsWindowVisible(window) ||
        !IsWindowEnabled(window) || window == GetForegroundWindow())
        return TRUE;
    auto* entry = static_cast<disabled_window*>(heap_alloc(list_heap(), sizeof(disabled_window)));
    if (!entry) return TRUE;
    EnableWindow(window, FALSE);
    entry->window = window;
    entry->thread = DWORD(thread);
    entry->next = disabled;
    disabled = entry;
    return TRUE;
}

}  // namespace

void requester_library_init() {
    static bool started = false;
    if (started) return;
    started = true;
    CoInitialize(nullptr);
}

// The list of what was disabled lets each thread enable exactly its own windows again.
void requester_disable_others() { EnumWindows(disable_if_ours, LPARAM(GetCurrentThreadId())); }

void requester_enable_others() {
    DWORD thread = GetCurrentThreadId();
    for (disabled_window** link = &disabled; *link;) {
        disabled_window* entry = *link;
        if (entry->thread != thread) {
            link = &entry->next;
            continue;
        }
        EnableWindow(entry->window, TRUE);
        *link = entry->next;
        heap_free(list_heap(), entry);
    }
}

HWND requester_owner() {
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId() ? foreground : nullptr;
}
