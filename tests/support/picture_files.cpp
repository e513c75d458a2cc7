// PNG, TIFF and JPEG through their libraries, TGA by hand.
#include "tests/support/picture_files.h"

#include <png.h>
#include <tiffio.h>

#include <cstdio>
#include <utility>

extern "C" {
#include <jpeglib.h>
}

#include "tests/support/test_runtime.h"

bgr_picture one_colour_picture(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b) {
    bgr_picture picture{width, height, {}};
    for (int32_t i = 0; i < width * height; ++i) picture.rows.insert(picture.rows.end(), {b, g, r});
    return picture;
}

bool write_png(const char* name, const bgr_picture& picture) {
    png_image description = {};
    description.version = PNG_IMAGE_VERSION;
    description.width = uint32_t(picture.width);
    description.height = uint32_t(picture.height);
    description.format = PNG_FORMAT_BGR;
    return png_image_write_to_file(&description, name, 0, picture.rows.data(), 0, nullptr) != 0;
}

bool write_tiff(const char* name, const bgr_picture& picture) {
    TIFF* tiff = TIFFOpen(name, "w");
    if (!tiff) return false;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, picture.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, picture.height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    std::vector<uint8_t> rows = picture.rows;
    for (size_t i = 0; i < rows.size(); i += 3) std::swap(rows[i], rows[i + 2]);
    bool written = true;
    const size_t row_bytes = size_t(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y)
        written = written && TIFFWriteScanline(tiff, &rows[size_t(y) * row_bytes], uint32_t(y)) >= 0;
    TIFFClose(tiff);
    return written;
}

bool write_float_tiff(const char* name, int32_t width, int32_t height) {
    TIFF* tiff = TIFFOpen(name, "w");
    if (!tiff) return false;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 32);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    std::vector<float> row(size_t(width), 0.5f);
    bool written = true;
    for (int y = 0; y < height; ++y) written = written && TIFFWriteScanline(tiff, row.data(), uint32_t(y)) >= 0;
    TIFFClose(tiff);
    return written;
}

void write_tga(const char* name, const bgr_picture& picture) {
    std::vector<uint8_t> file(18, 0);
    file[2] = 2;
    file[12] = uint8_t(picture.width);
    file[13] = uint8_t(picture.width >> 8);
    file[14] = uint8_t(picture.height);
    file[15] = uint8_t(picture.height >> 8);
    file[16] = 24;
    const size_t row_bytes = size_t(picture.width) * 3;
    for (int y = picture.height - 1; y >= 0; --y) {
        auto row = picture.rows.begin() + ptrdiff_t(size_t(y) * row_bytes);
        file.insert(file.end(), row, row + ptrdiff_t(row_bytes));
    }
    write_file(name, file);
}

bool write_jpeg_rows(const char* name, int32_t width, int32_t height,
                     const std::function<void(int32_t y, uint8_t* row)>& row_of) {
    FILE* file = std::fopen(name, "wb");
    if (!file) return false;
    jpeg_compress_struct picture;
    jpeg_error_mgr errors;
    picture.err = jpeg_std_error(&errors);
    jpeg_create_compress(&picture);
    jpeg_stdio_dest(&picture, file);
    picture.image_width = JDIMENSION(width);
    picture.image_height = JDIMENSION(height);
    picture.input_components = 3;
    picture.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&picture);
    jpeg_set_quality(&picture, 90, TRUE);
    jpeg_start_compress(&picture, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3);
    for (int32_t y = 0; y < height; ++y) {
        row_of(y, row.data());
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&picture, rows, 1);
    }
    jpeg_finish_compress(&picture);
    jpeg_destroy_compress(&picture);
    return std::fclose(file) == 0;
}
