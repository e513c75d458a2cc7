// What each control of the main window does when it reports an event.
#pragma once

#include <cstdint>

// Runs the handler of the gadget; numbers without one are ignored.
void handle_gadget_event(int32_t gadget_number);
