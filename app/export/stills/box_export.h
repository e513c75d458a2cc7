// Exports of the preview's view at shop-page sizes: the same camera, box and angles drawn
// large and smooth by the engine, faces chosen in this run drawn sharp from their own
// pictures, written a band of rows at a time. Window-free, so benchmarks run exactly this.
#pragma once

#include <cstdint>
#include <string>

#include "app/engine/engine.h"

struct export_type {
    int32_t size;  // pixels on each side
    uint32_t plugin;
    bool transparent;  // backdrop and floor left out, alpha kept
    const char* extension;
    // Written into the file: a 2048 and a 4096 export print at the same size, about 35 cm.
    int32_t pixels_per_inch;
};

// The save requester's file types after the snapshot's own, in the requester's order.
constexpr int32_t export_type_count = 3;
extern const export_type export_types[export_type_count];
// The type of that place in the list, or null beyond it.
inline const export_type* export_type_at(int32_t index) {
    return index >= 0 && index < export_type_count ? &export_types[index] : nullptr;
}

// The typed name with the type's extension: "Box.jpg" as PNG becomes "Box.png", "Box"
// becomes "Box.png"; a name that already ends in it stays as it is.
std::string export_file_name(const std::string& typed, const export_type& type);

// The engine's numbers of what an export draws, changes and leaves out.
struct export_scene {
    int camera;
    int box_material;
    int sharp_texture;   // a free texture number for the sharp atlas
    int backdrop[2];     // the entities a transparent export leaves out
};

// no_preview: the preview's screen could not be opened, so there is no camera to draw from.
// picture_unreadable: a chosen picture could not be read where every one was needed.
// no_thread: a thread the export works on could not be started; its file was not begun.
enum class export_failure { none, not_written, no_memory, no_preview, picture_unreadable, no_thread };

// Told after each band: how much of the picture is done, 0 to 100.
using export_progress = void (*)(int32_t percent, void* context);

// Sees a set's file `file` once it is written whole: `size` rows of `size` B, G, R, A pixels.
// Called on the thread that wrote it.
using export_frame_seen = void (*)(int32_t file, const uint32_t* pixels, int32_t size, void* context);

// How many times the stored atlas's size the export draws its faces at.
int32_t export_atlas_scale(const export_type& type);

struct export_options {
    // Without it a face whose chosen picture cannot be read shows what the atlas file shows;
    // with it the export writes nothing.
    bool every_picture = false;
    // The box with its shadow and mirror image fills the picture ("Box f\xFCllt das Bild").
    bool fill = false;
    // 0x00BBGGRR: an opaque export shows it flat where the floor is.
    uint32_t floor_colour = 0xFFFFFF;
    // Without fill the camera's view is widened and moved where it would cut the box, as
    // every view of a set must show it whole.
    bool whole = false;
    // A set's files share one window in which the box stands still (`frame_views`), filled
    // or not as `fill` says.
    bool one_window = false;
    // With it, each file of a set is rendered whole into memory and written on a thread of
    // its own while the next one renders, then shown to it.
    export_frame_seen frame_written = nullptr;
    void* frame_context = nullptr;
};

export_failure export_box(const engine_export_calls& engine, const export_scene& scene, const char* path,
                          const export_type& type, export_progress progress, void* context,
                          export_options options = {});

// Called before each file of a set: puts the scene into view `index`; false stops the set
// there.
using export_pose = bool (*)(int32_t index, void* context);

// The files of a set, one view each, with the pictures decoded once for all of them. Stops
// at the first failure; `written` counts the files written whole before it.
export_failure export_box_set(const engine_export_calls& engine, const export_scene& scene,
                              const std::string* paths, int32_t count, const export_type& type,
                              export_options options, export_pose pose, export_progress progress,
                              void* context, int32_t& written);
