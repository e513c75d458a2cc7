#include "bench/bench_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <jpeglib.h>

rgb_picture make_photo(int width, int height, uint32_t seed) {
    rgb_picture picture{width, height, std::vector<uint8_t>(size_t(width) * height * 3)};
    uint32_t noise = seed;
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

rgb_picture read_jpeg(const char* name, int scale_eighths) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    FILE* file = std::fopen(name, "rb");
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = unsigned(scale_eighths);
    cinfo.scale_denom = 8;
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

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
