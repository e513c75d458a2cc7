// Times compose_face on an 868 x 1023 atlas with a 2048 x 1536 JPEG photo against the
// floor: decoding both JPEGs and encoding the atlas at quality 100 with libjpeg directly.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "app/face_atlas.h"
#include "harness/harness.h"

#include "runtime/core/windows_host.h"

namespace {

constexpr int photo_width = 2048, photo_height = 1536;
constexpr int rounds = 25;
constexpr const char* photo_file = "photo.jpg";
constexpr const char* atlas_file = "model\\cube1.jpg";

struct rgb_picture {
    int width, height;
    std::vector<uint8_t> samples;  // R, G, B, top row first
};

// Smooth shapes with fine texture, so the encoder sees something like a photograph.
rgb_picture make_photo(int width, int height) {
    rgb_picture picture{width, height, std::vector<uint8_t>(size_t(width) * height * 3)};
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            double wave = std::sin(x * 0.013) * std::cos(y * 0.021) + std::sin((x + y) * 0.0041);
            int grain = int(noise >> 28) - 8;
            uint8_t* pixel = &picture.samples[(size_t(y) * width + x) * 3];
            pixel[0] = uint8_t(std::clamp(128 + int(wave * 60) + grain, 0, 255));
            pixel[1] = uint8_t(std::clamp(100 + (x * 80 / width) + grain, 0, 255));
            pixel[2] = uint8_t(std::clamp(90 + (y * 120 / height) - int(wave * 30) + grain, 0, 255));
        }
    return picture;
}

void write_jpeg(const char* name, const rgb_picture& picture, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    FILE* file = std::fopen(name, "wb");
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = picture.width;
    cinfo.image_height = picture.height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, FALSE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(&picture.samples[size_t(cinfo.next_scanline) * picture.width * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

rgb_picture read_jpeg(const char* name) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    FILE* file = std::fopen(name, "rb");
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    rgb_picture picture{int(cinfo.output_width), int(cinfo.output_height),
                        std::vector<uint8_t>(size_t(cinfo.output_width) * cinfo.output_height * 3)};
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &picture.samples[size_t(cinfo.output_scanline) * picture.width * 3];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    return picture;
}

template <typename Work>
double milliseconds(Work work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    start_image_runtime();
    CreateDirectoryA("model", nullptr);
    write_jpeg(photo_file, make_photo(photo_width, photo_height), 90);
    write_jpeg(atlas_file, make_photo(atlas_width, atlas_height), 100);

    // Rounds alternate between the two, so that a busy machine slows both alike; the
    // first round of each only warms caches and is not counted.
    std::vector<double> compose_times, floor_times;
    for (int round = 0; round <= rounds; ++round) {
        double compose = milliseconds([&] {
            if (!compose_face(photo_file, round % face_count)) std::printf("compose_face failed\n");
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
    std::printf("compose_face, %d x %d atlas, %d x %d photo: median %.1f ms\n", atlas_width, atlas_height,
                photo_width, photo_height, compose);
    std::printf("floor (decode both JPEGs, encode the atlas at quality 100): median %.1f ms\n", floor);
    std::printf("ratio: %.2f (target at most 1.50)\n", compose / floor);
    return 0;
}
