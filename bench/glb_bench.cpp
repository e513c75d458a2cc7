// Times "3D-Modell exportieren (glb)" with six 4000 x 3000 photos chosen, each made 2048
// pixels long and encoded again, against the floor of the same run: libjpeg alone reading
// (decoding) the six photos whole.
#include <cstdio>
#include <string>
#include <vector>

#include "app/export/model/glb_export.h"
#include "app/faces/face_atlas.h"
#include "bench/bench_pictures.h"
#include "harness/harness.h"

namespace {

constexpr int photo_width = 4000, photo_height = 3000;
constexpr int rounds = 3;
constexpr double target = 1.5;
constexpr box_size tea_box = {140, 180, 80};

std::string photo_name(int face) { return "glb_photo" + std::to_string(face) + ".jpg"; }

long file_size(const char* name) {
    FILE* file = std::fopen(name, "rb");
    if (!file) return 0;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}

}  // namespace

int main() {
    start_image_runtime();
    for (int face = 0; face < face_count; ++face) {
        write_jpeg(photo_name(face).c_str(), make_photo(photo_width, photo_height, 777 + uint32_t(face)), 90);
        face_picture_choose(face, photo_name(face).c_str());
    }
    // Rounds alternate between the two, so that a busy machine slows both alike; the first
    // round only warms the caches.
    std::vector<double> exports, floors;
    for (int round = 0; round <= rounds; ++round) {
        const double exported = milliseconds([] {
            if (export_glb("bench.glb", tea_box, true) != export_failure::none) std::printf("glb export failed\n");
        });
        const double floor = milliseconds([] {
            for (int face = 0; face < face_count; ++face) read_jpeg(photo_name(face).c_str());
        });
        if (round == 0) continue;
        exports.push_back(exported);
        floors.push_back(floor);
    }
    std::printf("glb export with six %d x %d photos: median %.0f ms against %.0f ms reading the six, ratio %.2f "
                "(target at most %.1f); file %.1f MB\n",
                photo_width, photo_height, median(exports), median(floors), median(exports) / median(floors), target,
                double(file_size("bench.glb")) / 1e6);
}
