// Saving images: the picture is read back as 24-bit bottom-up rows and written as a BMP
// file here, or handed to the encoder registered under the plugin id.
#include "runtime/image/image_internal.h"
#include "runtime/image/staged_file.h"

int32_t image_save(object_number number, const char* name, uint32_t plugin, int32_t flags) {
    save_failure_clear();
    const image_record* record = image_get(number);
    if (!record || !name) return 0;
    BITMAP description = {};
    if (!GetObjectA(record->handle, sizeof description, &description)) return 0;
    int32_t width = description.bmWidth, height = description.bmHeight;
    auto stride = int32_t(bmp_row_stride(width, 24));

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
    return bmp_write(name, buffer.get(), width, height, stride, info.biSizeImage);
}
