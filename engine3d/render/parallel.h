// Splitting a frame's work between the caller and one pool thread of the system; nothing
// of the engine runs on that thread once the call has returned.
#pragma once

#include <cstdint>

namespace engine3d {

constexpr int32_t work_parts = 2;

// Runs work(data, 0) here and work(data, 1) on a pool thread, and returns when both ended.
void run_in_parts(void (*work)(void* data, int32_t part), void* data);

}  // namespace engine3d
