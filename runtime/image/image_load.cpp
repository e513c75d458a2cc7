// Loading images from files and memory blocks: BMP and icons through the platform's own
// loaders, every other format through the registered decoders.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstring>

#include "runtime/image/image_internal.h"

namespace {

constexpr size_t bmp_file_header_size = 14;

bool starts_with_bm(const uint8_t* bytes, size_t size) {
    return size >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

// Icon and cursor files start with a zero word, animated ones with "RIFF": every other file
// is spared a trip through the platform's icon loader, which costs a millisecond a picture.
bool may_be_icon(const uint8_t bytes[2]) {
    return (bytes[0] == 0 && bytes[1] == 0) || (bytes[0] == 'R' && bytes[1] == 'I');
}

HANDLE open_shared(const char* name) {
    return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool read_first_two_bytes(const char* name, uint8_t bytes[2]) {
    HANDLE file = open_shared(name);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD read = 0;
    bool ok = ReadFile(file, bytes, 2, &read, nullptr) && read == 2;
    CloseHandle(file);
    return ok;
}

// Palette pictures are loaded again as display-compatible bitmaps.
HBITMAP load_bmp_file(const char* name, int32_t flags) {
    UINT options = LR_LOADFROMFILE;
    if (!(flags & image_display_compatible)) options |= LR_CREATEDIBSECTION;
    auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, options));
    if (!bitmap) return nullptr;
    BITMAP description = {};
    GetObjectA(bitmap, sizeof description, &description);
    if (description.bmBitsPixel > 8) return bitmap;
    DeleteObject(bitmap);
    return static_cast<HBITMAP>(LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

uint32_t read_u32(const uint8_t* at) {
    uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

uint16_t read_u16(const uint8_t* at) {
    uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// An OS/2 core header keeps 16-bit sides, every later one 32-bit sides, the height negative
// for top-down rows.
bool bmp_header_size(const char* name, int32_t* width, int32_t* height) {
    constexpr size_t core_header_size = 12;
    uint8_t head[bmp_file_header_size + sizeof(BITMAPINFOHEADER)];
    HANDLE file = open_shared(name);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD read = 0;
    // both kinds of header give their sides within their first 12 bytes
    const bool whole = ReadFile(file, head, sizeof head, &read, nullptr) && read >= bmp_file_header_size + core_header_size;
    CloseHandle(file);
    const uint8_t* header = head + bmp_file_header_size;
    if (!whole || read_u32(header) < core_header_size) return false;
    const bool core = read_u32(header) == core_header_size;
    const int64_t stored_width = core ? read_u16(header + 4) : int32_t(read_u32(header + 4));
    const int64_t stored_height = core ? read_u16(header + 6) : int32_t(read_u32(header + 8));
    if (stored_width <= 0 || stored_height == 0 || stored_height == INT32_MIN) return false;
    *width = int32_t(stored_width);
    *height = int32_t(stored_height < 0 ? -stored_height : stored_height);
    return true;
}

// The pixel bytes SetDIBits will read for this header, or 0 when the header is unusable.
uint64_t bmp_pixel_bytes(const BITMAPINFOHEADER& header) {
    int64_t height = header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight;
    if (header.biWidth <= 0 || height == 0 || header.biBitCount == 0) return 0;
    if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4) return header.biSizeImage;
    return uint64_t(bmp_row_stride(header.biWidth, header.biBitCount)) * uint64_t(height);
}

// The bitmap info SetDIBits reads: the header, the colour masks of a bit-field picture and
// the colour table (as many entries as the header says it uses, else one per pixel value).
uint64_t bmp_info_bytes(const BITMAPINFOHEADER& header) {
    constexpr uint64_t mask_bytes = 3 * sizeof(DWORD);
    uint64_t size = header.biSize;
    if (header.biCompression == BI_BITFIELDS) size = std::max<uint64_t>(size, sizeof header + mask_bytes);
    uint64_t colours = header.biClrUsed;
    if (colours == 0 && header.biBitCount <= 8) colours = uint64_t(1) << header.biBitCount;
    return size + colours * sizeof(RGBQUAD);
}

// A whole BMP file in memory becomes a 32-bit DIB section; every offset and size the
// header gives is checked against the block first.
HBITMAP load_bmp_memory(const uint8_t* address, size_t size, int32_t flags) {
    if (size < bmp_file_header_size + sizeof(BITMAPINFOHEADER)) return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, address + bmp_file_header_size, sizeof header);
    uint64_t pixel_offset = read_u32(address + 10);
    uint64_t pixel_bytes = bmp_pixel_bytes(header);
    if (header.biSize < sizeof header || bmp_file_header_size + header.biSize > pixel_offset ||
        bmp_file_header_size + bmp_info_bytes(header) > size || pixel_bytes == 0 ||
        pixel_offset + pixel_bytes > size)
        return nullptr;
    int32_t rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (!picture_size_acceptable(header.biWidth, rows, 4)) return nullptr;

    auto bitmap = static_cast<HBITMAP>(image_make_bitmap(header.biWidth, header.biHeight, flags, 32));
    if (!bitmap) return nullptr;
    owned_dc dc(CreateCompatibleDC(nullptr));
    SetDIBits(dc.get(), bitmap, 0, rows, address + pixel_offset,
              reinterpret_cast<const BITMAPINFO*>(address + bmp_file_header_size), DIB_RGB_COLORS);
    return bitmap;
}

// The registered decoders' turn: a file when address is null, else a memory block.
object_number load_decoded(object_number number, image_record* record, const char* name,
                           const uint8_t* address, size_t size, int32_t flags) {
    HBITMAP bitmap = nullptr;
    if (int32_t answer = decoder_probe(name, address, size)) bitmap = decoder_decode_bitmap(answer, flags);
    return image_keep_bitmap(number, record, bitmap, flags & 0xFF);
}

}  // namespace

FILE* image_open_for_reading(const char* name) {
    HANDLE file = open_shared(name);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(file);
        return nullptr;
    }
    FILE* stream = _fdopen(descriptor, "rb");
    if (!stream) _close(descriptor);
    return stream;
}

object_number image_load(object_number number, const char* name, int32_t flags) {
    auto* record = static_cast<image_record*>(object_new(image_table(), number));
    if (!record) return 0;
    uint8_t signature[2];
    if (!name || !read_first_two_bytes(name, signature)) return image_abandon(number, record);

    if (starts_with_bm(signature, sizeof signature))
        return image_keep_bitmap(number, record, load_bmp_file(name, flags), flags & 0xFF);
    if (may_be_icon(signature)) {
        auto icon = static_cast<HICON>(LoadImageA(nullptr, name, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
        if (icon) return image_keep_icon(number, record, icon, flags & 0xFF);
    }
    if (!(flags & image_load_as_stored)) return load_decoded(number, record, name, nullptr, 0, flags);
    decoder_turn_upright(false);
    const object_number loaded = load_decoded(number, record, name, nullptr, 0, flags);
    decoder_turn_upright(true);
    return loaded;
}

// Only the registered decoders are used: they keep their state per thread, while the
// platform's BMP and icon loaders are left to image_load, on the thread that draws.
platform_handle image_decode_sized(const char* name, int32_t width, int32_t height, picture_cover cover,
                                   const decode_progress* progress) {
    uint8_t signature[2];
    if (!name || !read_first_two_bytes(name, signature) || starts_with_bm(signature, sizeof signature) ||
        may_be_icon(signature))
        return nullptr;
    decoder_want_size({width, height, cover});
    decoder_follow_rows(progress);
    HBITMAP bitmap = nullptr;
    if (int32_t answer = decoder_probe(name, nullptr, 0)) bitmap = decoder_decode_bitmap(answer, 0);
    decoder_follow_rows(nullptr);
    decoder_want_size(own_size);
    return bitmap;
}

bool image_picture_size(const char* name, int32_t* width, int32_t* height) {
    uint8_t signature[2];
    if (!name || !read_first_two_bytes(name, signature)) return false;
    if (!starts_with_bm(signature, sizeof signature)) return decoder_picture_size(name, width, height);
    return bmp_header_size(name, width, height);
}

void image_decoded_free(platform_handle picture) {
    if (picture) DeleteObject(static_cast<HBITMAP>(picture));
}

object_number image_load_memory(object_number number, const uint8_t* address, size_t size) {
    constexpr int32_t flags = 0;
    auto* record = static_cast<image_record*>(object_new(image_table(), number));
    if (!record) return 0;
    if (!address) return image_abandon(number, record);

    if (starts_with_bm(address, size))
        return image_keep_bitmap(number, record, load_bmp_memory(address, size, flags), flags);
    if (HICON icon = icon_from_memory(address, size)) return image_keep_icon(number, record, icon, flags);
    return load_decoded(number, record, nullptr, address, size, flags);
}

HICON icon_from_memory(const uint8_t* address, size_t size) {
    constexpr size_t directory_header = 6, entry_size = 16;
    if (size < directory_header + entry_size) return nullptr;
    if (read_u16(address) != 0 || read_u16(address + 2) != 1) return nullptr;
    // Only the first picture of an icon file is used.
    const uint8_t* entry = address + directory_header;
    uint64_t resource_size = read_u32(entry + 8), resource_offset = read_u32(entry + 12);
    if (resource_size < sizeof(BITMAPINFOHEADER) || resource_offset + resource_size > size) return nullptr;

    HGLOBAL copy = GlobalAlloc(GMEM_FIXED, resource_size);
    if (!copy) return nullptr;
    auto* bytes = static_cast<BYTE*>(copy);
    std::memcpy(bytes, address + resource_offset, resource_size);
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes, sizeof header);
    // Colour and mask images are stacked in the resource's height.
    HICON icon = CreateIconFromResourceEx(bytes, DWORD(resource_size), TRUE, 0x00030000, header.biWidth,
                                          header.biHeight / 2, 0);
    if (!icon && header.biBitCount != 16)
        icon = CreateIconFromResource(bytes, DWORD(resource_size), TRUE, 0x00030000);
    GlobalFree(copy);
    return icon;
}
