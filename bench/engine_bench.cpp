// Times RenderWorld on the program's default scene in the 295 x 295 preview, drawn in full
// (the scene touched before each round) and reused (nothing changed), and drawn in full with
// the studio look (light, shadow, mirror image, soft edges) against without, and soft edges
// on against off with the other three on, and prints the medians;
// given a file name it also writes the rendered picture there as PNG.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <png.h>

#include "harness/harness.h"

namespace {

constexpr int rounds = 300;

bool write_png(const char* name, const picture& image) {
    png_image description{};
    description.version = PNG_IMAGE_VERSION;
    description.width = png_uint_32(image.width);
    description.height = png_uint_32(image.height);
    description.format = PNG_FORMAT_BGRA;
    std::vector<uint32_t> opaque(image.pixels);
    for (uint32_t& pixel : opaque) pixel |= 0xFF000000;
    return png_image_write_to_file(&description, name, 0, opaque.data(), 0, nullptr) != 0;
}

double median(std::vector<double>& times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

// Milliseconds of one RenderWorld after before().
template <typename Before>
double timed_render(Before before) {
    before();
    auto start = std::chrono::steady_clock::now();
    engine_library()->RenderWorld();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

template <typename Before>
double median_render(Before before) {
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) times.push_back(timed_render(before));
    return median(times);
}

// Two settings of the studio look compared: each sets the whole look before a render.
struct look_pair {
    const char* name;
    void (*without)();
    void (*with)();
};

const look_pair all_four = {"studio look (light, shadow, reflection, soft edges) on against all off",
                            [] { studio_look(false), soft_edges(false); }, [] { studio_look(true), soft_edges(true); }};
const look_pair rounding = {"soft edges on against off, light, shadow and reflection on",
                            [] { studio_look(true), soft_edges(false); }, [] { studio_look(true), soft_edges(true); }};

// Full renders of the start turn seen from the view without and with, taken in turn so
// that the machine's load weighs on both alike; their medians.
void studio_medians(const studio_view& view, const look_pair& looks, double& without, double& with) {
    const engine_dll* e = engine_library();
    e->RotateEntity(5, 121, 0, 0);
    studio_view_enter(view);
    std::vector<double> off, on;
    for (int round = 0; round < rounds; ++round) {
        off.push_back(timed_render(looks.without));
        on.push_back(timed_render(looks.with));
    }
    studio_look(false);
    soft_edges(false);
    studio_view_leave(view);
    e->RotateEntity(5, 120, 0, 0);
    e->CameraLocate(0, 0, 0, 47);
    without = median(off), with = median(on);
}

}  // namespace

int main(int argc, char** argv) {
    // The program writes a white floor texture at every start.
    if (!engine_start()) {
        std::fprintf(stderr, "engine_bench: Engine3D.dll or its screen is not available\n");
        return 1;
    }
    write_picture("model\\land.jpg", filled(1024, 1024, 0xFFFFFF), picture_format::jpeg);
    build_default_scene();
    const engine_dll* e = engine_library();
    // The camera set to where it stands: a change all the same, so the next render is full.
    double full = median_render([e] { e->CameraLocate(0, 0, 0, 47); });
    double reused = median_render([] {});
    std::printf("engine_bench: RenderWorld, default scene at %d x %d: full median %.3f ms, reused frame median %.3f ms\n",
                preview_size, preview_size, full, reused);
    for (const studio_view& v : studio_views) {
        double plain, studio;
        studio_medians(v, all_four, plain, studio);
        std::printf("engine_bench: %s drawn in full, %s: %.3f ms against %.3f ms, "
                    "ratio %.2f (target at most 2.0 and 2 ms)\n", v.name, all_four.name, studio, plain, studio / plain);
    }
    double sharp, rounded;
    studio_medians(studio_views[0], rounding, sharp, rounded);
    std::printf("engine_bench: %s drawn in full, %s: %.3f ms against %.3f ms, ratio %.2f (target at most 1.3)\n",
                studio_views[0].name, rounding.name, rounded, sharp, rounded / sharp);
    if (argc > 1 && !write_png(argv[1], render_picture())) return 1;
    return 0;
}
