// The one DirectInput 7 interface that the keyboard and the mouse share, made from
// "DINPUT.DLL" on first use and counted.
#include "runtime/screen/input_internal.h"

namespace {

constexpr DWORD input_version = 0x0700;
using direct_input_create_ex = HRESULT(WINAPI*)(HINSTANCE instance, DWORD version, REFIID id,
                                                void** input, IUnknown* outer);

IDirectInput7A* input;
unique_module input_module;
int32_t input_references;

}  // namespace

IDirectInput7A* input_acquire() {
    if (!input) {
        if (!input_module.get()) input_module.reset(LoadLibraryA("DINPUT.DLL"));
        auto create = input_module.entry<direct_input_create_ex>("DirectInputCreateEx");
        if (create)
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
    input_module.reset();
}
