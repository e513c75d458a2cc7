// Saving images: the picture is read back as 24-bit bottom-up rows and written as a BMP
// file here, or handed to the encoder registered under the plugin id.
#include "runtime/image/image_internal.h"
#include "runtime/image/staged_file.h"

namespace {

// File header, info header and pixels in three writes; the target is replaced only when
// all three went through.
int32_t write_bmp(const char* name, const BITMAPINFOHEADER& info, const uint8_t* pixels) {
    BITMAPFILEHEADER file_header = {};
    file_header.bfType = 'B' | 'M' << 8;
    file_header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file_header.bfSize = file_header.bfOffBits + info.biSizeImage;

    staged_file file(name);
    if (!file.stream()) return 0;
    bool written = std::fwrite(&file_header, sizeof file_header, 1, file.stream()) == 1 &&
                   std::fwrite(&info, sizeof info, 1, file.stream()) == 1 &&
                   std::fwrite(pixels, info.biSizeImage, 1, file.stream()) == 1;
    return written && file.commit() ? 1 : 0;
}

}  // namespace

int32_t image_save(object_number number, const char* name, uint32_t plugin, int32_t flags) {
    const image_record* record = image_get(number);
    if (!record || !name) return 0;
    BITMAP description = {};
    if (!GetObjectA(record->handle, sizeof description, &description)) return 0;
    int32_t width = description.bmWidth, height = description.bmHeight;
    int32_t stride = 3 * width + width % 4;

    heap_block buffer(size_t(height + 1) * size_t(stride));
    if (!buffer.get()) return 0;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // positive: rows bottom-up
    info.biPlanes = description.bmPlanes;
    info.biBitCount = 24;
    info.biSizeImage = DWORD(stride) * DWORD(height);

    owned_dc dc(CreateCompatibleDC(nullptr));
    if (!dc.get()) return 0;
    if (!GetDIBits(dc.get(), static_cast<HBITMAP>(record->handle), 0, height, buffer.get(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
        return 0;
    if (plugin != plugin_bmp) return encoder_save(name, buffer.get(), plugin, width, height, stride, flags);
    return write_bmp(name, info, buffer.get());
}
