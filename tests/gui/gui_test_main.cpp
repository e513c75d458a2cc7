// Entry of the window system tests: the runtime starts once, in the program's order.
#include <gtest/gtest.h>

#include "runtime/gui/gui.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    main_heap_create();
    string_library_init();
    object_heap_init();
    font_library_init();
    window_library_init();
    gadget_library_init();
    menu_library_init();
    requester_library_init();
    statusbar_library_init();
    return RUN_ALL_TESTS();
}
