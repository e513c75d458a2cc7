// The runtime heaps' zero-fill contract and the library state blocks taken from main_heap.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/core/core.h"

namespace {

constexpr size_t menu_state_size = 268;
constexpr size_t small_block = 32;
constexpr size_t grown_block = 4096;
constexpr uint8_t marker = 0xAB;

bool all_bytes(const uint8_t* begin, const uint8_t* end, uint8_t value) {
    return std::all_of(begin, end, [value](uint8_t byte) { return byte == value; });
}

void* seen_block = nullptr;
bool seen_zeroed = false;

void note_block(void* block) {
    seen_block = block;
    auto* bytes = static_cast<uint8_t*>(block);
    seen_zeroed = all_bytes(bytes, bytes + menu_state_size, 0);
}

TEST(StateBlock, IsZeroFilledWhenItsInitRuns) {
    void* block = state_block_alloc(menu_state_size, note_block);
    EXPECT_EQ(block, seen_block);
    EXPECT_TRUE(seen_zeroed);
    EXPECT_NE(state_block_alloc(small_block, nullptr), nullptr);
}

TEST(Heaps, BlocksComeZeroFilledAndResizingZeroFillsTheGrowth) {
    for (runtime_heap* heap : {main_heap(), list_heap(), string_heap()}) {
        ASSERT_NE(heap, nullptr);
        auto* block = static_cast<uint8_t*>(heap_alloc(heap, small_block));
        EXPECT_TRUE(all_bytes(block, block + small_block, 0));
        std::fill(block, block + small_block, marker);
        block = static_cast<uint8_t*>(heap_resize(heap, block, grown_block));
        EXPECT_TRUE(all_bytes(block, block + small_block, marker));
        EXPECT_TRUE(all_bytes(block + small_block, block + grown_block, 0));
        heap_free(heap, block);
    }
}

}  // namespace
