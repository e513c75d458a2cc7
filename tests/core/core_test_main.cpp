// Test program of the runtime core: starts the heaps and the string library once, in the
// order the application's entry uses, then runs every case.
#include <gtest/gtest.h>

#include "runtime/core/core.h"

namespace {

class core_environment : public ::testing::Environment {
public:
    void SetUp() override {
        main_heap_create();
        string_library_init();
        object_heap_init();
    }
    void TearDown() override { main_heap_destroy(); }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new core_environment);
    return RUN_ALL_TESTS();
}
