// Starts Tessaryn.exe as a user would, in a working folder of its own, and finds its windows.
#pragma once

#include "runtime/core/windows_host.h"

#include <cstdint>
#include <string>
#include <vector>

// A Windows path of the build (bin folder or model data), from the build's own location.
std::string build_path(const char* relative);

class tessaryn_process {
public:
    // Runs `program` with `folder` as its current directory; `output`, when given, becomes
    // its standard output and error, as a redirection in a batch file does.
    bool start(const std::string& program, const std::string& folder, const std::string& arguments = "",
               HANDLE output = nullptr);
    ~tessaryn_process();

    // A visible top-level window of the process with this title and, if given, class.
    HWND wait_for_window(const char* title, const char* class_name, int milliseconds) const;
    HWND main_window(int milliseconds = 20000) const;
    // The exit code once the process ended within the time, else STILL_ACTIVE.
    DWORD wait_for_exit(int milliseconds) const;
    // Drops the files on `target` as the shell does: a drop block holding their names, in the
    // program's memory, comes with the drop message.
    bool drop_files(HWND target, const std::vector<std::string>& files) const;
    DWORD id() const { return info_.dwProcessId; }
    HANDLE handle() const { return info_.hProcess; }

private:
    void* entry_in_program(const char* module, const char* function) const;

    PROCESS_INFORMATION info_ = {};
};

// Copies the shipped model data into folder\model, leaving out the named files.
bool prepare_model_folder(const std::string& folder, const std::vector<std::string>& left_out);

std::string full_path(const std::string& name);
std::string window_text(HWND window);
// True once the program has handled everything queued for it before the call: a message sent
// to its window is answered only when its thread takes messages again, after the handler.
bool caught_up(HWND window, int milliseconds = 10000);
