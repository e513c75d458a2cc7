// "Ansichtenserie exportieren...": the seven views a shop listing wants of one box, and the
// names of their files.
#pragma once

#include <cstdint>
#include <string>

#include "app/export/stills/box_export.h"

struct set_view {
    const char* suffix;  // after the base name, before the extension
    bool as_shown;       // the view the user composed; the numbers below are then unused
    float turn, tilt;    // the box's angles
    // How many degrees above the box's middle the camera looks from; negative: where the
    // user put it.
    float camera_elevation;
};

constexpr int32_t set_view_count = 7;
extern const set_view set_views[set_view_count];

// The view's file for a typed base name: "Shop\Box" or "Shop\Box.png" as a png gives
// "Shop\Box-vorne.png" for the front.
std::string set_file_name(const std::string& typed, const export_type& type, const set_view& view);
