// Times RenderWorld on the program's default scene in the 295 x 295 preview, drawn in full
// (the scene touched before each round) and reused (nothing changed), and prints the
// medians; given a file name it also writes the rendered picture there as PNG.
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

template <typename Before>
double median_render(Before before) {
    const engine_dll* e = engine_library();
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        before();
        auto start = std::chrono::steady_clock::now();
        e->RenderWorld();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + rounds / 2, times.end());
    return times[rounds / 2];
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
    if (argc > 1 && !write_png(argv[1], render_picture())) return 1;
    return 0;
}
