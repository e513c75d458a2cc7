// What the benchmarks share: photo-like test pictures, libjpeg alone as the floor a
// program's own work is measured against, and timing helpers.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

struct rgb_picture {
    int width, height;
    std::vector<uint8_t> samples;  // R, G, B, top row first
};

// Smooth shapes with fine texture, so the encoder sees something like a photograph.
rgb_picture make_photo(int width, int height, uint32_t seed = 12345);
void write_jpeg(const char* name, const rgb_picture& picture, int quality);
// B, G, R, A pixels as libjpeg alone writes them at quality 100 with colour at full resolution.
void write_jpeg_full_colour(const char* name, const std::vector<uint32_t>& bgra, int width, int height);
// Decoded by libjpeg alone at scale_eighths / 8 of its size.
rgb_picture read_jpeg(const char* name, int scale_eighths = 8);

template <typename Work>
double milliseconds(Work work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> times);
