// The image runtime as the program starts it, for programs that use images without windows.
#include "harness/harness.h"

#include "runtime/image/image.h"

void start_image_runtime() {
    static bool started = false;
    if (started) return;
    started = true;
    main_heap_create();
    string_library_init();
    object_heap_init();
    codec_registry_reset();
    image_library_init();
    draw_library_init();
    jpeg_decoder_register();
    jpeg_encoder_register();
    png_decoder_register();
    tga_decoder_register();
    tiff_decoder_register();
}
