// The screen on the engine path: Engine3D.dll opens its screen on the window, the library
// adopts its display object and back buffer, and presents go through the engine.
#include <gtest/gtest.h>

#include "app/engine/engine.h"
#include "tests/screen/screen_test_support.h"

namespace {

class EnginePath : public testing::Test {
protected:
    // The Direct3D interface holds the plain display object: it goes first, as at exit.
    static void SetUpTestSuite() {
        sprite3d_free_all();
        screen_library_end();
        engine_load();
        engine_bind_camera();
        engine_bind_texture();
        engine_bind_entity();
        engine_bind_light();
        engine_bind_material();
        engine_bind_mesh();
        engine_bind_world();
        engine_init();
        started = engine.ready && screen_library_init(engine_screen());
    }
    // Back to the plain path for the tests that follow.
    static void TearDownTestSuite() {
        screen_library_end();
        engine_unload();
        screen_library_init();
        sprite3d_library_init();
    }
    void SetUp() override {
        if (!started) GTEST_SKIP() << "Engine3D.dll did not load or initialise";
    }
    void TearDown() override { screen_close(); }

    static bool started;
};
bool EnginePath::started = false;

TEST_F(EnginePath, AdoptsTheEngineDisplayAndPresentsThroughIt) {
    ASSERT_TRUE(screen().engine_path);
    EXPECT_EQ(screen().display, screen().engine.GetDirectDraw7());
    test_window& window = shared_window(100, 100, 300, 200);
    ASSERT_EQ(screen_open_windowed(window.handle(), 10, 20, 100, 100, 1, 30, 40), 1);
    EXPECT_EQ(screen().primary.get(), nullptr);
    EXPECT_EQ(screen().pixel_format, 0);
    show_colour(green);
    EXPECT_EQ(window.pixel(10, 20), green.shown);
    EXPECT_EQ(window.pixel(269, 159), green.shown);
    EXPECT_NE(window.pixel(270, 100), green.shown);
}

// A picture goes by its number: the number the window shows is not presented again until
// the window asks to be painted.
TEST_F(EnginePath, PresentsAPictureWhenItsNumberMovesOrTheWindowAsks) {
    test_window& window = shared_window(100, 100, 300, 200);
    ASSERT_EQ(screen_open_windowed(window.handle(), 0, 0, 100, 100, 1, 0, 0), 1);
    pump_messages();
    screen_clear(red.value);
    screen_flip_picture(7);
    screen_clear(blue.value);
    screen_flip_picture(7);
    pump_messages();
    EXPECT_EQ(window.pixel(50, 50), red.shown) << "the same number presented again";
    InvalidateRect(window.handle(), nullptr, FALSE);
    pump_messages();
    screen_flip_picture(7);
    pump_messages();
    EXPECT_EQ(window.pixel(50, 50), blue.shown) << "not painted again";
}

// The engine's primary is out of the library's reach: a primary of the test's own on the
// same display object shows whether every surface was restored.
TEST_F(EnginePath, LostSurfacesComeBackAtThePresentAndAfterAnUnlock) {
    test_window& window = shared_window(100, 100, 300, 200);
    ASSERT_EQ(screen_open_windowed(window.handle(), 0, 0, 100, 100, 1, 0, 0), 1);
    com_ptr<IDirectDrawSurface7> watched = watch_primary(screen().display);
    ASSERT_TRUE(watched);
    ASSERT_TRUE(lose_surfaces(screen().display));
    ASSERT_EQ(watched->IsLost(), DDERR_SURFACELOST);
    show_colour(green);
    EXPECT_EQ(watched->IsLost(), DD_OK) << "restored by the present";
    EXPECT_EQ(window.pixel(50, 50), green.shown);

    screen().display->RestoreDisplayMode();
    ASSERT_EQ(watched->IsLost(), DDERR_SURFACELOST);
    SendMessageA(window.handle(), WM_WTSSESSION_CHANGE, 8, 0);
    EXPECT_EQ(watched->IsLost(), DD_OK) << "restored after the session was unlocked";
}

TEST_F(EnginePath, SpritesGrabFromTheEngineBackBuffer) {
    test_window& window = shared_window(100, 100, 295, 295);
    ASSERT_EQ(screen_open_windowed(window.handle(), 0, 0, 295, 295, 1, 0, 0), 1);
    screen_clear(green.value);
    ASSERT_NE(sprite_grab(355, 0, 0, 295, 295, 0), 0);
    EXPECT_EQ(sprite_grab(354, 0, 0, 296, 295, 0), 0);
    ASSERT_EQ(sprite_save(355, "engine.bmp", plugin_bmp, 0), 1);
    pixel_grid picture = load_pixels("engine.bmp");
    ASSERT_EQ(picture.width, 295);
    EXPECT_EQ(picture.at(0, 0), green.shown);
    EXPECT_EQ(picture.at(294, 294), green.shown);
}

}  // namespace
