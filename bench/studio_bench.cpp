// Times a png 4096 export (16 samples, into memory, the backdrop and the floor left out as
// in a transparent export) with the studio look on against off, rounds taken in turn, of
// the start view and of a view from further back that shows the shadow and the mirror
// image, and prints the medians; then the preview's frame of a hardcover against the box's,
// all four look options on. Given a folder it also writes 2048 exports of the second
// view with the look on there as PNG, with the floor (studio.png) and without
// (studio-transparent.png).
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "harness/harness.h"

namespace {

constexpr int rounds = 5;
constexpr int samples = 16;
constexpr int band_rows = 256;
constexpr int large = 4096, medium = 2048;

void hide_floors(bool hide) {
    for (int entity : {6, 7}) engine_library()->ExportHideEntity(entity, hide ? 1 : 0);
}

bool export_into(std::vector<uint32_t>& pixels, int size) {
    pixels.resize(size_t(size) * size);
    for (int first = 0; first < size; first += band_rows)
        if (!engine_library()->RenderCameraRows(0, size, size, samples, first, std::min(band_rows, size - first),
                                                &pixels[size_t(first) * size], size * 4))
            return false;
    return true;
}

double export_seconds(std::vector<uint32_t>& pixels) {
    auto start = std::chrono::steady_clock::now();
    if (!export_into(pixels, large)) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

bool write_png(const std::string& name, const std::vector<uint32_t>& pixels, int size) {
    png_image description{};
    description.version = PNG_IMAGE_VERSION;
    description.width = png_uint_32(size);
    description.height = png_uint_32(size);
    description.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&description, name.c_str(), 0, pixels.data(), 0, nullptr) != 0;
}

// The program's start view with the look on: the box, its shadow and its mirror image.
bool write_pictures(const std::string& folder) {
    std::vector<uint32_t> pixels;
    studio_look(true);
    studio_view_enter(studio_views[0]);
    hide_floors(false);
    bool written = export_into(pixels, medium) && write_png(folder + "\\studio.png", pixels, medium);
    hide_floors(true);
    return written && export_into(pixels, medium) &&
           write_png(folder + "\\studio-transparent.png", pixels, medium);
}

// Export renders of the start turn seen from the view without and with the studio look,
// taken in turn so that the machine's load weighs on both alike; their medians.
void studio_medians(const studio_view& view, double& without, double& with) {
    studio_view_enter(view);
    std::vector<uint32_t> pixels;
    std::vector<double> on, off;
    for (int round = 0; round < rounds; ++round) {
        studio_look(false);
        off.push_back(export_seconds(pixels));
        studio_look(true);
        on.push_back(export_seconds(pixels));
    }
    studio_view_leave(view);
    without = median(off), with = median(on);
}

// A 6 x 9 inch hardcover of 320 pages (157 x 235 x 31 mm at 20 mm a unit) and the box of the
// same extent, each drawn as the preview draws a frame after a change, in turn.
void shape_frame_medians(double& box, double& book) {
    const engine_dll* e = engine_library();
    studio_view_enter(studio_views[0]);
    studio_look(true);
    soft_edges(true);
    e->ResizeEntity(5, 1.55f, 11.75f, 7.85f);
    std::vector<double> boxes, books;
    const auto frame_seconds = [&](float turn) {
        e->RotateEntity(5, turn, 0, 0);
        auto start = std::chrono::steady_clock::now();
        e->RenderWorld();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    for (int round = 0; round < 10 * rounds; ++round) {
        e->EntityShape(5, 0, 0);
        boxes.push_back(frame_seconds(120.0f + round));
        e->EntityShape(5, 2, 20.0f);
        books.push_back(frame_seconds(120.0f + round));
    }
    e->EntityShape(5, 0, 0);
    e->ResizeEntity(5, 5, 5, 5);
    soft_edges(false);
    studio_view_leave(studio_views[0]);
    box = median(boxes), book = median(books);
}

}  // namespace

int main(int argc, char** argv) {
    if (!engine_start()) {
        std::fprintf(stderr, "studio_bench: Engine3D.dll or its screen is not available\n");
        return 1;
    }
    write_picture("model\\land.jpg", filled(1024, 1024, 0xFFFFFF), picture_format::jpeg);
    build_default_scene();
    engine_library()->RotateEntity(5, 121, 0, 0);
    hide_floors(true);
    for (const studio_view& v : studio_views) {
        double without, with;
        studio_medians(v, without, with);
        std::printf("studio_bench: png %d export render of the %s, %d samples, floor left out: studio look on "
                    "%.3f s against off %.3f s, ratio %.2f (the render alone; the whole export's target is in export_bench)\n",
                    large, v.name, samples, with, without, with / without);
    }
    double box, book;
    shape_frame_medians(box, book);
    std::printf("studio_bench: preview frame of a hardcover, all four look options: %.2f ms against the box's "
                "%.2f ms, ratio %.2f (target at most 1.3)\n", book * 1000, box * 1000, book / box);
    if (argc > 1 && !write_pictures(argv[1])) return 1;
    return 0;
}
