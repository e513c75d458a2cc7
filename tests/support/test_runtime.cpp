// Runtime start-up and pixel read-back for the Windows test programs.
#include "tests/support/test_runtime.h"

#include "runtime/core/windows_host.h"

#include <cstdio>
#include <fstream>
#include <iterator>

pixel_grid read_pixels(platform_handle bitmap, bool keep_alpha) {
    pixel_grid grid;
    BITMAP description = {};
    if (!GetObjectA(bitmap, sizeof description, &description)) return grid;
    grid.width = description.bmWidth;
    grid.height = description.bmHeight;
    grid.pixels.resize(size_t(grid.width) * grid.height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = grid.width;
    info.bmiHeader.biHeight = -grid.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, static_cast<HBITMAP>(bitmap), 0, grid.height, grid.pixels.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (!keep_alpha)
        for (uint32_t& pixel : grid.pixels) pixel &= 0x00FFFFFF;
    return grid;
}

pixel_grid read_image(object_number number) { return read_pixels(image_handle(number)); }

pixel_grid load_pixels(const char* file, bool keep_alpha) {
    constexpr object_number probe_number = 4000;
    if (!image_load(probe_number, file)) return {};
    pixel_grid grid = read_pixels(image_handle(probe_number), keep_alpha);
    image_free(probe_number);
    return grid;
}

std::vector<uint8_t> read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool file_exists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string locked_folder() {
    const char* unix_folder = std::getenv("TESSARYN_LOCKED_FOLDER");
    if (!unix_folder) return {};
    // Wine shows the Unix root as drive Z:.
    std::string folder = std::string("Z:") + unix_folder;
    for (char& c : folder)
        if (c == '/') c = '\\';
    const std::string probe = folder + "\\probe.tmp";
    if (FILE* accepted = std::fopen(probe.c_str(), "wb")) {
        std::fclose(accepted);
        std::remove(probe.c_str());
        return {};
    }
    return file_exists(folder + "\\target.bmp") ? folder : std::string();
}
