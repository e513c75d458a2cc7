// A console shows its own code page, which is seldom Windows-1252: it is given the text as
// UTF-16. A file or a pipe gets the bytes as they are, for the batch file that reads them.
#include "app/messages/console_output.h"

#include <vector>

#include "runtime/core/windows_host.h"

namespace {

constexpr UINT text_code_page = 1252;

bool usable(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }

HANDLE inherited_or_attached(DWORD which) {
    HANDLE inherited = GetStdHandle(which);
    if (usable(inherited)) return inherited;
    static HANDLE attached = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return INVALID_HANDLE_VALUE;
        return CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    }();
    return attached;
}

void write_to_console(HANDLE console, const std::string& text) {
    const int length = MultiByteToWideChar(text_code_page, 0, text.data(), int(text.size()), nullptr, 0);
    std::vector<wchar_t> wide(size_t(length) + 1);
    MultiByteToWideChar(text_code_page, 0, text.data(), int(text.size()), wide.data(), length);
    DWORD written = 0;
    WriteConsoleW(console, wide.data(), DWORD(length), &written, nullptr);
}

}  // namespace

void console_write(const std::string& text, bool is_error) {
    HANDLE out = inherited_or_attached(is_error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (!usable(out)) return;
    const std::string line = text.empty() || text.back() != '\n' ? text + "\n" : text;
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {
        write_to_console(out, line);
        return;
    }
    DWORD written = 0;
    WriteFile(out, line.data(), DWORD(line.size()), &written, nullptr);
}
