// Numbered object tables: growth, replacement, liveness, enumeration while freeing, and
// identities that name no object.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/core/core.h"

namespace {

struct test_record {
    uintptr_t handle;
    int32_t value;
};
constexpr int32_t record_size = int32_t(sizeof(test_record));
constexpr int32_t gadget_grow_by = 50;

object_table* replace_table = nullptr;
std::vector<object_number> replaced;

// Behaves as a library's free operation: releases a live object of that number.
void free_object(object_number number) {
    replaced.push_back(number);
    if (object_get(replace_table, number)) object_release(replace_table, number);
}

object_number identity(const void* record) { return reinterpret_cast<object_number>(record); }

std::vector<object_number> enumerate_freeing_each(object_table* table) {
    std::vector<object_number> seen;
    object_number number = 0;
    object_enum_reset(table);
    while (object_enum_next(table, &number)) {
        seen.push_back(number);
        object_release(table, number);
    }
    return seen;
}

class ObjectTable : public ::testing::Test {
protected:
    void SetUp() override {
        replaced.clear();
        table = object_table_create(record_size, gadget_grow_by, free_object);
        replace_table = table;
    }

    test_record* make(object_number number, uintptr_t handle) {
        auto* record = static_cast<test_record*>(object_new(table, number));
        record->handle = handle;
        return record;
    }

    object_table* table = nullptr;
};

TEST_F(ObjectTable, GrowsByItsStepPastTheNumberWithZeroedSlots) {
    make(5, 0x55)->value = 7;
    ASSERT_NE(object_new(table, 60), nullptr);
    EXPECT_EQ(table->capacity, 110);
    auto* kept = static_cast<test_record*>(object_get(table, 5));
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->value, 7);
    for (object_number number = gadget_grow_by; number < table->capacity; ++number) {
        const uint8_t* slot = table->slots + number * record_size;
        for (int32_t i = 0; i < record_size; ++i) ASSERT_EQ(slot[i], 0) << "slot " << number;
        EXPECT_EQ(object_get(table, number), nullptr);
    }
}

TEST_F(ObjectTable, NumberInUseIsFreedBeforeItsSlotIsHandedOut) {
    test_record* first = make(5, 0x51);
    first->value = 9;
    auto* second = static_cast<test_record*>(object_new(table, 5));
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->handle, 0u);
    EXPECT_EQ(second->value, 0);
    EXPECT_EQ(replaced, (std::vector<object_number>{5, 5}));
}

TEST_F(ObjectTable, DynamicObjectsNeverReplaceAndLiveByTheirHandle) {
    auto* a = static_cast<test_record*>(object_new(table, object_any));
    auto* b = static_cast<test_record*>(object_new(table, object_any));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a, b);
    EXPECT_TRUE(replaced.empty());
    EXPECT_EQ(a->value, 0);
    EXPECT_EQ(object_get(table, identity(a)), nullptr);
    a->handle = 0xA;
    EXPECT_EQ(object_get(table, identity(a)), a);
}

TEST_F(ObjectTable, ReleasedNumberYieldsNoneAndIsSkipped) {
    make(2, 0x2);
    make(3, 0x3);
    make(4, 0x4);
    object_release(table, 3);
    EXPECT_EQ(object_get(table, 3), nullptr);
    EXPECT_EQ(enumerate_freeing_each(table), (std::vector<object_number>{2, 4}));
}

TEST_F(ObjectTable, EnumeratesNumberedAscendingThenDynamicOldestFirstWhileFreeing) {
    make(9, 0x9);
    make(2, 0x2);
    object_number d1 = identity(make(object_any, 0xD1));
    make(7, 0x7);
    object_number d2 = identity(make(object_any, 0xD2));
    object_number d3 = identity(make(object_any, 0xD3));
    EXPECT_EQ(enumerate_freeing_each(table), (std::vector<object_number>{2, 7, 9, d1, d2, d3}));
    EXPECT_EQ(table->dynamic_head, nullptr);
    EXPECT_EQ(object_enum_next(table, nullptr), nullptr);
    EXPECT_EQ(object_get(table, 7), nullptr);
}

// A free operation may release more than the object it was asked for (a container's children).
TEST_F(ObjectTable, ReleasingTheCursorsNextObjectDuringEnumerationSkipsIt) {
    object_number d1 = identity(make(object_any, 0xD1));
    object_number d2 = identity(make(object_any, 0xD2));
    object_number d3 = identity(make(object_any, 0xD3));
    object_number number = 0;
    object_enum_reset(table);
    ASSERT_NE(object_enum_next(table, &number), nullptr);
    EXPECT_EQ(number, d1);
    object_release(table, d2);
    ASSERT_NE(object_enum_next(table, &number), nullptr);
    EXPECT_EQ(number, d3);
    EXPECT_EQ(object_enum_next(table, &number), nullptr);
}

struct visit_log {
    std::vector<object_number> numbers;
    size_t stop_after;
};

int32_t log_visit(object_number number, void* record, void* user) {
    auto* log = static_cast<visit_log*>(user);
    EXPECT_EQ(static_cast<test_record*>(record)->handle, uintptr_t(number) | 0x1000);
    log->numbers.push_back(number);
    return log->numbers.size() < log->stop_after;
}

TEST_F(ObjectTable, ForEachVisitsInEnumerationOrderAndStopsOnZero) {
    auto* dynamic = static_cast<test_record*>(object_new(table, object_any));
    object_number d1 = identity(dynamic);
    dynamic->handle = uintptr_t(d1) | 0x1000;
    make(3, 0x1003);
    make(1, 0x1001);
    visit_log all{{}, 10};
    EXPECT_NE(object_for_each(table, log_visit, &all), 0);
    EXPECT_EQ(all.numbers, (std::vector<object_number>{1, 3, d1}));
    visit_log two{{}, 2};
    EXPECT_EQ(object_for_each(table, log_visit, &two), 0);
    EXPECT_EQ(two.numbers, (std::vector<object_number>{1, 3}));
}

TEST_F(ObjectTable, NumbersNamingNoObjectYieldNoneAndReleaseNothing) {
    test_record* live = make(object_any, 0x6);
    object_number stale = identity(make(object_any, 0x5));
    object_release(table, stale);
    test_record outside{0x7, 0};
    for (object_number garbage : {stale, identity(&outside), object_number(1) << 20,
                                  object_number(-5)}) {
        EXPECT_EQ(object_get(table, garbage), nullptr);
        object_release(table, garbage);
    }
    EXPECT_EQ(object_get(table, identity(live)), live);
    EXPECT_EQ(object_new(table, -5), nullptr);
    EXPECT_EQ(object_new(table, identity(live)), nullptr);
    EXPECT_EQ(table->capacity, gadget_grow_by);
}

}  // namespace
