// The keyboard read whole through DirectInput 7 into a 256-byte state, once per frame; key
// tests answer from that state until the next poll.
#include <algorithm>

#include "runtime/screen/input_internal.h"

namespace {

enum keyboard_phase : int32_t { not_set_up = 0, not_acquired = 1, acquired = 2 };

constexpr int32_t key_count = 256;
constexpr uint8_t key_down_bit = 0x80;
// The last entry never counts for "any key".
constexpr int32_t any_key_entries = 255;
constexpr DWORD cooperation = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_NOWINKEY;

struct keyboard_state {
    bool used;
    keyboard_phase phase;
    com_ptr<IDirectInputDevice7A> device;
    DIOBJECTDATAFORMAT* objects;  // kept for the life of the program
    DIDATAFORMAT format;
    uint8_t keys[key_count];
};
keyboard_state keyboard;

// The same layout as DirectInput's standard keyboard format, one button per key code.
bool build_format() {
    if (!keyboard.objects) {
        size_t size = sizeof(DIOBJECTDATAFORMAT) * key_count;
        keyboard.objects = static_cast<DIOBJECTDATAFORMAT*>(heap_alloc(main_heap(), size));
        if (!keyboard.objects) return false;
    }
    for (int32_t key = 0; key < key_count; ++key)
        keyboard.objects[key] = {&GUID_Key, DWORD(key), DIDFT_OPTIONAL | DIDFT_BUTTON | DIDFT_MAKEINSTANCE(key), 0};
    keyboard.format = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, key_count,
                       key_count, keyboard.objects};
    return true;
}

// DirectInput takes a top-level window; the screen's is usually a child of the main window.
HWND cooperating_window() {
    HWND window = screen().window;
    HWND top = GetAncestor(window, GA_ROOT);
    return top ? top : window;
}

}  // namespace

int32_t keyboard_init() {
    IDirectInput7A* input = input_acquire();
    keyboard.used = true;
    if (!input) return 0;
    if (keyboard.phase != not_set_up) return 1;
    if (!build_format()) return 0;
    if (FAILED(input->CreateDeviceEx(GUID_SysKeyboard, IID_IDirectInputDevice7A,
                                     keyboard.device.put_void(), nullptr)))
        return 0;
    // not kept: a poll would take a device without its format for the set-up keyboard
    if (FAILED(keyboard.device->SetDataFormat(&keyboard.format))) {
        keyboard.device.reset();
        return 0;
    }
    keyboard.phase = not_acquired;
    return 1;
}

int32_t keyboard_poll() {
    if (!keyboard.device) return 0;
    if (keyboard.phase == not_acquired) {
        keyboard.device->SetCooperativeLevel(cooperating_window(), cooperation);
        keyboard.device->Acquire();
        keyboard.phase = acquired;
    }
    if (FAILED(keyboard.device->GetDeviceState(key_count, keyboard.keys))) {
        keyboard.phase = not_acquired;
        return 0;
    }
    return 1;
}

int32_t keyboard_key_down(int32_t key) {
    if (keyboard.phase != acquired) return 0;
    if (key == keyboard_any_key) {
        const uint8_t* keys = keyboard.keys;
        return std::any_of(keys, keys + any_key_entries, [](uint8_t entry) { return entry & key_down_bit; }) ? 1 : 0;
    }
    if (key < 0 || key >= key_count) return 0;
    return keyboard.keys[key] & key_down_bit;
}

void keyboard_end() {
    if (!keyboard.used) return;
    if (keyboard.device) {
        keyboard.device->Unacquire();
        keyboard.device.reset();
    }
    keyboard.phase = not_set_up;
    input_release();
}
