// The mouse device: set up with DirectInput's standard mouse format and released at the
// end. It is never read; the base window unacquires it when the program is deactivated.
#include "runtime/screen/input_internal.h"

namespace {

// DirectInput's standard mouse layout: three axes, the third optional, and four buttons,
// the last two optional.
const DIOBJECTDATAFORMAT mouse_objects[] = {
    {&GUID_XAxis, 0, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0},
    {&GUID_YAxis, 4, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0},
    {&GUID_ZAxis, 8, DIDFT_AXIS | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0},
    {nullptr, 12, DIDFT_BUTTON | DIDFT_ANYINSTANCE, 0},
    {nullptr, 13, DIDFT_BUTTON | DIDFT_ANYINSTANCE, 0},
    {nullptr, 14, DIDFT_BUTTON | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0},
    {nullptr, 15, DIDFT_BUTTON | DIDFT_ANYINSTANCE | DIDFT_OPTIONAL, 0},
};
constexpr DWORD mouse_data_size = 16;

DIDATAFORMAT mouse_format() {
    return {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, mouse_data_size,
            DWORD(sizeof mouse_objects / sizeof *mouse_objects),
            const_cast<DIOBJECTDATAFORMAT*>(mouse_objects)};
}

bool mouse_used;
com_ptr<IDirectInputDevice7A> mouse;

}  // namespace

int32_t mouse_init() {
    IDirectInput7A* input = input_acquire();
    mouse_used = true;
    if (!input) return 0;
    if (FAILED(input->CreateDeviceEx(GUID_SysMouse, IID_IDirectInputDevice7A, mouse.put_void(), nullptr)) ||
        !mouse)
        return 0;
    DIDATAFORMAT format = mouse_format();
    return SUCCEEDED(mouse->SetDataFormat(&format)) ? 1 : 0;
}

void mouse_end() {
    if (!mouse_used) return;
    ClipCursor(nullptr);
    mouse.reset();
    input_release();
}

void mouse_unacquire() {
    if (mouse) mouse->Unacquire();
}
