// What each control of the main window does when it reports an event.
#pragma once

#include <cstdint>

// Runs the handler of the gadget; numbers without one are ignored.
void handle_gadget_event(int32_t gadget_number);
// The floor in this colour (0x00BBGGRR): its texture, the swatch and the scene.
void set_floor_colour(uint32_t colour);
// The preview as it is now, as a 295 x 295 JPEG; a failure is told and answers false.
bool save_snapshot_file(const char* path);
