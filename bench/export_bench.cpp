// Times the large exports of the start view with six 4000 x 3000 photos chosen, against
// floors measured in the same run:
// - the export render's time per sample against RenderWorld's at 295 x 295;
// - each whole export (face pictures, render, encode, file) against the work no export can
//   skip: libjpeg alone decoding the six photos at the scale the export draws them at, plus
//   libpng (at its defaults) or libjpeg (quality 100, 4:4:4) alone encoding the same picture;
// - the peak memory of a 4096 export above the memory before it;
// - the seven-view set as png 2048 against one png 2048 export, and "Box f\xFCllt das Bild"
//   on against off;
// - the 36-frame spin set as png 2048 (frames, zip, animation, page) against one png 2048
//   export;
// - a hardcover's and a DVD case's png 2048 export against the box's of the same extent.
#include <png.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/export/stills/box_export.h"
#include "app/export/stills/export_atlas.h"
#include "app/export/sets/spin_set.h"
#include "app/export/sets/view_set.h"
#include "app/faces/face_atlas.h"
#include "bench/bench_pictures.h"
#include "bench/export_calls.h"
#include "harness/harness.h"
#include "runtime/core/windows_host.h"
#include "runtime/image/image.h"

#include <psapi.h>

namespace {

constexpr int photo_width = 4000, photo_height = 3000;
constexpr int rounds = 3;
constexpr int export_samples = 16, preview_samples = 4;
// No export may write a larger file than the floor's encoder by more than this.
constexpr double file_target = 1.1;
const export_scene scene_numbers = {0, 0, 303, {6, 7}};

std::string photo_name(int face) { return "photo" + std::to_string(face) + ".jpg"; }

// The smallest eighth of the photo whose short side covers the face's long side, as the
// program decodes it for a face drawn `scale` times the atlas's size.
int needed_eighths(int face, int scale) {
    const face_rectangle& r = face_rectangles[face];
    const int longest = std::max(r.width, r.height) * scale;
    for (int eighths = 1; eighths < 8; ++eighths)
        if (photo_height * eighths / 8 >= longest) return eighths;
    return 8;
}

size_t file_size(const std::string& name) {
    FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) return 0;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size_t(size);
}

