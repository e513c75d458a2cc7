// Entry of the image and application test programs: the runtime starts once, as in the
// program, before any test runs.
#include <gtest/gtest.h>

#include "tests/support/test_runtime.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    start_image_runtime();
    return RUN_ALL_TESTS();
}
