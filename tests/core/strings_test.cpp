// String variables and the temporary string area: comparison, assignment (also from the
// variable's own text), the string-result convention, and growth of the area.
#include <gtest/gtest.h>

#include <string>

#include "runtime/core/core.h"

namespace {

constexpr int32_t fresh_capacity = 16;
constexpr int32_t growth_step = 16384;

TEST(StringEqual, NullCountsAsTheEmptyText) {
    EXPECT_EQ(string_equal(nullptr, ""), 1);
    EXPECT_EQ(string_equal(nullptr, nullptr), 1);
    EXPECT_EQ(string_equal("a", nullptr), 0);
    EXPECT_EQ(string_equal("abc", "abc"), 1);
    EXPECT_EQ(string_equal("ab", "abc"), 0);
    EXPECT_EQ(string_equal("abc", "abd"), 0);
}

TEST(StringAssign, CopiesTheTextAndNullEmptiesTheVariable) {
    char* variable = nullptr;
    char source[] = "Bilder";
    EXPECT_EQ(string_assign(&variable, source), 7);
    source[0] = 'X';
    EXPECT_STREQ(variable, "Bilder");
    EXPECT_EQ(string_assign(&variable, "ein viel laengerer Text"), 24);
    EXPECT_STREQ(variable, "ein viel laengerer Text");
    EXPECT_EQ(string_assign(&variable, nullptr), 1);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(string_equal(variable, ""), 1);
}

TEST(StringAssign, TakesTheVariablesOwnTextOrItsTail) {
    char* variable = nullptr;
    string_assign(&variable, "Verzeichnis");
    EXPECT_EQ(string_assign(&variable, variable), 12);
    EXPECT_STREQ(variable, "Verzeichnis");
    EXPECT_EQ(string_assign(&variable, variable + 4), 8);
    EXPECT_STREQ(variable, "eichnis");
    string_free(variable);
}

TEST(StringSet, GivesAFreshVariableACopyAndIgnoresNull) {
    char* variable = nullptr;
    string_set(&variable, nullptr);
    EXPECT_EQ(variable, nullptr);
    string_set(&variable, "Box.jpg");
    EXPECT_STREQ(variable, "Box.jpg");
    string_free(variable);
    string_free(nullptr);
}

class TempArea : public ::testing::Test {
protected:
    void SetUp() override { string_library_init(); }
    temp_string_area& area = temp_string();
};

TEST_F(TempArea, AssignTempTakesTheTextFromItsOffsetAndRewinds) {
    temp_append("C:\\Daten\\");
    int32_t offset = area.temp_length;
    temp_append("Box");
    temp_append(".jpg");
    char* variable = nullptr;
    EXPECT_EQ(string_assign_temp(&variable, offset), offset);
    EXPECT_STREQ(variable, "Box.jpg");
    EXPECT_EQ(area.temp_length, offset);
    temp_append("Schnappschuss.jpg");
    string_assign_temp(&variable, offset);
    EXPECT_STREQ(variable, "Schnappschuss.jpg");
    string_free(variable);
}

TEST_F(TempArea, NullAppendOnlyTerminatesAndDropShortens) {
    temp_append("abcdef");
    temp_drop(2);
    EXPECT_EQ(area.temp_length, 4);
    temp_append(nullptr);
    EXPECT_EQ(area.temp_length, 4);
    EXPECT_STREQ(area.start, "abcd");
}

TEST_F(TempArea, StartsSmallAndGrowsInOneStep) {
    EXPECT_EQ(area.temp_capacity, fresh_capacity);
    EXPECT_EQ(area.temp_length, 0);
    const std::string text(20000, 'x');
    temp_append(text.c_str());
    EXPECT_EQ(area.temp_capacity, 36384);
    EXPECT_EQ(area.temp_length, 20000);
    EXPECT_EQ(std::string(area.start), text);
}

TEST_F(TempArea, GrowsBeforeFewerThanFourSpareBytesRemain) {
    temp_append("12345678901");
    EXPECT_EQ(area.temp_capacity, fresh_capacity);
    temp_append("2");
    EXPECT_EQ(area.temp_capacity, 12 + growth_step);
    EXPECT_STREQ(area.start, "123456789012");
}

TEST_F(TempArea, ReservingPastTheTextStillLeavesRoom) {
    char* reserved = temp_reserve(10, 100);
    ASSERT_EQ(reserved, area.start + 100);
    EXPECT_EQ(area.temp_length, 110);
    EXPECT_GT(area.temp_capacity - 4, 110);
    std::fill(reserved, reserved + 10, 'y');
    reserved[10] = 0;
}

TEST_F(TempArea, OffsetsAreOneBasedUpToTheLength) {
    temp_append("abc");
    EXPECT_EQ(temp_offset_of(area.start), 1);
    EXPECT_EQ(temp_offset_of(area.start + 3), 4);
    EXPECT_EQ(temp_offset_of(area.start + 4), 0);
    EXPECT_EQ(temp_offset_of("abc"), 0);
    EXPECT_EQ(temp_offset_of(nullptr), 0);
    EXPECT_EQ(temp_pointer_at(2), area.start + 1);
}

TEST_F(TempArea, AppendingTextFromTheAreaSurvivesItsGrowth) {
    temp_append("abcdefgh");
    temp_append(area.start);
    EXPECT_EQ(area.temp_capacity, 16 + growth_step);
    EXPECT_STREQ(area.start, "abcdefghabcdefgh");
}

}  // namespace
