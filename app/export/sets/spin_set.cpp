// The frames come from the set loop of the large exports, each written behind the next one's
// render and then handed to the animation, which encodes on its own thread.
#include "app/export/sets/spin_set.h"

#include <cstdio>
#include <memory>

#include "app/export/sets/spin_animation.h"
#include "app/export/sets/spin_page.h"
#include "app/export/sets/stored_zip.h"

namespace {

constexpr float front_turn = 90;

void animation_frame(int32_t, const uint32_t* pixels, int32_t size, void* context) {
    static_cast<spin_animation*>(context)->take_frame(pixels, size);
}

// The part of the path before the type's extension.
std::string base_of(const std::string& typed, const export_type& type) {
    const std::string file = export_file_name(typed, type);
    return file.substr(0, file.find_last_of('.'));
}

// The name without folder and extension.
std::string title_of(const std::string& path) {
    const std::string name = path.substr(path.find_last_of("\\/") + 1);
    return name.substr(0, name.find_last_of('.'));
}

// Each of the files made from the frames answers its own cause; true when `file` failed.
bool failed(spin_outcome& outcome, const std::string& file, write_failure cause) {
    if (cause == write_failure::none) return false;
    outcome.failure = export_failure::not_written;
    outcome.cause = cause;
    outcome.failed_file = file;
    return true;
}

}  // namespace

bool spin_frame_count_allowed(int32_t frames) {
    for (int32_t allowed : spin_frame_counts)
        if (frames == allowed) return true;
    return false;
}

spin_files spin_file_names(const std::string& typed, const export_type& type, int32_t frames) {
    const std::string base = base_of(typed, type);
    const char* const pattern = frames > 99 ? "-%03d" : "-%02d";
    spin_files files;
    for (int32_t frame = 1; frame <= frames; ++frame) {
        char number[16];
        std::snprintf(number, sizeof number, pattern, int(frame));
        files.frames.push_back(base + number + type.extension);
    }
    files.zip = base + ".zip";
    files.animation = base + ".webp";
    files.page = base + ".html";
    return files;
}

float spin_turn(int32_t frame, int32_t frames) { return front_turn + 360.0f * float(frame) / float(frames); }

spin_outcome export_spin_set(const engine_export_calls& engine, const export_scene& scene, const spin_files& files,
                             const export_type& type, export_options options, export_pose pose,
                             export_progress progress, void* context) {
    const int32_t count = int32_t(files.frames.size());
    const std::unique_ptr<spin_animation> animation =
        files.animation.empty() ? nullptr : std::make_unique<spin_animation>(count);
    spin_outcome outcome;
    if (animation && !animation->started()) {
        outcome.failure = export_failure::no_thread;
        outcome.failed_file = files.frames.front();
        return outcome;
    }
    options.one_window = true;
    if (animation) {
        options.frame_written = animation_frame;
        options.frame_context = animation.get();
    }
    outcome.failure = export_box_set(engine, scene, files.frames.data(), count, type, options, pose, progress,
                                     context, outcome.written);
    if (outcome.failure != export_failure::none) {
        outcome.failed_file = files.frames[size_t(outcome.written)];
        outcome.cause = write_failure_of_save(image_last_save_failure(), outcome.failed_file);
    }
    if (outcome.failure != export_failure::none || outcome.written < count) return outcome;
    if (failed(outcome, files.zip, write_stored_zip(files.zip, files.frames)) || !animation) return outcome;
    if (failed(outcome, files.animation, animation->write(files.animation.c_str()))) return outcome;
    failed(outcome, files.page, write_spin_page(files.page, title_of(files.page), files.frames));
    return outcome;
}
