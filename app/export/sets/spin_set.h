// "Rundumansicht exportieren...": the box turned once about its vertical axis before a fixed
// camera, one frame per step, and what a shop and a page make of them: the frames in a zip,
// a looping animation and a page that turns the box. Window-free, so the benchmark runs it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/export/stills/box_export.h"
#include "app/export/write_failure.h"

constexpr int32_t spin_frame_counts[] = {24, 36, 48, 72};
constexpr int32_t spin_default_frames = 36;
// The camera looks down at the box from this many degrees above its middle.
constexpr float spin_camera_elevation = 15;

struct spin_files {
    std::vector<std::string> frames;  // NAME-01 ... NAME-36: two digits, three past 99
    std::string zip, animation, page;  // no animation or page where their names are empty
};

// The files of a set under a typed base name: "Shop\Box" or "Shop\Box.png" as a png.
spin_files spin_file_names(const std::string& typed, const export_type& type, int32_t frames);
// The box's turn for a frame: the front towards the camera first (90 degrees), then
// counter-clockwise as seen from above, which the engine's growing turn angle is.
float spin_turn(int32_t frame, int32_t frames);
bool spin_frame_count_allowed(int32_t frames);

struct spin_outcome {
    export_failure failure = export_failure::none;
    // What the writer of `failed_file` found, where failure is not_written.
    write_failure cause = write_failure::none;
    int32_t written = 0;  // frames written whole
    std::string failed_file;
};

// Writes the frames with the pictures decoded once, the box in one window for all of them
// (filled or at the camera's scale as `options.fill` says), then the zip, the animation and
// the page (those named); a set stopped by `pose` writes none of those three. Without the
// animation's thread no frame is begun. `pose` turns the box for a frame with `spin_turn`.
spin_outcome export_spin_set(const engine_export_calls& engine, const export_scene& scene, const spin_files& files,
                             const export_type& type, export_options options, export_pose pose,
                             export_progress progress, void* context);
