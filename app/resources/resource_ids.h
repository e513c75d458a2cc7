// Resources built into Tessaryn.exe, and the way to reach the raw ones.
#pragma once

#define TESSARYN_ICON 1
#define TESSARYN_SAVE_BUTTON_PICTURE 101

#ifndef RC_INVOKED
#include <cstddef>
#include <cstdint>

constexpr int save_button_picture = TESSARYN_SAVE_BUTTON_PICTURE;

struct resource_block {
    const uint8_t* address;
    size_t size;
};

// A raw data resource of the program; {nullptr, 0} when it is missing.
resource_block embedded_resource(int id);
#endif
