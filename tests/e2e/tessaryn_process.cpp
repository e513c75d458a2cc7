// Process start, window search and the working folder of the program under test.
#include "tests/e2e/tessaryn_process.h"

#include <algorithm>

#include <psapi.h>
#include <shlobj.h>

namespace {

struct window_search {
    DWORD process;
    const char* title;
    const char* class_name;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<window_search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.process || !IsWindowVisible(window)) return TRUE;
    char text[256] = {}, class_name[64] = {};
    GetWindowTextA(window, text, sizeof text);
    GetClassNameA(window, class_name, sizeof class_name);
    if (std::string(text) != search.title) return TRUE;
    if (search.class_name && std::string(class_name) != search.class_name) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

std::string build_path(const char* relative) {
    std::string path = std::string("Z:") + TESSARYN_BUILD_DIR + "/" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool tessaryn_process::start(const std::string& program, const std::string& folder,
                             const std::string& arguments, HANDLE output) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output;
    }
    std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    return CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, output != nullptr, 0, nullptr,
                          folder.c_str(), &startup, &info_) != 0;
}

tessaryn_process::~tessaryn_process() {
    if (!info_.hProcess) return;
    // The end is waited for: a window of the old program left on the screen would cover
    // the next one.
    if (wait_for_exit(0) == STILL_ACTIVE) {
        TerminateProcess(info_.hProcess, 99);
        wait_for_exit(5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
}

HWND tessaryn_process::wait_for_window(const char* title, const char* class_name,
                                       int milliseconds) const {
    for (int waited = 0;; waited += 50) {
        window_search search{info_.dwProcessId, title, class_name, nullptr};
        EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
        if (search.found || waited >= milliseconds) return search.found;
        Sleep(50);
    }
}

HWND tessaryn_process::main_window(int milliseconds) const {
    return wait_for_window("Tessaryn", nullptr, milliseconds);
}

DWORD tessaryn_process::wait_for_exit(int milliseconds) const {
    WaitForSingleObject(info_.hProcess, DWORD(milliseconds));
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

// The address of a function in the program: where the program has the module, plus the
// function's distance from the start of our own copy.
void* tessaryn_process::entry_in_program(const char* module, const char* function) const {
    HMODULE own = LoadLibraryA(module);
    HMODULE modules[256] = {};
    DWORD size = 0;
    if (!own || !EnumProcessModules(info_.hProcess, modules, sizeof modules, &size)) return nullptr;
    for (DWORD index = 0; index < size / sizeof *modules && index < 256; ++index) {
        char name[MAX_PATH] = {};
        GetModuleBaseNameA(info_.hProcess, modules[index], name, MAX_PATH);
        if (lstrcmpiA(name, module) == 0)
            return reinterpret_cast<char*>(modules[index]) +
                   (reinterpret_cast<char*>(GetProcAddress(own, function)) -
                    reinterpret_cast<char*>(own));
    }
    return nullptr;
}

// The drop block comes from the program's own process heap, as the shell's would, so that
// the program gives it back as it gives back any drop: the program allocates it on a thread
// of ours.
bool tessaryn_process::drop_files(HWND target, const std::vector<std::string>& files) const {
    DROPFILES header = {};
    header.pFiles = sizeof header;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    for (const std::string& file : files) block += file + '\0';
    block += '\0';
    auto allocate = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        entry_in_program("combase.dll", "CoTaskMemAlloc"));
    HANDLE thread = allocate ? CreateRemoteThread(info_.hProcess, nullptr, 0, allocate,
                                                  reinterpret_cast<void*>(block.size()), 0, nullptr)
                             : nullptr;
    if (!thread) return false;
    DWORD copy = 0;
    WaitForSingleObject(thread, 10000);
    GetExitCodeThread(thread, &copy);
    CloseHandle(thread);
    const auto address = reinterpret_cast<void*>(uintptr_t(copy));
    return copy && WriteProcessMemory(info_.hProcess, address, block.data(), block.size(), nullptr) &&
           PostMessageA(target, WM_DROPFILES, WPARAM(copy), 0);
}

bool prepare_model_folder(const std::string& folder, const std::vector<std::string>& left_out) {
    const std::string model = folder + "\\model";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(model.c_str(), nullptr);
    for (const char* file : {"cube1.jpg", "box.mesh", "land.mesh"}) {
        if (std::find(left_out.begin(), left_out.end(), file) != left_out.end()) continue;
        const std::string source = build_path("model") + "\\" + file;
        if (!CopyFileA(source.c_str(), (model + "\\" + file).c_str(), FALSE)) return false;
    }
    return true;
}

std::string full_path(const std::string& name) {
    char path[MAX_PATH] = {};
    GetFullPathNameA(name.c_str(), MAX_PATH, path, nullptr);
    return path;
}

// Asked of the control itself: an edit field of another process keeps its own text.
std::string window_text(HWND window) {
    char text[4096] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

bool caught_up(HWND window, int milliseconds) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, UINT(milliseconds),
                               &ignored) != 0;
}
