// The spin set's page: one HTML file beside the frames that shows them, turns the box as a
// mouse or a finger drags across it, and turns it by itself until touched.
#pragma once

#include <string>
#include <vector>

#include "app/export/write_failure.h"

// `frames`: the frames' paths; the page names them bare, as its neighbours.
write_failure write_spin_page(const std::string& path, const std::string& title, const std::vector<std::string>& frames);
