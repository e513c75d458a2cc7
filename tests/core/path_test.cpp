// The folder part of a path, built by the string-result convention (also over its own
// argument and while the area moves), and colour packing.
#include <gtest/gtest.h>

#include <string>

#include "runtime/core/core.h"

namespace {

std::string folder_of(const char* path) {
    int32_t offset = temp_string().temp_length;
    file_path_part(path, offset);
    char* variable = nullptr;
    string_assign_temp(&variable, offset);
    std::string folder = variable;
    string_free(variable);
    return folder;
}

// Builds a string argument as compiled code does: its terminator stays in the area.
char* argument_in_area(const char* text) {
    int32_t offset = temp_string().temp_length;
    temp_append(text);
    temp_string().temp_length += 1;
    return temp_string().start + offset;
}

TEST(FilePathPart, KeepsEverythingUpToTheLastSeparator) {
    EXPECT_EQ(folder_of("C:\\Bilder\\a.jpg"), "C:\\Bilder\\");
    EXPECT_EQ(folder_of("a.jpg"), "");
    EXPECT_EQ(folder_of("D:\\x\\y.png|2"), "D:\\x\\");
    EXPECT_EQ(folder_of("D:\\x|\\y.png"), "D:\\");
    EXPECT_EQ(folder_of("/a/b"), "/a/");
    EXPECT_EQ(folder_of("C:/mixed\\sep/f"), "C:/mixed\\sep/");
    EXPECT_EQ(folder_of("\"C:\\Bilder\\a.jpg\""), "C:\\Bilder\\");
    EXPECT_EQ(folder_of(""), "");
    EXPECT_EQ(folder_of(nullptr), "");
}

TEST(FilePathPart, WritesAtTheOffsetAndLeavesTheLengthAtTheEnd) {
    temp_append("before");
    int32_t offset = temp_string().temp_length;
    char* result = file_path_part("C:\\a\\b.jpg", offset);
    EXPECT_EQ(result, temp_string().start + offset);
    EXPECT_STREQ(result, "C:\\a\\");
    EXPECT_EQ(temp_string().temp_length, offset + 5);
    temp_string().temp_length = 0;
}

TEST(FilePathPart, ResultMayOverwriteItsOwnArgument) {
    int32_t offset = temp_string().temp_length;
    char* path = argument_in_area("\"C:\\Programme\\Box\\box.exe\"");
    char* result = file_path_part(path, offset);
    EXPECT_STREQ(result, "C:\\Programme\\Box\\");
    EXPECT_EQ(temp_string().temp_length, offset + 17);
    temp_string().temp_length = offset;
}

TEST(FilePathPart, ReadsItsArgumentWhereTheGrownAreaMovedIt) {
    string_library_init();
    char* path = argument_in_area("\"C:\\ab\\c");
    int32_t offset = temp_string().temp_length;
    char* result = file_path_part(path, offset);
    EXPECT_EQ(temp_string().temp_capacity, offset + 6 + 16384);
    EXPECT_STREQ(result, "C:\\ab\\");
}

TEST(ColorRgb, PacksRedIntoTheLowByteWithoutMasking) {
    EXPECT_EQ(color_rgb(25, 25, 255), 16718105u);
    EXPECT_EQ(color_rgb(255, 0, 0), 0x0000FFu);
    EXPECT_EQ(color_rgb(0, 0, 255), 0xFF0000u);
    EXPECT_EQ(color_rgb(256, 0, 0), 0x000100u);
}

}  // namespace
