// Saves a picture of a top-level window, as it is on the screen, as a JPEG file:
//   window_shot TITLE FILE [SECONDS]
// waits up to SECONDS (default 20) for a visible window of that title. Exit code 0 on success.
#include "runtime/core/core.h"
#include "runtime/image/image.h"

#include "runtime/core/windows_host.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr object_number shot_image = 1;
constexpr uint32_t jpeg_plugin = 0x4745504A;
constexpr int32_t best_quality = 10;

HWND wait_for_window(const char* title, int seconds) {
    for (int waited = 0; waited <= seconds * 10; ++waited) {
        HWND window = FindWindowA(nullptr, title);
        if (window && IsWindowVisible(window)) return window;
        Sleep(100);
    }
    return nullptr;
}

bool save_screen_area(const RECT& area, const char* file) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (!image_create(shot_image, width, height, 24)) return false;
    HDC target = static_cast<HDC>(draw_begin(image_output(shot_image)));
    HDC screen = GetDC(nullptr);
    BitBlt(target, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    draw_end();
    return image_save(shot_image, file, jpeg_plugin, best_quality) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_shot TITLE FILE [SECONDS]\n");
        return 2;
    }
    main_heap_create();
    string_library_init();
    object_heap_init();
    codec_registry_reset();
    image_library_init();
    draw_library_init();
    jpeg_encoder_register();

    HWND window = wait_for_window(argv[1], argc > 3 ? std::atoi(argv[3]) : 20);
    if (!window) {
        std::fprintf(stderr, "window_shot: no window \"%s\"\n", argv[1]);
        return 1;
    }
    // Let the window finish painting its first frames.
    Sleep(1500);
    RECT area;
    GetWindowRect(window, &area);
    if (!save_screen_area(area, argv[2])) {
        std::fprintf(stderr, "window_shot: could not write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
