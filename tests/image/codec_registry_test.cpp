// Loading and saving through the codec registry: BMP files written to the byte, the
// order in which formats are tried, memory blocks, icons and encoder lookup.
#include <gtest/gtest.h>

#include "runtime/core/windows_host.h"

#include <cstring>

#include "runtime/image/staged_file.h"
#include "tests/support/test_runtime.h"

namespace {

constexpr object_number scratch = 50;

uint32_t u32_at(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

uint16_t u16_at(const std::vector<uint8_t>& bytes, size_t offset) {
    uint16_t value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

void put_u32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// A 3 x 2 picture with a different colour in every pixel.
void make_six_colour_image(object_number number) {
    ASSERT_NE(image_create(number, 3, 2, 24), 0);
    const uint32_t colours[6] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00FFFFFF, 0x00808080, 0x00102030};
    ASSERT_NE(draw_begin(image_output(number)), nullptr);
    for (int i = 0; i < 6; ++i) draw_box(i % 3, i / 3, 1, 1, colours[i]);
    draw_end();
}

struct recorded_encode {
    int calls = 0;
    std::vector<uint8_t> rows;
    int32_t width = 0, height = 0, stride = 0, flags = 0;
};
recorded_encode recorded;

int32_t recording_encode(const char*, const uint8_t* buffer, int32_t width, int32_t height, int32_t stride,
                         int32_t flags) {
    ++recorded.calls;
    recorded.rows.assign(buffer, buffer + size_t(stride) * height);
    recorded.width = width;
    recorded.height = height;
    recorded.stride = stride;
    recorded.flags = flags;
    return 7;
}

const image_encoder recording_encoder = {plugin_id('T', 'E', 'S', 'T'), recording_encode};

// An icon file of one 2 x 2 32-bit picture per colour given, in directory order.
std::vector<uint8_t> make_icon_file(const std::vector<uint32_t>& colours) {
    constexpr uint32_t side = 2, resource_size = 40 + side * side * 4 + side * 4;
    std::vector<uint8_t> file(6 + 16 * colours.size());
    file[2] = 1;
    file[4] = uint8_t(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) {
        uint8_t* entry = file.data() + 6 + 16 * i;
        entry[0] = entry[1] = side;
        entry[4] = 1;
        entry[6] = 32;
        uint32_t offset = uint32_t(file.size());
        std::memcpy(entry + 8, &resource_size, 4);
        std::memcpy(entry + 12, &offset, 4);
        BITMAPINFOHEADER header = {};
        header.biSize = 40;
        header.biWidth = side;
        header.biHeight = side * 2;
        header.biPlanes = 1;
        header.biBitCount = 32;
        const auto* header_bytes = reinterpret_cast<const uint8_t*>(&header);
        file.insert(file.end(), header_bytes, header_bytes + sizeof header);
        for (uint32_t p = 0; p < side * side; ++p) {
            uint32_t argb = 0xFF000000 | colours[i];
            const auto* b = reinterpret_cast<const uint8_t*>(&argb);
            file.insert(file.end(), b, b + 4);
        }
        file.insert(file.end(), side * 4, 0);  // AND mask: all opaque
    }
    return file;
}

}  // namespace

TEST(BmpWriter, LargeImageHasTheExactSizeAndHeader) {
    ASSERT_NE(image_create(scratch, 1024, 1024), 0);
    ASSERT_EQ(image_save(scratch, "large.bmp", plugin_bmp, 0), 1);
    std::vector<uint8_t> file = read_file("large.bmp");
    ASSERT_EQ(file.size(), 3145782u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(u32_at(file, 2), 3145782u);
    EXPECT_EQ(u32_at(file, 10), 54u);
    EXPECT_EQ(u32_at(file, 14), 40u);
    EXPECT_EQ(int32_t(u32_at(file, 22)), 1024);
    EXPECT_EQ(u16_at(file, 26), 1);
    EXPECT_EQ(u16_at(file, 28), 24);
    EXPECT_EQ(u32_at(file, 34), 3072u * 1024u);
    image_free(scratch);
}

TEST(BmpWriter, SmallImageRowsArePaddedAndBottomUp) {
    make_six_colour_image(scratch);
    ASSERT_EQ(image_save(scratch, "small.bmp", plugin_bmp, 0), 1);
    std::vector<uint8_t> file = read_file("small.bmp");
    ASSERT_EQ(file.size(), 78u);
    EXPECT_EQ(u32_at(file, 18), 3u);
    EXPECT_EQ(u32_at(file, 22), 2u);
    EXPECT_EQ(u32_at(file, 34), 24u);
    // first stored row is the bottom one: white, grey, 0x102030; then three filler bytes
    const uint8_t bottom[12] = {255, 255, 255, 128, 128, 128, 0x10, 0x20, 0x30, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(file.data() + 54, bottom, 12));
    const uint8_t top[9] = {0, 0, 255, 0, 255, 0, 255, 0, 0};
    EXPECT_EQ(0, std::memcmp(file.data() + 66, top, 9));

    pixel_grid loaded = load_pixels("small.bmp");
    ASSERT_EQ(loaded.width, 3);
    EXPECT_EQ(loaded.at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(loaded.at(2, 1), rgb(0x30, 0x20, 0x10));
    image_free(scratch);
}

TEST(BmpWriter, FailedSaveKeepsTheFileItWouldReplace) {
    make_six_colour_image(scratch);
    write_file("kept.bmp", {1, 2, 3});
    SetFileAttributesA("kept.bmp", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(image_save(scratch, "kept.bmp", plugin_bmp, 0), 0);
    EXPECT_EQ(read_file("kept.bmp"), (std::vector<uint8_t>{1, 2, 3}));
    SetFileAttributesA("kept.bmp", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(image_save(scratch, "no such folder\\x.bmp", plugin_bmp, 0), 0);
    image_free(scratch);
}

TEST(BmpWriter, FolderWithoutRoomForATemporaryFileIsWrittenInPlace) {
    const std::string folder = locked_folder();
    if (folder.empty()) GTEST_SKIP() << "no folder that refuses new files here";
    make_six_colour_image(scratch);
    const std::string target = folder + "\\target.bmp";
    EXPECT_EQ(image_save(scratch, target.c_str(), plugin_bmp, 0), 1);
    EXPECT_EQ(load_pixels(target.c_str()).width, 3);
    {
        staged_file cut_short(target.c_str());
        ASSERT_NE(cut_short.stream(), nullptr);
        std::fputs("BM and then a full disk", cut_short.stream());
        std::fflush(cut_short.stream());
    }
    EXPECT_EQ(load_pixels(target.c_str()).width, 3) << "a write that broke off is undone";
    EXPECT_EQ(image_last_save_failure(), image_save_failure::not_written);
    EXPECT_EQ(image_save(scratch, (folder + "\\new.bmp").c_str(), plugin_bmp, 0), 0);
    EXPECT_EQ(image_last_save_failure(), image_save_failure::refused);
    image_free(scratch);
}

DWORD WINAPI close_after_a_moment(void* file) {
    Sleep(200);
    CloseHandle(static_cast<HANDLE>(file));
    return 0;
}

TEST(BmpWriter, SaveWaitsForAReaderThatHoldsTheTargetForAMoment) {
    make_six_colour_image(scratch);
    ASSERT_EQ(image_save(scratch, "held.bmp", plugin_bmp, 0), 1);
    HANDLE reader = CreateFileA("held.bmp", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_NE(image_load(scratch + 1, "held.bmp"), 0) << "a load beside the reader";
    HANDLE closer = CreateThread(nullptr, 0, close_after_a_moment, reader, 0, nullptr);
    EXPECT_EQ(image_save(scratch, "held.bmp", plugin_bmp, 0), 1);
    WaitForSingleObject(closer, 5000);
    CloseHandle(closer);
    EXPECT_EQ(load_pixels("held.bmp").width, 3);
    image_free(scratch + 1);
    image_free(scratch);
}

TEST(EncoderLookup, EncoderReceivesBottomUpRowsAndTheFlags) {
    encoder_register(&recording_encoder);
    make_six_colour_image(scratch);
    EXPECT_EQ(image_save(scratch, "ignored.out", recording_encoder.id, 10), 7);
    ASSERT_EQ(recorded.calls, 1);
    EXPECT_EQ(recorded.width, 3);
    EXPECT_EQ(recorded.height, 2);
    EXPECT_EQ(recorded.stride, 12);
    EXPECT_EQ(recorded.flags, 10);
    EXPECT_EQ(recorded.rows[0], 255);      // bottom-left pixel is white
    EXPECT_EQ(recorded.rows[12 + 2], 255);  // top-left pixel is red (B, G, R)

    EXPECT_EQ(image_save(scratch, "none.out", plugin_id('N', 'O', 'N', 'E'), 10), 0);
    EXPECT_FALSE(file_exists("none.out"));
    image_free(scratch);
}

TEST(Loading, FormatsAreTriedInOrder) {
    // "BM" never reaches the decoders, even when the platform loader fails on it.
    write_file("broken.bmp", {'B', 'M', 2, 2, 2, 2});
    ASSERT_NE(image_create(scratch, 2, 2), 0);
    EXPECT_EQ(image_load(scratch, "broken.bmp"), 0);
    EXPECT_EQ(image_get(scratch), nullptr);  // the old image is gone too

    // neither BMP, icon, JPEG nor PNG, but byte 2 is 2: the TGA decoder takes it
    std::vector<uint8_t> tga(18 + 3 * 2 * 3, 0);
    tga[2] = 2;
    tga[12] = 3;
    tga[14] = 2;
    tga[16] = 24;
    write_file("picture.xyz", tga);
    ASSERT_NE(image_load(scratch, "picture.xyz"), 0);
    EXPECT_EQ(image_get(scratch)->width, 3);
    EXPECT_EQ(image_get(scratch)->height, 2);

    write_file("unknown.dat", {'n', 'o', 'p', 'e', 0, 0, 0, 0});
    EXPECT_EQ(image_load(scratch, "unknown.dat"), 0);
    EXPECT_EQ(image_load(scratch, "missing.jpg"), 0);
    EXPECT_EQ(image_load(object_any, "missing.jpg"), 0);
}

TEST(Loading, BmpInMemoryBecomesA32BitDibSection) {
    make_six_colour_image(scratch);
    ASSERT_EQ(image_save(scratch, "memory.bmp", plugin_bmp, 0), 1);
    std::vector<uint8_t> file = read_file("memory.bmp");
    ASSERT_NE(image_load_memory(scratch, file.data(), file.size()), 0);
    EXPECT_EQ(image_get(scratch)->depth, 32);
    pixel_grid grid = read_image(scratch);
    EXPECT_EQ(grid.at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(grid.at(1, 1), rgb(128, 128, 128));

    // a block shorter than its header says, or with a pixel offset past its end, is refused
    EXPECT_EQ(image_load_memory(scratch, file.data(), file.size() - 1), 0);
    put_u32(file, 10, 0x7FFFFFF0);
    EXPECT_EQ(image_load_memory(scratch, file.data(), file.size()), 0);
}

// A 1 x 1 palette picture whose one pixel follows a colour table of colours_stored entries.
static std::vector<uint8_t> palette_bmp(uint32_t colours_used, uint32_t colours_stored) {
    std::vector<uint8_t> file(54 + 4 * colours_stored + 4, 0);
    file[0] = 'B';
    file[1] = 'M';
    put_u32(file, 10, uint32_t(file.size() - 4));
    put_u32(file, 14, 40);
    put_u32(file, 18, 1);
    put_u32(file, 22, 1);
    file[26] = 1;
    file[28] = 8;
    put_u32(file, 46, colours_used);
    if (colours_stored > 0) file[54 + 2] = 0xFF;  // entry 0 is red
    return file;
}

TEST(Loading, BmpInMemoryNeedsItsColourTableInTheBlock) {
    std::vector<uint8_t> one_colour = palette_bmp(1, 1);
    ASSERT_NE(image_load_memory(scratch, one_colour.data(), one_colour.size()), 0);
    EXPECT_EQ(read_image(scratch).at(0, 0), rgb(255, 0, 0));
    // no count given means 256 entries, which run past the block's end
    std::vector<uint8_t> short_table = palette_bmp(0, 0);
    EXPECT_EQ(image_load_memory(scratch, short_table.data(), short_table.size()), 0);
}

TEST(Loading, IconsKeepTheirIconHandle) {
    std::vector<uint8_t> icon = make_icon_file({0x00FF0000, 0x000000FF});
    ASSERT_NE(image_load_memory(scratch, icon.data(), icon.size()), 0);
    auto handle = image_handle(scratch);
    EXPECT_NE(GetObjectType(handle), DWORD(OBJ_BITMAP));
    EXPECT_EQ(image_get(scratch)->width, 2);
    ICONINFO parts = {};
    ASSERT_TRUE(GetIconInfo(static_cast<HICON>(handle), &parts));
    EXPECT_EQ(read_pixels(parts.hbmColor).at(0, 0), rgb(255, 0, 0));  // the first picture
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    image_free(scratch);
    EXPECT_FALSE(GetIconInfo(static_cast<HICON>(handle), &parts));  // destroyed, not leaked

    write_file("two.ico", icon);
    ASSERT_NE(image_load(scratch, "two.ico"), 0);
    EXPECT_NE(GetObjectType(image_handle(scratch)), DWORD(OBJ_BITMAP));
    image_free(scratch);

    EXPECT_EQ(image_load_memory(scratch, icon.data(), 30), 0);  // directory points past the block
}
