// Linked into every test program: a crash ends the program at once with a failure code and
// a line naming the fault. Under Wine an unhandled fault would otherwise start a debugger
// that waits for ever, and the program's exit code would not tell of the crash.
#include <cstdio>

#include "runtime/core/windows_host.h"

namespace {

constexpr UINT crashed_exit_code = 3;

LONG WINAPI report_crash(EXCEPTION_POINTERS* fault) {
    std::fprintf(stderr, "crash: exception 0x%08lx at %p\n",
                 static_cast<unsigned long>(fault->ExceptionRecord->ExceptionCode),
                 fault->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), crashed_exit_code);
    return EXCEPTION_EXECUTE_HANDLER;
}

const bool installed = (SetUnhandledExceptionFilter(report_crash), true);

}  // namespace
