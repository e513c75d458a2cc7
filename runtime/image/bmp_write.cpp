// The BMP writer shared by image and sprite saving: file header, info header and pixels in
// three writes, the target replaced only when all three went through.
#include "runtime/image/image_internal.h"
#include "runtime/image/staged_file.h"

int32_t bmp_write(const char* name, const uint8_t* rows, int32_t width, int32_t height,
                  int32_t stride, uint32_t image_size) {
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // positive: rows bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = image_size;

    const size_t pixel_bytes = size_t(stride) * size_t(height);
    BITMAPFILEHEADER file_header = {};
    file_header.bfType = 'B' | 'M' << 8;
    file_header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file_header.bfSize = DWORD(file_header.bfOffBits + pixel_bytes);

    staged_file file(name);
    if (!file.stream()) return 0;
    bool written = std::fwrite(&file_header, sizeof file_header, 1, file.stream()) == 1 &&
                   std::fwrite(&info, sizeof info, 1, file.stream()) == 1 &&
                   std::fwrite(rows, pixel_bytes, 1, file.stream()) == 1;
    return written && file.commit() ? 1 : 0;
}
