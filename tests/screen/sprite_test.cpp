// Sprites grabbed from the back buffer: the bounds of a grab and replacing a sprite, the BMP
// and JPEG files they save to, the backup across a locked session, and pixels read by the
// surface's own format.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "tests/screen/screen_test_support.h"

namespace {

constexpr int32_t side = 295;
constexpr object_number snapshot = 355;
constexpr int32_t block = 16;

// Flat 16 x 16 blocks, so that JPEG's colour subsampling has no edge to blur inside one.
uint32_t pattern_at(int32_t x, int32_t y) {
    uint32_t column = uint32_t(x / block), row = uint32_t(y / block);
    return rgb(column * 13 & 0xFF, row * 13 & 0xFF, (column + row) * 7 & 0xFF);
}

class Sprites : public testing::Test {
protected:
    void SetUp() override {
        test_window& window = shared_window(100, 100, side, side);
        ASSERT_EQ(screen_open_windowed(window.handle(), 0, 0, side, side, 1, 0, 0), 1);
        draw_pattern();
    }
    void TearDown() override { screen_close(); }

    static void draw_pattern() {
        HDC dc;
        ASSERT_EQ(screen().back_buffer->GetDC(&dc), DD_OK);
        for (int32_t y = 0; y < side; y += block)
            for (int32_t x = 0; x < side; x += block) {
                uint32_t colour = pattern_at(x, y);
                HBRUSH brush = CreateSolidBrush(RGB(colour >> 16, colour >> 8 & 0xFF, colour & 0xFF));
                RECT area = {x, y, x + block, y + block};
                FillRect(dc, &area, brush);
                DeleteObject(brush);
            }
        screen().back_buffer->ReleaseDC(dc);
    }

