// Times a face choice on an 868 x 1023 atlas against the floor of the same run: decoding
// the photo and the atlas whole and encoding the atlas at quality 100 with libjpeg
// directly. A 2048 x 1536 photo times compose_face alone; a 4000 x 3000 phone photo times
// compose_face and the engine's reload of the rewritten atlas, as the program does them.
#include <cstdio>
#include <vector>

#include "app/faces/face_atlas.h"
#include "bench/bench_pictures.h"
#include "harness/harness.h"

#include "runtime/core/windows_host.h"

namespace {

constexpr const char* photo_file = "photo.jpg";
constexpr const char* atlas_file = "model\\cube1.jpg";
constexpr int box_texture = 306;

using archive_call = int(__stdcall*)(const char*, int);
using texture_call = int(__stdcall*)(int, const char*);
using free_call = int(__stdcall*)(int);

// The engine's texture entry points, from Engine3D.dll beside the benchmark.
struct engine_textures {
    archive_call Add3DArchive = nullptr;
    texture_call LoadTexture = nullptr;
    free_call FreeTexture = nullptr;

    bool load() {
        HMODULE engine = LoadLibraryA("Engine3D.dll");
        if (!engine) return false;
        auto get = [&](const char* name) { return reinterpret_cast<void (*)()>(GetProcAddress(engine, name)); };
        Add3DArchive = reinterpret_cast<archive_call>(get("Add3DArchive"));
        LoadTexture = reinterpret_cast<texture_call>(get("LoadTexture"));
        FreeTexture = reinterpret_cast<free_call>(get("FreeTexture"));
        return Add3DArchive && LoadTexture && FreeTexture && Add3DArchive("model\\", 0);
    }
};

struct face_choice {
    int photo_width, photo_height, rounds;
    const engine_textures* reload;  // null: compose_face alone
    double target;
};

void measure(const face_choice& choice) {
    write_jpeg(photo_file, make_photo(choice.photo_width, choice.photo_height), 90);
    write_jpeg(atlas_file, make_photo(atlas_width, atlas_height), 100);
    // Rounds alternate between the two, so that a busy machine slows both alike; the
    // first round of each only warms caches and is not counted.
    std::vector<double> compose_times, floor_times;
    for (int round = 0; round <= choice.rounds; ++round) {
        double compose = milliseconds([&] {
            if (!compose_face(photo_file, round % face_count)) std::printf("compose_face failed\n");
            if (choice.reload) {
                choice.reload->FreeTexture(box_texture);
                if (!choice.reload->LoadTexture(box_texture, "cube1.jpg")) std::printf("LoadTexture failed\n");
            }
        });
        double floor = milliseconds([] {
            read_jpeg(photo_file);
            write_jpeg("floor.jpg", read_jpeg(atlas_file), 100);
        });
        if (round == 0) continue;
        compose_times.push_back(compose);
        floor_times.push_back(floor);
    }
    double compose = median(compose_times), floor = median(floor_times);
    std::printf("face choice, %d x %d photo: compose_face%s median %.1f ms\n", choice.photo_width,
                choice.photo_height, choice.reload ? " + texture reload" : "", compose);
    std::printf("  floor (decode photo and atlas whole, encode the atlas at quality 100): median %.1f ms\n",
                floor);
    std::printf("  ratio: %.2f (target at most %.2f)\n", compose / floor, choice.target);
}

}  // namespace

int main() {
    start_image_runtime();
    CreateDirectoryA("model", nullptr);
    engine_textures engine;
    if (!engine.load()) {
        std::fprintf(stderr, "face_atlas_bench: Engine3D.dll is not available\n");
        return 1;
    }
    measure({2048, 1536, 25, nullptr, 1.5});
    measure({4000, 3000, 11, &engine, 0.8});
    return 0;
}
