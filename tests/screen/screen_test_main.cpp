// Entry of the screen tests: the runtime starts as the program starts it, on the plain path,
// and ends in the program's order.
#include <gtest/gtest.h>

#include "tests/screen/screen_test_support.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    start_image_runtime();
    screen_library_init();
    sprite3d_library_init();
    keyboard_init();
    mouse_init();
    int result = RUN_ALL_TESTS();
    sprite3d_free_all();
    mouse_end();
    keyboard_end();
    screen_library_end();
    return result;
}