    static int worst_distance(const pixel_grid& picture) {
        int worst = 0;
        for (int32_t y = 0; y < side; ++y)
            for (int32_t x = 0; x < side; ++x)
                worst = std::max(worst, channel_distance(picture.at(x, y), pattern_at(x, y)));
        return worst;
    }
};

uint32_t u32_at(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

TEST_F(Sprites, GrabMustLieWithinTheBackBufferAndReplacesTheOldSprite) {
    auto* first = reinterpret_cast<IDirectDrawSurface7*>(sprite_grab(snapshot, 0, 0, side, side, 0));
    ASSERT_NE(first, nullptr);
    first->AddRef();
    EXPECT_EQ(sprite_grab(snapshot, 0, 0, side + 1, side, 0), 0);
    EXPECT_EQ(first->Release(), 0u);  // freed before the new grab was tried
    EXPECT_EQ(sprite_save(snapshot, "none.bmp", plugin_bmp, 0), 0);
    EXPECT_EQ(sprite_grab(1, -1, 0, 10, 10, 0), 0);
    EXPECT_EQ(sprite_grab(1, 1, 0, INT_MAX, 1, 0), 0);
}

TEST_F(Sprites, BmpHasTheLayoutAndReadsBackEqual) {
    ASSERT_NE(sprite_grab(snapshot, 0, 0, side, side, 0), 0);
    ASSERT_EQ(sprite_save(snapshot, "sprite.jpg", plugin_bmp, 0), 1);  // BMP whatever the name
    std::vector<uint8_t> file = read_file("sprite.jpg");
    ASSERT_EQ(file.size(), 262014u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 2), "BM");
    EXPECT_EQ(u32_at(file, 2), 262014u);
    EXPECT_EQ(u32_at(file, 10), 54u);
    EXPECT_EQ(u32_at(file, 18), uint32_t(side));
    EXPECT_EQ(u32_at(file, 22), uint32_t(side));
    EXPECT_EQ(u32_at(file, 26), 24u << 16 | 1u);  // one plane, 24 bits
    EXPECT_EQ(u32_at(file, 30), 0u);               // uncompressed
    // Unlike an image save, a sprite save leaves the image size field 0.
    EXPECT_EQ(u32_at(file, 34), 0u);
    EXPECT_EQ(worst_distance(load_pixels("sprite.jpg")), 0);
}

TEST_F(Sprites, JpegThroughTheEncoderDecodesToTheSamePicture) {
    ASSERT_NE(sprite_grab(snapshot, 0, 0, side, side, 0), 0);
    ASSERT_EQ(sprite_save(snapshot, "snapshot.jpg", plugin_jpeg, 10), 1);
    EXPECT_LE(worst_distance(load_pixels("snapshot.jpg")), 8);
}

TEST_F(Sprites, FailedSavesLeaveNoFileBehind) {
    ASSERT_NE(sprite_grab(snapshot, 0, 0, 10, 10, 0), 0);
    EXPECT_EQ(sprite_save(snapshot, nullptr, plugin_bmp, 0), 0);
    EXPECT_EQ(sprite_save(snapshot, "missing\\sprite.bmp", plugin_bmp, 0), 0);
    const std::vector<uint8_t> good = {'k', 'e', 'e', 'p'};
    write_file("kept.bmp", good);
    SetFileAttributesA("kept.bmp", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(sprite_save(snapshot, "kept.bmp", plugin_bmp, 0), 0);
    SetFileAttributesA("kept.bmp", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(read_file("kept.bmp"), good);
    WIN32_FIND_DATAA found;
    EXPECT_EQ(FindFirstFileA("~tessaryn-*", &found), INVALID_HANDLE_VALUE);
}

TEST_F(Sprites, SessionLockKeepsThePixelsUntilUnlock) {
    ASSERT_NE(sprite_grab(snapshot, 0, 0, side, side, 0), 0);
    SendMessageA(screen().window, WM_WTSSESSION_CHANGE, 7, 0);
    auto* sprite = static_cast<sprite_record*>(object_get(screen().sprites, snapshot));
    ASSERT_NE(sprite->backup, nullptr);

    auto black = described<DDBLTFX>();
    ASSERT_EQ(sprite->surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &black), DD_OK);
    SendMessageA(screen().window, WM_WTSSESSION_CHANGE, 8, 0);
    EXPECT_EQ(sprite->backup, nullptr);
    ASSERT_EQ(sprite_save(snapshot, "restored.bmp", plugin_bmp, 0), 1);
    EXPECT_EQ(worst_distance(load_pixels("restored.bmp")), 0);
}

// A 2 x 1 system-memory surface of 16-bit pixels with the given masks.
com_ptr<IDirectDrawSurface7> surface_with(DWORD red, DWORD green, DWORD blue, uint16_t first,
                                          uint16_t second) {
    auto description = described<DDSURFACEDESC2>();
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    description.dwWidth = 2;
    description.dwHeight = 1;
    description.ddpfPixelFormat = {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {16}, {red}, {green}, {blue}, {0}};
    com_ptr<IDirectDrawSurface7> surface;
    auto locked = described<DDSURFACEDESC2>();
    if (FAILED(screen().display->CreateSurface(&description, surface.put(), nullptr)) ||
        FAILED(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr)))
        return com_ptr<IDirectDrawSurface7>();
    const uint16_t pixels[2] = {first, second};
    std::memcpy(locked.lpSurface, pixels, sizeof pixels);
    surface->Unlock(nullptr);
    return surface;
}

TEST(SpritePixels, ChannelsFollowTheSurfaceFormat) {
    uint8_t row[8] = {};
    com_ptr<IDirectDrawSurface7> wide = surface_with(0xF800, 0x07E0, 0x001F, 0xFFFF, 0xF800);
    ASSERT_TRUE(wide);
    ASSERT_TRUE(sprite_read_pixels(wide.get(), 2, 1, 8, row));
    EXPECT_EQ(std::vector<uint8_t>(row, row + 6), (std::vector<uint8_t>{248, 252, 248, 0, 0, 248}));

    com_ptr<IDirectDrawSurface7> narrow = surface_with(0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x7C00);
    ASSERT_TRUE(narrow);
    ASSERT_TRUE(sprite_read_pixels(narrow.get(), 2, 1, 8, row));
    EXPECT_EQ(std::vector<uint8_t>(row, row + 6), (std::vector<uint8_t>{248, 248, 248, 0, 0, 248}));
}

}  // namespace
