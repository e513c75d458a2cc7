// The colour requester. It opens in its small form at the given colour; the custom
// colours the user defines are kept for the whole run.
#include "runtime/gui/host_extras.h"

namespace {

constexpr int custom_colour_count = 16;
COLORREF custom_colours[custom_colour_count] = {};

}  // namespace

uint32_t requester_color(uint32_t initial) {
    COLORREF start = initial == color_none ? 0 : initial;
    custom_colours[0] = start;
    CHOOSECOLORA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = requester_owner();
    request.rgbResult = start;
    request.lpCustColors = custom_colours;
    request.Flags = CC_RGBINIT;
    requester_disable_others();
    bool confirmed = ChooseColorA(&request) != 0;
    requester_enable_others();
    return confirmed ? request.rgbResult : color_none;
}
