// The one DirectInput 7 interface that the keyboard and the mouse share, made from
// "DINPUT.DLL" on first use and counted. The DLL itself stays loaded until the process
// ends: unloading it stops its input thread with a wait of half a second that the thread
// cannot meet while the unload holds the loader lock, and on a busy machine the thread may
// then still be running inside the unmapped DLL, which crashes the process as it ends.
#include "runtime/screen/input_internal.h"

namespace {

constexpr DWORD input_version = 0x0700;
using direct_input_create_ex = HRESULT(WINAPI*)(HINSTANCE instance, DWORD version, REFIID id,
                                                void** input, IUnknown* outer);

IDirectInput7A* input;
int32_t input_references;

HMODULE input_module() {
    static const HMODULE module = LoadLibraryA("DINPUT.DLL");
    return module;
}

}  // namespace

IDirectInput7A* input_acquire() {
    if (!input) {
        direct_input_create_ex create = nullptr;
        if (module_entry(input_module(), "DirectInputCreateEx", create))
            create(GetModuleHandleA(nullptr), input_version, IID_IDirectInput7A,
                   reinterpret_cast<void**>(&input), nullptr);
    }
    ++input_references;
    return input;
}

void input_release() {
    --input_references;
    if (!input || input_references != 0) return;
    input->Release();
    input = nullptr;
}