// B, G, R, A rows, as the export writes them.
void write_png_rows(const char* name, const std::vector<uint32_t>& pixels, int size) {
    FILE* file = std::fopen(name, "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(size), png_uint_32(size), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = 0; y < size; ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>(&pixels[size_t(y) * size]));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

// The scene as an export of this type draws it: the sharp atlas on the box, the backdrop
// left out of transparent ones. Undone with `on` false.
void export_view(const engine_dll& e, const export_type& type, bool on) {
    for (int entity : scene_numbers.backdrop) e.ExportHideEntity(entity, on && type.transparent ? 1 : 0);
    const int sharp = on ? export_atlas_texture(export_calls(e), scene_numbers.sharp_texture, type.size / 1024) : 0;
    e.ExportMaterialTexture(scene_numbers.box_material, sharp);
}

// The picture an export writes, rendered whole into memory for the floor's encoder.
std::vector<uint32_t> rendered(const engine_dll& e, const export_type& type) {
    std::vector<uint32_t> pixels(size_t(type.size) * type.size);
    export_view(e, type, true);
    e.RenderCameraRows(0, type.size, type.size, export_samples, 0, type.size, pixels.data(), type.size * 4);
    export_view(e, type, false);
    return pixels;
}

double floor_milliseconds(const std::vector<uint32_t>& pixels, const export_type& type) {
    const int scale = std::max(1, type.size / 1024);
    return milliseconds([&] {
        for (int face = 0; face < face_count; ++face) read_jpeg(photo_name(face).c_str(), needed_eighths(face, scale));
        if (type.plugin == plugin_png) write_png_rows("floor.png", pixels, type.size);
        else write_jpeg_full_colour("floor.jpg", pixels, type.size, type.size);
    });
}

void measure_export(const engine_dll& e, const char* label, const export_type& type, double target) {
    const engine_export_calls calls = export_calls(e);
    const std::vector<uint32_t> pixels = rendered(e, type);
    const std::string name = std::string("export") + type.extension;
    std::vector<double> export_times, floor_times;
    for (int round = 0; round < rounds; ++round) {
        export_times.push_back(milliseconds([&] {
            if (export_box(calls, scene_numbers, name.c_str(), type, nullptr, nullptr) != export_failure::none)
                std::printf("export failed\n");
        }));
        floor_times.push_back(floor_milliseconds(pixels, type));
    }
    const double exported = median(export_times), floor = median(floor_times);
    const double size_ratio = double(file_size(name)) / double(file_size(type.plugin == plugin_png ? "floor.png" : "floor.jpg"));
    std::printf("%s: export median %.0f ms, floor %.0f ms, ratio %.2f (target at most %.1f); file %.2f x the floor's (target at most %.1f)\n",
                label, exported, floor, exported / floor, target, size_ratio, file_target);
}

// A png 4096 export of the program's start view with light, shadow, reflection and soft
// edges on against the same export with them off, taken in turn.
void measure_studio_export(const engine_dll& e) {
    const engine_export_calls calls = export_calls(e);
    const export_type& type = export_types[2];
    std::vector<double> on, off;
    studio_view_enter(studio_views[0]);
    for (int round = 0; round < rounds; ++round)
        for (bool look : {false, true}) {
            studio_look(look);
            soft_edges(look);
            (look ? on : off).push_back(milliseconds([&] { export_box(calls, scene_numbers, "studio.png", type, nullptr, nullptr); }));
        }
    studio_look(false);
    soft_edges(false);
    studio_view_leave(studio_views[0]);
    std::printf("png 4096 x 4096 with light, shadow, reflection and soft edges: export median %.0f ms against %.0f ms without, "
                "ratio %.2f (target at most 1.5)\n", median(on), median(off), median(on) / median(off));
}

// The box turned as the program turns it for each view; the camera stays, which costs the
// same.
bool pose_for_bench(int32_t index, void* context) {
    const set_view& view = set_views[index];
    const auto* e = static_cast<const engine_dll*>(context);
    e->RotateEntity(5, view.as_shown ? 120.0f : view.turn, 0, view.as_shown ? 0.0f : view.tilt);
    return true;
}

void measure_view_set(const engine_dll& e) {
    const engine_export_calls calls = export_calls(e);
    const export_type& type = export_types[1];
    std::string paths[set_view_count];
    for (int32_t i = 0; i < set_view_count; ++i) paths[i] = set_file_name("set", type, set_views[i]);
    std::vector<double> set, one;
    for (int round = 0; round < rounds; ++round) {
        int32_t written = 0;
        set.push_back(milliseconds([&] {
            export_box_set(calls, scene_numbers, paths, set_view_count, type, {}, pose_for_bench,
                           nullptr, const_cast<engine_dll*>(&e), written);
        }));
        e.RotateEntity(5, 120, 0, 0);
        one.push_back(milliseconds([&] { export_box(calls, scene_numbers, "one.png", type, nullptr, nullptr); }));
    }
    std::printf("seven-view set, png 2048 x 2048: median %.0f ms against %.0f ms for one export, ratio %.2f "
                "(target at most 5.0)\n", median(set), median(one), median(set) / median(one));
}

bool turn_for_spin(int32_t index, void* context) {
    static_cast<const engine_dll*>(context)->RotateEntity(5, spin_turn(index, spin_default_frames), 0, 0);
    return true;
}

// Once: the set takes as long as some twenty exports. Its frames are filled, so one export
// filled as well is the like-for-like figure beside the plain one.
void measure_spin_set(const engine_dll& e) {
    const engine_export_calls calls = export_calls(e);
    const export_type& type = export_types[1];
    const spin_files files = spin_file_names("spin", type, spin_default_frames);
    export_options filled;
    filled.fill = true;
    const double set = milliseconds([&] {
        if (export_spin_set(calls, scene_numbers, files, type, filled, turn_for_spin, nullptr,
                            const_cast<engine_dll*>(&e)).failure != export_failure::none)
            std::printf("spin set failed\n");
    });
    e.RotateEntity(5, 120, 0, 0);
    std::vector<double> plain, framed;
    for (int round = 0; round < rounds; ++round)
        for (bool fill : {false, true})
            (fill ? framed : plain).push_back(milliseconds([&] {
                export_box(calls, scene_numbers, "one.png", type, nullptr, nullptr, fill ? filled : export_options{});
            }));
    std::printf("36-frame spin set, png 2048 x 2048 with zip, animation and page: %.0f ms against %.0f ms for one "
                "export, ratio %.2f (target at most 14); against %.0f ms for one filled export, ratio %.2f\n",
                set, median(plain), set / median(plain), median(framed), set / median(framed));
}

// "Box f\xFCllt das Bild" on against off, png 2048, with light, shadow and reflection on.
void measure_fill(const engine_dll& e) {
    const engine_export_calls calls = export_calls(e);
    const export_type& type = export_types[1];
    std::vector<double> on, off;
    studio_view_enter(studio_views[0]);
    studio_look(true);
    for (int round = 0; round < rounds; ++round)
        for (bool fill : {false, true}) {
            export_options options;
            options.fill = fill;
            (fill ? on : off).push_back(milliseconds([&] {
                export_box(calls, scene_numbers, "fill.png", type, nullptr, nullptr, options);
            }));
        }
    studio_look(false);
    studio_view_leave(studio_views[0]);
    std::printf("png 2048 x 2048 with the box filling the picture: median %.0f ms against %.0f ms without, "
                "ratio %.2f (target at most 1.1)\n", median(on), median(off), median(on) / median(off));
}

// A book or case against the box of the same extent, png 2048 from the start view with the
// studio look and soft edges on, as the program shows it, in turn.
struct shape_case {
    const char* name;
    int kind;
    float depth, height, width;  // drawn units at 20 mm a unit
};
const shape_case measured_shapes[] = {
    {"a 6 x 9 inch hardcover of 320 pages", 2, 1.55f, 11.75f, 7.85f},  // 157 x 235 x 31 mm
    {"a DVD case under its sleeve", 3, 0.7f, 9.5f, 6.75f},              // 135 x 190 x 14 mm
};

void measure_shape_export(const engine_dll& e, const shape_case& shape) {
    const engine_export_calls calls = export_calls(e);
    const export_type& type = export_types[1];
    constexpr float mm_per_unit = 20.0f;
    std::vector<double> shaped, boxes;
    studio_view_enter(studio_views[0]);
    studio_look(true);
    soft_edges(true);
    e.ResizeEntity(5, shape.depth, shape.height, shape.width);
    // More rounds than the other rows: the two differ little, and a busy machine's noise would
    // otherwise outweigh the difference.
    for (int round = 0; round < 3 * rounds; ++round)
        for (int kind : {0, shape.kind}) {
            e.EntityShape(5, kind, mm_per_unit);
            (kind ? shaped : boxes).push_back(milliseconds([&] {
                export_box(calls, scene_numbers, "book.png", type, nullptr, nullptr);
            }));
        }
    e.EntityShape(5, 0, 0);
    e.ResizeEntity(5, 5, 5, 5);
    soft_edges(false);
    studio_look(false);
    studio_view_leave(studio_views[0]);
    std::printf("png 2048 x 2048 of %s: export median %.0f ms against %.0f ms for the box of its extent, "
                "ratio %.2f (target at most 1.2)\n",
                shape.name, median(shaped), median(boxes), median(shaped) / median(boxes));
}

// Time per sample of RenderWorld at 295 x 295 against the render of a png 2048 export.
void measure_render(const engine_dll& e) {
    std::vector<double> preview_times, export_times;
    std::vector<uint32_t> pixels(size_t(2048) * 2048);
    export_view(e, export_types[1], true);
    for (int round = 0; round < 50; ++round) {
        e.CameraLocate(0, 0, 0, 47);  // a change all the same: the next render is full
        preview_times.push_back(milliseconds([&] { e.RenderWorld(); }));
        if (round % 10 == 0)
            export_times.push_back(milliseconds([&] {
                e.RenderCameraRows(0, 2048, 2048, export_samples, 0, 2048, pixels.data(), 2048 * 4);
            }));
    }
    export_view(e, export_types[1], false);
    const double preview = median(preview_times) / (295.0 * 295 * preview_samples);
    const double exported = median(export_times) / (2048.0 * 2048 * export_samples);
    std::printf("export render, png 2048 x 2048 with %d samples: %.2f ns per sample; RenderWorld at 295 x 295 "
                "with %d: %.2f ns per sample; ratio %.2f (target at most 0.8)\n",
                export_samples, exported * 1e6, preview_samples, preview * 1e6, exported / preview);
}

// The working set sampled while the export runs.
void measure_memory(const engine_dll& e) {
    auto working_set = [] {
        PROCESS_MEMORY_COUNTERS counters{};
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        return double(counters.WorkingSetSize);
    };
    const double before = working_set();
    std::atomic<bool> done{false};
    double peak = before;
    std::thread sampler([&] {
        while (!done) {
            peak = std::max(peak, working_set());
            Sleep(1);
        }
    });
    export_box(export_calls(e), scene_numbers, "export.png", export_types[2], nullptr, nullptr);
    done = true;
    sampler.join();
    std::printf("png 4096 x 4096: peak memory %.0f MiB above the %.0f MiB before it (target at most 256 MiB)\n",
                (peak - before) / 1048576, before / 1048576);
}

}  // namespace

int main() {
    start_image_runtime();
    if (!engine_start()) {
        std::fprintf(stderr, "export_bench: Engine3D.dll or its screen is not available\n");
        return 1;
    }
    const engine_dll& e = *engine_library();
    write_picture("model\\land.jpg", filled(1024, 1024, 0xFFFFFF), picture_format::jpeg);
    build_default_scene();
    for (int face = 0; face < face_count; ++face) {
        write_jpeg(photo_name(face).c_str(), make_photo(photo_width, photo_height, 777u + face), 90);
        if (!compose_face(photo_name(face).c_str(), face)) std::printf("compose_face failed\n");
    }
    measure_render(e);
    measure_export(e, "png 2048 x 2048", export_types[1], 0.5);
    measure_export(e, "png 4096 x 4096", export_types[2], 0.5);
    measure_export(e, "jpg 2048 x 2048", export_types[0], 1.3);
    measure_memory(e);
    measure_studio_export(e);
    measure_view_set(e);
    measure_spin_set(e);
    measure_fill(e);
    for (const shape_case& shape : measured_shapes) measure_shape_export(e, shape);
    return 0;
}
