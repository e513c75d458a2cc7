// An export: the sharp atlas handed to the engine, the scene changed for the export alone,
// then the picture rendered and written a band at a time, so that even a 4096-pixel PNG
// needs little more memory than the atlas.
#include "app/export/stills/box_export.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <vector>

#include "app/export/stills/box_framing.h"
#include "app/export/stills/export_atlas.h"
#include "app/export/sets/written_behind.h"
#include "runtime/image/image.h"

const export_type export_types[export_type_count] = {
    {2048, plugin_jpeg, false, ".jpg", 150},
    {2048, plugin_png, true, ".png", 150},
    {4096, plugin_png, true, ".png", 300},
};

namespace {

// At least 16 samples per pixel: the preview's 4 leave steps on a large picture's edges.
constexpr int32_t export_samples = 16;
constexpr int32_t band_rows = 256;
// Export pixels per step of the atlas's scale: a 4096 export draws its faces from an atlas
// four times as large, about one texel per pixel on a box that fills half the picture; a
// size between steps takes the larger scale.
constexpr int32_t pixels_per_atlas_scale = 1024;

std::string lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool is_picture_extension(const std::string& extension) {
    return extension == ".jpg" || extension == ".jpeg" || extension == ".png";
}

constexpr int no_backdrop = -1;

// Everything an export changes in the engine, given back when it ends however it ends. The
// floor is one flat colour behind the box: an opaque export has the engine fill it in rather
// than draw the floor's planes, each pixel sixteen times.
class export_changes {
public:
    export_changes(const engine_export_calls& engine, const export_scene& scene, const export_type& type,
                   uint32_t floor_colour, int texture)
        : engine_(engine), scene_(scene), texture_(texture) {
        if (texture_) engine_.ExportMaterialTexture(scene_.box_material, texture_);
        for (int entity : scene_.backdrop) engine_.ExportHideEntity(entity, 1);
        if (!type.transparent) engine_.ExportFlatBackdrop(int(floor_colour));
    }
    ~export_changes() {
        for (int entity : scene_.backdrop) engine_.ExportHideEntity(entity, 0);
        engine_.ExportFlatBackdrop(no_backdrop);
        engine_.ExportViewWindow(whole_view.left, whole_view.top, whole_view.width, whole_view.height);
        if (!texture_) return;
        engine_.ExportMaterialTexture(scene_.box_material, 0);
        engine_.FreeTexture(scene_.sharp_texture);
    }
    export_changes(const export_changes&) = delete;
    export_changes& operator=(const export_changes&) = delete;

private:
    const engine_export_calls& engine_;
    const export_scene& scene_;
    int texture_;
};

int flat_backdrop(const export_type& type, const export_options& options) {
    return type.transparent ? no_backdrop : int(options.floor_colour);
}

// The camera is there only once the preview's screen was opened. A one-pixel view tells its
// absence apart from a band that finds no memory, before anything is built or written.
bool camera_draws(const engine_export_calls& engine, const export_scene& scene) {
    uint32_t pixel = 0;
    return engine.RenderCameraRows(scene.camera, 1, 1, export_samples, 0, 1, &pixel, sizeof pixel) == 1;
}

bool reserve(std::vector<uint32_t>& pixels, size_t count) {
    try {
        pixels.resize(count);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Renders the picture a band at a time into `pixels`, from its start, or into one band that
// `writer` takes each time when there is a writer.
export_failure render_bands(const engine_export_calls& engine, const export_scene& scene, image_writer* writer,
                            std::vector<uint32_t>& pixels, int32_t size, export_progress progress, void* context) {
    if (!reserve(pixels, size_t(size) * (writer ? band_rows : size))) return export_failure::no_memory;
    const int32_t pitch = size * 4;
    for (int32_t first = 0; first < size; first += band_rows) {
        const int32_t rows = std::min(band_rows, size - first);
        uint32_t* band = writer ? pixels.data() : pixels.data() + size_t(first) * size;
        if (!engine.RenderCameraRows(scene.camera, size, size, export_samples, first, rows, band, pitch))
            return export_failure::no_memory;
        if (writer && !image_writer_rows(writer, reinterpret_cast<const uint8_t*>(band), pitch, rows))
            return export_failure::not_written;
        if (progress) progress((first + rows) * 100 / size, context);
    }
    return export_failure::none;
}

}  // namespace

std::string export_file_name(const std::string& typed, const export_type& type) {
    const size_t name_start = typed.find_last_of("\\/") + 1;  // 0 without a folder
    const size_t dot = typed.find_last_of('.');
    if (dot == std::string::npos || dot < name_start) return typed + type.extension;
    const std::string extension = lower(typed.substr(dot));
    if (extension == type.extension || (type.plugin == plugin_jpeg && extension == ".jpeg"))
        return typed;
    if (is_picture_extension(extension)) return typed.substr(0, dot) + type.extension;
    return typed + type.extension;
}

int32_t export_atlas_scale(const export_type& type) {
    return std::max(1, (type.size + pixels_per_atlas_scale - 1) / pixels_per_atlas_scale);
}

namespace {

export_failure write_view(const engine_export_calls& engine, const export_scene& scene, const char* path,
                          const export_type& type, const export_options& options, export_progress progress,
                          void* context) {
    if (!options.one_window) {
        if (options.fill) frame_box(engine, scene, flat_backdrop(type, options));
        else if (options.whole) hold_box(engine, scene, flat_backdrop(type, options));
    }
    image_writer* writer = image_writer_open(path, type.plugin, type.size, type.size, type.pixels_per_inch);
    if (!writer) return export_failure::not_written;
    std::vector<uint32_t> band;
    export_failure failure = render_bands(engine, scene, writer, band, type.size, progress, context);
    const bool written = image_writer_close(writer, failure == export_failure::none) == 1;
    if (failure == export_failure::none && !written) failure = export_failure::not_written;
    return failure;
}

// Two whole pictures in memory: the one rendering and the one written behind it. A file that
// could not be written is found when the next one is rendered; `written` counts those before.
export_failure write_views_behind(const engine_export_calls& engine, const export_scene& scene,
                                  const std::string* paths, int32_t count, const export_type& type,
                                  const export_options& options, export_pose pose, export_progress progress,
                                  void* context, int32_t& written) {
    written_behind behind(type, options.frame_written, options.frame_context);
    const auto settle = [&] {
        if (!behind.writing()) return export_failure::none;
        if (behind.finish() != export_failure::none) return export_failure::not_written;
        ++written;
        return export_failure::none;
    };
    std::vector<uint32_t> pixels;
    for (int32_t file = 0; file < count && pose(file, context); ++file) {
        const export_failure rendered = render_bands(engine, scene, nullptr, pixels, type.size, progress, context);
        const export_failure before = settle();
        if (before != export_failure::none) return before;
        if (rendered != export_failure::none) return rendered;
        if (!behind.start(paths[file], file, pixels)) return export_failure::no_thread;
    }
    return settle();
}

bool no_pose(int32_t, void*) { return true; }

}  // namespace

// Without memory for the sharp atlas the export still shows the atlas the preview shows.
export_failure export_box_set(const engine_export_calls& engine, const export_scene& scene,
                              const std::string* paths, int32_t count, const export_type& type,
                              export_options options, export_pose pose, export_progress progress,
                              void* context, int32_t& written) {
    written = 0;
    if (!camera_draws(engine, scene)) return export_failure::no_preview;
    const int32_t scale = export_atlas_scale(type);
    int32_t unread = 0;
    export_changes changes(engine, scene, type, options.floor_colour,
                           export_atlas_texture(engine, scene.sharp_texture, scale, &unread));
    if (options.every_picture && unread > 0) return export_failure::picture_unreadable;
    if (options.one_window &&
        !frame_views(engine, scene, flat_backdrop(type, options), options.fill, pose, context, count))
        return export_failure::none;
    if (options.frame_written)
        return write_views_behind(engine, scene, paths, count, type, options, pose, progress, context, written);
    for (; written < count && pose(written, context); ++written) {
        const export_failure failure =
            write_view(engine, scene, paths[written].c_str(), type, options, progress, context);
        if (failure != export_failure::none) return failure;
    }
    return export_failure::none;
}

export_failure export_box(const engine_export_calls& engine, const export_scene& scene, const char* path,
                          const export_type& type, export_progress progress, void* context,
                          export_options options) {
    const std::string file = path;
    int32_t written = 0;
    return export_box_set(engine, scene, &file, 1, type, options, no_pose, progress, context, written);
}
