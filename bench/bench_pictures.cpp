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

namespace {

struct jpeg_input {
    const uint8_t* samples;  // top row first, rows packed
    int width, height, components;
    J_COLOR_SPACE colour_space;
};

void encode_jpeg(const char* name, const jpeg_input& input, int quality, bool full_colour) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    FILE* file = std::fopen(name, "wb");
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = JDIMENSION(input.width);
    cinfo.image_height = JDIMENSION(input.height);
    cinfo.input_components = input.components;
    cinfo.in_color_space = input.colour_space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, full_colour ? TRUE : FALSE);
    if (full_colour)
        for (int i = 0; i < cinfo.num_components; ++i)
            cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    const size_t row_bytes = size_t(input.width) * input.components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(&input.samples[cinfo.next_scanline * row_bytes]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

}  // namespace

void write_jpeg(const char* name, const rgb_picture& picture, int quality) {
    encode_jpeg(name, {picture.samples.data(), picture.width, picture.height, 3, JCS_RGB}, quality, false);
}

void write_jpeg_full_colour(const char* name, const std::vector<uint32_t>& bgra, int width, int height) {
    encode_jpeg(name, {reinterpret_cast<const uint8_t*>(bgra.data()), width, height, 4, JCS_EXT_BGRA}, 100,
                true);
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
