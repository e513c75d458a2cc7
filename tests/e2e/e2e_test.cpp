// Tessaryn worked from outside as a user works it: the running program's window is found,
// its controls are read and pressed, its requesters answered, and the files it writes and
// the preview it shows are checked.
#include <algorithm>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "tests/e2e/dialog_answers.h"
#include "tests/e2e/polling.h"
#include "tests/e2e/session.h"
#include "tests/e2e/tessaryn_process.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_runtime.h"

namespace {

constexpr const char* no_picture_yet = "Bitte ein Bild Ausw\xE4hlen";

struct gadget_place {
    int number, x, y, width, height;
    const char* text;  // null: not checked
};

const gadget_place layout[] = {
    {39, 335, 25, 295, 295, nullptr},
    {13, 334, 395, 297, 50, "Bild Speichern"},
    {6, 8, 15, 115, 25, "Oberseite"},
    {7, 8, 45, 115, 25, "Rechte Seite"},
    {8, 8, 75, 115, 25, "Linke Seite"},
    {9, 8, 105, 115, 25, "Vorderseite"},
    {10, 8, 135, 115, 25, "R\xFC" "ckseite"},
    {11, 8, 165, 115, 25, "Unterseite"},
    {12, 8, 205, 115, 33, "Hintergrundfarbe"},
    {29, 8, 240, 115, 33, "HintergrundTextur"},
    {30, 135, 15, 180, 25, no_picture_yet},
    {35, 135, 165, 180, 25, no_picture_yet},
    {36, 135, 208, 30, 30, nullptr},
    {14, 8, 280, 305, 175, nullptr},
    {22, 45, 5, 150, 20, "Tiefe der Box"},
    {15, 25, 25, 110, 18, nullptr},
    {23, 45, 55, 150, 20, "Breite der Box"},
    {16, 25, 75, 110, 18, nullptr},
    {24, 45, 105, 150, 20, "H\xF6he der Box"},
    {17, 25, 125, 110, 18, nullptr},
    {25, 185, 5, 150, 20, "Box Drehen"},
    {18, 165, 25, 110, 18, nullptr},
    {26, 165, 55, 150, 20, "Box Heben/Senken"},
    {19, 165, 75, 110, 18, nullptr},
    {27, 185, 105, 150, 20, "Box Neigen"},
    {20, 165, 125, 110, 18, nullptr},
    {37, 325, 5, 315, 330, "3d - Vorschau"},
    {43, 335, 345, 25, 25, "-"},
    {42, 365, 345, 25, 25, "+"},
    {44, 400, 350, 100, 20, "Zoomen"},
};

const face_choice faces[] = {
    {6, "Bild f\xFCr die Oberseite", "top.jpg", 258, 253, 200, 30, 30},
    {7, "Bild f\xFCr die Rechteseite", "right.png", 83, 767, 30, 160, 40},
    {8, "Bild f\xFCr Oben", "left.bmp", 83, 255, 40, 60, 200},
    {9, "Bild f\xFCr die R\xFC" "ckseite", "front.tga", 341, 767, 220, 200, 20},
    {10, "Bild f\xFC" "rdie Vorderseite", "back.tif", 692, 767, 180, 40, 200},
    {11, "Bild f\xFCr Oben", "bottom.jpg", 425, 253, 240, 140, 20},
};
const face_choice& front_face = faces[3];
const face_choice& left_face = faces[2];

constexpr int preview_centre = 147;

using picture = pixel_grid;

RECT place_in_parent(HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// Rows of a control that hold dark caption pixels, its border left out.
int caption_height(HWND control) {
    const picture shot = capture(control);
    int first = -1, last = -1;
    for (int y = 3; y < shot.height - 3; ++y)
        for (int x = 3; x < shot.width - 3; ++x)
            if (channel_distance(shot.at(x, y), 0) < 100) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

// Real mouse input, as the host delivers a user's: the pointer moves to a point of the screen
// and does what `flags` say there.
void mouse_at(POINT at, DWORD flags, int wheel = 0) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Absolute positions are in 1/65536 of the screen, rounded up to land on the pixel.
    input.mi.dx = (at.x * 65536 + width - 1) / width;
    input.mi.dy = (at.y * 65536 + height - 1) / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    input.mi.mouseData = DWORD(wheel);
    SendInput(1, &input, sizeof input);
}

// A real key press, down and up.
void press_key(WORD key) {
    INPUT press[2] = {};
    for (INPUT& input : press) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, press, sizeof *press);
}

POINT centre_of(HWND window) {
    RECT place;
    GetWindowRect(window, &place);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

bool corners_are(const picture& shot, uint32_t colour) {
    if (shot.width != 295) return false;
    for (int x : {0, 294})
        for (int y : {0, 294})
            if (channel_distance(shot.at(x, y), colour) > 6) return false;
    return true;
}

// The window as it opens, looked at and never changed: the cases share one program.
class TessarynAtStart : public testing::Test {
protected:
    static void SetUpTestSuite() { shared_ = new session("at_start"); }
    static void TearDownTestSuite() {
        delete shared_;
        shared_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(shared_->window(), nullptr) << "Tessaryn's window did not open";
    }

    static HWND window() { return shared_->window(); }
    static HWND g(int number) { return shared_->g(number); }

    static session* shared_;
};

session* TessarynAtStart::shared_ = nullptr;

// Cases that work the window: each starts its own program.
class Tessaryn : public testing::Test {
protected:
    void SetUp() override {
        const char* name = testing::UnitTest::GetInstance()->current_test_info()->name();
        run_ = std::make_unique<session>(name);
        ASSERT_NE(run_->window(), nullptr) << "Tessaryn's window did not open";
    }

    std::unique_ptr<session> run_;
};

TEST_F(TessarynAtStart, WindowIsCentredFixedAndSizedForItsContent) {
    const LONG style = GetWindowLongA(window(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    RECT expected = {0, 0, 650, 500};
    const DWORD extended = DWORD(GetWindowLongA(window(), GWL_EXSTYLE));
    AdjustWindowRectEx(&expected, DWORD(style), FALSE, extended);
    RECT outer;
    GetWindowRect(window(), &outer);
    EXPECT_EQ(outer.right - outer.left, expected.right - expected.left);
    EXPECT_EQ(outer.bottom - outer.top, expected.bottom - expected.top);
    const int screen_width = GetSystemMetrics(SM_CXSCREEN), screen_height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(outer.left, (screen_width - (outer.right - outer.left)) / 2, 1);
    EXPECT_NEAR(outer.top, (screen_height - (outer.bottom - outer.top)) / 2, 1);
    EXPECT_EQ(window_text(FindWindowExA(window(), nullptr, "msctls_statusbar32", nullptr)),
              "Merovan 2008 - Release Candidate 1.0");
}

TEST_F(TessarynAtStart, EveryGadgetHasItsPlaceAndText) {
    for (const gadget_place& expected : layout) {
        HWND control = g(expected.number);
        ASSERT_NE(control, nullptr) << "gadget " << expected.number;
        const RECT place = place_in_parent(control);
        EXPECT_EQ(place.left, expected.x) << "gadget " << expected.number;
        EXPECT_EQ(place.top, expected.y) << "gadget " << expected.number;
        EXPECT_EQ(place.right - place.left, expected.width) << "gadget " << expected.number;
        EXPECT_EQ(place.bottom - place.top, expected.height) << "gadget " << expected.number;
        if (expected.text) EXPECT_EQ(window_text(control), expected.text) << "gadget " << expected.number;
    }
}

// Font handles belong to the program's process, so the fonts are told apart on the screen.
TEST_F(TessarynAtStart, SnapshotButtonHasTheLargeFont) {
    ASSERT_TRUE(eventually(5000, [] { return caption_height(g(9)) >= 8; })) << "captions painted";
    const int small = caption_height(g(9));
    EXPECT_GE(caption_height(g(13)) - small, 3);
}

TEST_F(TessarynAtStart, ControlsStartInTheirStates) {
    EXPECT_FALSE(IsWindowEnabled(g(29)));
    for (int path = 30; path <= 35; ++path) EXPECT_TRUE(GetWindowLongA(g(path), GWL_STYLE) & ES_READONLY);
    for (int bar : {15, 16, 17, 19}) EXPECT_EQ(GetScrollPos(g(bar), SB_CTL), 5) << "scroll bar " << bar;
    for (int bar : {18, 20}) EXPECT_EQ(GetScrollPos(g(bar), SB_CTL), 1) << "scroll bar " << bar;
    EXPECT_TRUE(eventually(3000, [] {
        return capture(window()).at(150, 223) == rgb(255, 255, 255);
    })) << "colour swatch";
}

TEST_F(Tessaryn, ChosenPicturesFillTheirFacesOfTheAtlas) {
    for (const face_choice& face : faces) {
        ASSERT_TRUE(run_->choose_face(face)) << face.file;
        const int row = 30 + face.button - 6;
        EXPECT_EQ(window_text(run_->g(row)), full_path(face.file)) << face.file;
    }
    run_->click(11);
    ASSERT_TRUE(cancel_dialog(run_->program(), "Bild f\xFCr Oben"));
    ASSERT_TRUE(caught_up(run_->window()));
    EXPECT_EQ(window_text(run_->g(35)), full_path("bottom.jpg"))
        << "a cancelled choice changes nothing";
    const std::string atlas = run_->model_file("cube1.jpg");
    for (const face_choice& face : faces)
        EXPECT_LE(channel_distance(pixel_of(atlas, face.face_x, face.face_y),
                                   rgb(face.r, face.g, face.b)),
                  12)
            << face.file << " stays";
}

// The start view as a product shot: the front faces the viewer right of centre, the left
// side shows at its left, both on the white floor.
TEST_F(Tessaryn, SnapshotShowsFrontAndLeftSideOnWhite) {
    ASSERT_TRUE(run_->choose_face(front_face));
    ASSERT_TRUE(run_->choose_face(left_face));
    run_->click(13);
    const picture shot = run_->snapshot("start_view.jpg");
    EXPECT_TRUE(corners_are(shot, rgb(255, 255, 255))) << "background";
    EXPECT_LE(channel_distance(shot.at(preview_centre + 40, preview_centre - 20),
                               rgb(front_face.r, front_face.g, front_face.b)), 12);
    EXPECT_LE(channel_distance(shot.at(preview_centre - 50, preview_centre - 20),
                               rgb(left_face.r, left_face.g, left_face.b)), 12);
}

// The snapshot is clicked as the colour requester closes: both handlers run in one event
// drain, and the file must already show the new floor.
TEST_F(Tessaryn, ChosenColourPaintsTheFloorTheSwatchAndAnImmediateSnapshot) {
    run_->click(12);
    ASSERT_TRUE(answer_colour_dialog(run_->program(), 30, 120, 90, run_->g(13)));
    const uint32_t chosen = rgb(30, 120, 90);
    EXPECT_TRUE(corners_are(run_->snapshot("after_colour.jpg"), chosen)) << "snapshot";
    EXPECT_TRUE(eventually(10000, [&] {
        return channel_distance(pixel_of(run_->model_file("land.jpg"), 512, 512), chosen) <= 3;
    })) << "floor texture";
    EXPECT_TRUE(eventually(3000, [&] {
        return channel_distance(capture(run_->window()).at(150, 223), chosen) <= 3;
    })) << "swatch";
    EXPECT_TRUE(eventually(5000, [&] { return corners_are(run_->preview(), chosen); }))
        << "preview";

    run_->click(12);
    ASSERT_TRUE(cancel_colour_dialog(run_->program()));
    ASSERT_TRUE(caught_up(run_->window()));
    EXPECT_LE(channel_distance(pixel_of(run_->model_file("land.jpg"), 512, 512), chosen), 3);
    // The screen under the closed requester is repainted in its own time.
    EXPECT_TRUE(eventually(3000, [&] {
        return channel_distance(capture(run_->window()).at(150, 223), chosen) <= 3;
    })) << "swatch after a cancelled requester";
}

// An arrow key turns the box on from where "Box Drehen" left it: a small turn, not a jump
// back to the angle without the scroll bar's offset.
TEST_F(Tessaryn, ScrollBarsZoomAndArrowKeysChangeThePreview) {
    const picture start = run_->still_preview();
    HWND turn = run_->g(18);
    for (int step = 0; step < 18; ++step)
        PostMessageA(GetParent(turn), WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(turn));
    const picture turned = run_->preview_changed_from(start, 2.0);
    EXPECT_GT(mean_difference(start, turned), 2.0) << "turning";

    SetForegroundWindow(run_->window());
    INPUT key = {};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_LEFT;
    key.ki.wScan = 0x4B;
    key.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &key, sizeof key);
    // Held for a few frames, as a short press of a user.
    Sleep(150);
    key.ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(1, &key, sizeof key);
    const picture keyed = run_->preview_changed_from(turned, 0.3);
    const double step = mean_difference(turned, keyed);
    EXPECT_GT(step, 0.3) << "left arrow";
    EXPECT_LT(2 * step, mean_difference(start, keyed)) << "left arrow from where the box stood";

    run_->click(42);
    run_->click(42);
    EXPECT_GT(mean_difference(keyed, run_->preview_changed_from(keyed, 2.0)), 2.0) << "zooming in";
}

// A drag of 40 pixels right and 22 down turns and tilts the box as 20 and 11 steps of "Box
// Drehen" and "Box Neigen" do; a double click brings back the start angles and keeps the
// scroll bars' offsets; a wheel notch is undone by the other zoom button.
TEST_F(Tessaryn, MouseTurnsTiltsAndZoomsThePreview) {
    const picture start = run_->still_preview();
    // The first event of "Box Neigen" adds its start position 1 to the ten steps.
    post_scroll(run_->g(18), SB_LINERIGHT, 20);
    post_scroll(run_->g(20), SB_LINERIGHT, 10);
    const picture turned = run_->preview_changed_from(start, 2.0);
    const POINT centre = centre_of(run_->g(39));
    SetForegroundWindow(run_->window());
    mouse_at(centre, MOUSEEVENTF_LEFTDOWN);
    mouse_at({centre.x + 20, centre.y + 11}, 0);
    mouse_at({centre.x + 40, centre.y + 22}, MOUSEEVENTF_LEFTUP);
    const picture dragged = run_->preview_changed_from(turned, 2.0);

    for (int click = 0; click < 2; ++click) {
        mouse_at(centre, MOUSEEVENTF_LEFTDOWN);
        mouse_at(centre, MOUSEEVENTF_LEFTUP);
    }
    EXPECT_LT(mean_difference(turned, run_->preview_changed_from(dragged, 2.0)), 0.3)
        << "double click";
    post_scroll(run_->g(18), SB_LINERIGHT, 20);
    post_scroll(run_->g(20), SB_LINERIGHT, 11);
    const picture stepped = run_->preview_changed_from(turned, 2.0);
    EXPECT_LT(mean_difference(dragged, stepped), 0.3) << "drag against scroll bars";

    mouse_at(centre, MOUSEEVENTF_WHEEL, WHEEL_DELTA);
    const picture nearer = run_->preview_changed_from(stepped, 1.0);
    run_->click(43);
    EXPECT_LT(mean_difference(stepped, run_->preview_changed_from(nearer, 1.0)), 0.3)
        << "notch forward";
    mouse_at(centre, MOUSEEVENTF_WHEEL, -WHEEL_DELTA);
    const picture farther = run_->preview_changed_from(stepped, 1.0);
    run_->click(42);
    EXPECT_LT(mean_difference(stepped, run_->preview_changed_from(farther, 1.0)), 0.3)
        << "notch back";
}

// Each change is one step back and one forward, exactly: a face picture (the atlas's bytes),
// the same picture edited and chosen again, the zoom, the floor colour and a whole drag.
TEST_F(Tessaryn, UndoAndRedoBringBackExactlyWhatWas) {
    const auto undo = [&] { PostMessageA(run_->window(), WM_COMMAND, 20, 0); };
    const auto atlas = [&] { return read_file(run_->model_file("cube1.jpg")); };
    const picture start = run_->still_preview();
    const std::vector<uint8_t> plain = atlas();
    ASSERT_TRUE(run_->choose_face(front_face));
    const std::vector<uint8_t> chosen = atlas();
    const picture with_front = run_->still_preview();
    undo();
    EXPECT_TRUE(eventually(5000, [&] { return atlas() == plain; })) << "picture undone";
    EXPECT_EQ(window_text(run_->g(33)), no_picture_yet);
    PostMessageA(run_->window(), WM_COMMAND, 21, 0);
    EXPECT_TRUE(eventually(5000, [&] { return atlas() == chosen; })) << "picture redone";
    EXPECT_LT(mean_difference(with_front, run_->still_preview()), 0.05);
    face_choice edited = front_face;
    edited.b = 250;
    ASSERT_TRUE(run_->choose_face(edited)) << "the picture edited and chosen again";
    undo();
    EXPECT_TRUE(eventually(5000, [&] { return atlas() == chosen; })) << "the artwork before the edit";

    run_->click(42);
    const picture zoomed = run_->preview_changed_from(with_front, 1.0);
    press_shortcut(run_->window(), 'Z');
    EXPECT_LT(mean_difference(with_front, run_->preview_changed_from(zoomed, 1.0)), 0.05) << "Ctrl+Z";
    run_->click(12);
    ASSERT_TRUE(answer_colour_dialog(run_->program(), 30, 120, 90));
    const picture coloured = run_->preview_changed_from(with_front, 1.0);
    undo();
    EXPECT_LT(mean_difference(with_front, run_->preview_changed_from(coloured, 1.0)), 0.05) << "colour";

    // Held across frames as the host reports a slow drag; sent input would let go at once here.
    HWND screen = run_->g(39);
    PostMessageA(screen, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    PostMessageA(screen, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 100));
    const picture half = run_->preview_changed_from(with_front, 1.0);
    PostMessageA(screen, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(140, 110));
    PostMessageA(screen, WM_LBUTTONUP, 0, MAKELPARAM(140, 110));
    const picture dragged = run_->preview_changed_from(half, 0.5);
    undo();
    EXPECT_LT(mean_difference(with_front, run_->preview_changed_from(dragged, 1.0)), 0.05) << "a drag is one step";
    undo();
    EXPECT_TRUE(eventually(5000, [&] { return atlas() == plain; }));
    // The atlas is written before the box is made again around it: wait for the new frame.
    EXPECT_LT(mean_difference(start, run_->preview_changed_from(with_front, 1.0)), 0.05);
}

// "Maße..." refuses what is no size and keeps the dialog open; OK takes the millimetres in one
// step, the bars show their nearest steps. "Maße aus Bildern" gives a 700 x 1000 front its
// own proportions at the box's height, and says so when there is nothing to measure.
TEST_F(Tessaryn, SizesInMillimetresFromTheDialogAndThePictures) {
    const auto status = [&] { return window_text(FindWindowExA(run_->window(), nullptr, "msctls_statusbar32", nullptr)); };
    const auto says = [&](const char* text) { return eventually(5000, [&] { return status().find(text) != std::string::npos; }); };
    const auto bars = [&] {
        return std::to_string(GetScrollPos(run_->g(16), SB_CTL)) + " " + std::to_string(GetScrollPos(run_->g(17), SB_CTL)) +
               " " + std::to_string(GetScrollPos(run_->g(15), SB_CTL));
    };
    PostMessageA(run_->window(), WM_COMMAND, 22, 0);
    EXPECT_TRUE(says("kein lesbares Bild")) << status();

    PostMessageA(run_->window(), WM_COMMAND, 23, 0);
    HWND dialog = run_->program().wait_for_window("Ma\xDF" "e der Box", nullptr, 5000);
    ASSERT_NE(dialog, nullptr);
    const char* typed[] = {"135", "0", "14,0"};
    for (int field = 0; field < 3; ++field) SendMessageA(GetDlgItem(dialog, 63 + field), WM_SETTEXT, 0, LPARAM(typed[field]));
    PostMessageA(GetDlgItem(dialog, 67), BM_CLICK, 0, 0);
    EXPECT_TRUE(eventually(5000, [&] { return window_text(GetDlgItem(dialog, 66)).find("H\xF6he") != std::string::npos; }));
    EXPECT_TRUE(IsWindow(dialog));
    SendMessageA(GetDlgItem(dialog, 64), WM_SETTEXT, 0, LPARAM("190"));
    PostMessageA(GetDlgItem(dialog, 67), BM_CLICK, 0, 0);
    EXPECT_TRUE(says("135 x 190 x 14 mm")) << status();
    EXPECT_EQ(bars(), "6 9 1");
    PostMessageA(run_->window(), WM_COMMAND, 20, 0);
    EXPECT_TRUE(says("100 x 100 x 100 mm")) << "one step back: " << status();
    EXPECT_EQ(bars(), "5 5 5");
    PostMessageA(run_->window(), WM_COMMAND, 23, 0);
    dialog = run_->program().wait_for_window("Ma\xDF" "e der Box", nullptr, 5000);
    SendMessageA(GetDlgItem(dialog, 63), WM_SETTEXT, 0, LPARAM("300"));
    PostMessageA(GetDlgItem(dialog, 63), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(eventually(5000, [&] { return !IsWindow(dialog); })) << "Esc";
    EXPECT_EQ(bars(), "5 5 5");

    ASSERT_TRUE(write_png("tall_front.png", one_colour_picture(700, 1000, 220, 200, 20)));
    ASSERT_TRUE(run_->pick_face({9, front_face.title, "tall_front.png", 341, 767, 220, 200, 20}));
    PostMessageA(run_->window(), WM_COMMAND, 22, 0);
    EXPECT_TRUE(says("70 x 100 x 100 mm")) << status();
}

// "Form..." makes a 320-page cream paperback of 6 x 9 in, its spine shown as typed, in one
// undo step: the buttons name its faces; a case chosen next takes its standard size.
TEST_F(Tessaryn, FormMakesABookOrACaseInOneStep) {
    const auto status = [&] { return window_text(FindWindowExA(run_->window(), nullptr, "msctls_statusbar32", nullptr)); };
    const auto form = [&] {
        PostMessageA(run_->window(), WM_COMMAND, 24, 0);
        return run_->program().wait_for_window("Form", nullptr, 5000);
    };
    HWND dialog = form();
    ASSERT_NE(dialog, nullptr);
    PostMessageA(GetDlgItem(dialog, 71), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(dialog, 78), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(dialog, 85), CB_SETCURSEL, 4, 0);
    SendMessageA(GetDlgItem(dialog, 76), WM_SETTEXT, 0, LPARAM("320"));
    EXPECT_TRUE(eventually(5000, [&] { return window_text(GetDlgItem(dialog, 81)) == "R\xFC" "cken: 20,32 mm"; }))
        << window_text(GetDlgItem(dialog, 81));
    PostMessageA(GetDlgItem(dialog, 83), BM_CLICK, 0, 0);
    EXPECT_TRUE(eventually(5000, [&] { return window_text(run_->g(8)) == "Buchr\xFC" "cken"; })) << window_text(run_->g(8));
    EXPECT_EQ(window_text(run_->g(11)), "Fu\xDF" "schnitt");
    EXPECT_NE(status().find("152,4 x 228,6 x 20,3 mm"), std::string::npos) << status();
    PostMessageA(run_->window(), WM_COMMAND, 20, 0);
    EXPECT_TRUE(eventually(5000, [&] { return window_text(run_->g(8)) == "Linke Seite"; })) << "one step back";
    dialog = form();
    ASSERT_NE(dialog, nullptr);
    PostMessageA(GetDlgItem(dialog, 73), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(dialog, 83), BM_CLICK, 0, 0);
    EXPECT_TRUE(eventually(5000, [&] { return window_text(run_->g(8)) == "R\xFC" "cken"; })) << window_text(run_->g(8));
    EXPECT_NE(status().find("135 x 190 x 14 mm"), std::string::npos) << status();
}

// Only the first picture file of a drop counts; it is chosen as in the button's requester.
TEST_F(Tessaryn, PictureDroppedOnAFaceButtonIsChosenForItsFace) {
    write_face_picture(front_face);
    const std::string picture = full_path(front_face.file);
    ASSERT_TRUE(run_->program().drop_files(run_->g(front_face.button),
                                           {full_path("notes.txt"), picture}));
    // The field is answered once the handler has returned: the atlas is not read while the
    // program writes it.
    EXPECT_TRUE(eventually(10000, [&] { return window_text(run_->g(33)) == picture; }))
        << window_text(run_->g(33));
    EXPECT_TRUE(run_->atlas_shows(front_face));
}

// The name and version are the program file's own.
TEST_F(Tessaryn, InfoMenuTellsVersionMouseAndLibraries) {
    const std::string program = build_path("bin/Tessaryn.exe");
    std::vector<char> resource(GetFileVersionInfoSizeA(program.c_str(), nullptr));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, DWORD(resource.size()), resource.data()) &&
                VerQueryValueA(resource.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string version = "Tessaryn " + std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionLS));
    SetForegroundWindow(run_->window());
    // "Info" is the last title. Left from the first one passes the window's system menu on
    // the way there, however many titles come before it; another process cannot count them,
    // as the menu's handle is the program's own.
    for (WORD key : {VK_F10, VK_LEFT, VK_LEFT, VK_DOWN, VK_RETURN}) press_key(key);
    const std::string about = dismiss_message(run_->program());
    for (const std::string& part : {version, std::string("Doppelklick"), std::string("libjpeg-turbo"),
                                    std::string("libpng"), std::string("libtiff"), std::string("libwebp"), std::string("zlib"),
                                    std::string("THIRD-PARTY-NOTICES.txt")})
        EXPECT_NE(about.find(part), std::string::npos) << part << " in:\n" << about;
}

TEST_F(Tessaryn, SnapshotIsTheSizeAndPictureOfThePreview) {
    const picture shown = run_->still_preview();
    run_->click(13);
    const picture saved = run_->snapshot("snapshot.jpg");
    EXPECT_EQ(saved.height, 295);
    EXPECT_LT(mean_difference(saved, shown), 6.0);
}

// A window laid over the preview and taken away leaves the preview drawn as the snapshot
// shows it; after that rest a scroll-bar step shows at once.
TEST_F(Tessaryn, UncoveredPreviewIsDrawnAgainAndAChangeAfterRestShowsAtOnce) {
    run_->still_preview();
    run_->click(13);
    const picture saved = run_->snapshot("uncovered.jpg");
    RECT place;
    GetWindowRect(run_->g(39), &place);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_BLACKRECT, place.left,
                                 place.top, place.right - place.left, place.bottom - place.top,
                                 nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(cover);
    EXPECT_TRUE(eventually(5000, [&] { return mean_difference(run_->preview(), saved) > 20; })) << "not covered";
    DestroyWindow(cover);
    EXPECT_TRUE(eventually(1000, [&] { return mean_difference(run_->preview(), saved) < 6; }))
        << "uncovered preview differs by " << mean_difference(run_->preview(), saved);
    const picture rested = run_->preview();
    post_scroll(run_->g(18), SB_PAGERIGHT, 1);
    EXPECT_TRUE(eventually(1000, [&] { return mean_difference(run_->preview(), rested) > 1; }))
        << "the turn did not show";
}

// Black and white stripes four pixels wide, too fine for the atlas's 351-pixel face.
void write_striped_picture(const char* file) {
    ASSERT_NE(image_create(901, 2400, 3200, 24), 0);
    draw_begin(image_output(901));
    draw_box(0, 0, 2400, 3200, color_rgb(255, 255, 255));
    for (int x = 0; x < 2400; x += 8) draw_box(x, 0, 4, 3200, color_rgb(0, 0, 0));
    draw_end();
    ASSERT_EQ(image_save(901, file, plugin_jpeg, 10), 1);
    image_free(901);
}

// A large picture shrunk by averaging the pixels that fall on each pixel of the small one.
picture shrunk(const picture& large, int size) {
    picture small{size, size, std::vector<uint32_t>(size_t(size) * size)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint32_t sum[3] = {}, count = 0;
            for (int ly = y * large.height / size; ly < (y + 1) * large.height / size; ++ly)
                for (int lx = x * large.width / size; lx < (x + 1) * large.width / size; ++lx, ++count)
                    for (int c = 0; c < 3; ++c) sum[c] += large.at(lx, ly) >> (8 * c) & 0xFF;
            small.pixels[size_t(y) * size + x] = rgb(sum[2] / count, sum[1] / count, sum[0] / count);
        }
    return small;
}

// Changes between dark and light along a row: the stripes of a sharp face.
int stripe_edges(const picture& shot, int y, int from_x, int to_x) {
    int edges = 0;
    bool dark = (shot.at(from_x, y) & 0xFF) < 128;
    for (int x = from_x; x < to_x; ++x) {
        const int blue = int(shot.at(x, y) & 0xFF);
        if ((dark && blue > 170) || (!dark && blue < 85)) ++edges, dark = !dark;
    }
    return edges;
}

TEST_F(Tessaryn, ExportsAreLargeSharpTransparentAndNamedForTheirType) {
    const face_choice stripes = {9, "Bild f\xFCr die R\xFC" "ckseite", "stripes.jpg", 341, 767, 128, 128, 128};
    write_striped_picture(stripes.file);
    ASSERT_TRUE(run_->pick_face(stripes));
    run_->click(13);
    const picture snapshot = run_->snapshot("view.jpg");

    const picture large = run_->exported("Box", 1, "Box.jpg");
    ASSERT_EQ(large.width, 2048);
    EXPECT_LT(mean_difference(shrunk(large, 295), snapshot), 6.0) << "the snapshot's view";
    const std::vector<uint8_t> jpeg_bytes = read_file(full_path("Box.jpg"));

    const picture clear = run_->exported("Box.jpg", 2, "Box.png");
    ASSERT_EQ(clear.width, 2048);
    EXPECT_EQ(read_file(full_path("Box.jpg")), jpeg_bytes) << "nothing under the typed name";
    EXPECT_EQ(clear.at(0, 0) >> 24, 0u);
    EXPECT_EQ(clear.at(1024, 1024) >> 24, 255u);
    EXPECT_TRUE(std::any_of(clear.pixels.begin(), clear.pixels.end(),
                            [](uint32_t p) { return p >> 24 > 0 && p >> 24 < 255; })) << "smooth edges";

    const picture sharp = run_->exported("Box", 3, "Box.png");
    ASSERT_EQ(sharp.width, 4096);
    const int x = (preview_centre + 40) * 4096 / 295, y = (preview_centre - 20) * 4096 / 295;
    EXPECT_GT(stripe_edges(sharp, y, x - 150, x + 150), 40) << "the front face's stripes";

    const picture after = run_->exported("Box", 1, "Box.jpg");
    EXPECT_TRUE(corners_are(shrunk(after, 295), rgb(255, 255, 255)))
        << "a transparent export gives the floor back";
}

// "Box f\xFCllt das Bild" (appended to the "Ansicht" items), "Ansichtenserie exportieren..." and
// "3D-Modell exportieren (glb)...".
constexpr int fill_item = 6, export_set_item = 13, export_glb_item = 17;
const char* const set_suffixes[] = {"-ansicht", "-vorne", "-hinten", "-links", "-rechts", "-oben", "-rechts-vorne"};

bool holds(const std::vector<uint8_t>& bytes, const std::string& part) {
    const std::vector<uint8_t> wanted(part.begin(), part.end());
    return std::search(bytes.begin(), bytes.end(), wanted.begin(), wanted.end()) != bytes.end();
}

// Framed, the box fills 85 to 90 % of the larger side, centred and uncut; off again, the
// export is as before. Then the set: seven views, white exactly around the box, the preview
// as it was; a set whose third file cannot be written is told, the two before it kept; a
// set stopped with Esc keeps the files it wrote whole and says how many. Last the 3D model.
TEST(TessarynShop, FramedExportsAndTheSetOfSevenViews) {
    session run("shop", true);
    ASSERT_NE(run.window(), nullptr);
    const picture plain = run.exported("Box", 2, "Box.png");
    const std::vector<uint8_t> plain_bytes = read_file(full_path("Box.png"));
    EXPECT_TRUE(holds(plain_bytes, "sRGB") && holds(plain_bytes, std::string("pHYs\0\0\x17\x12", 8)));
    PostMessageA(run.window(), WM_COMMAND, fill_item, 0);
    const RECT box = drawn_bounds(run.exported("Box", 2, "Box.png")), before = drawn_bounds(plain);
    const LONG larger = std::max(box.right - box.left, box.bottom - box.top);
    EXPECT_TRUE(larger >= 2048 * 85 / 100 && larger <= 2048 * 90 / 100) << larger;
    EXPECT_TRUE(box.left > 0 && box.top > 0 && box.right < 2048 && box.bottom < 2048) << "cut at the border";
    EXPECT_NEAR(box.left, 2048 - box.right, 3);
    EXPECT_NEAR(box.top, 2048 - box.bottom, 3);
    EXPECT_GT(box.right - box.left, 3 * (before.right - before.left) / 2) << "drawn larger";
    PostMessageA(run.window(), WM_COMMAND, fill_item, 0);
    run.exported("Box", 2, "Box.png");
    EXPECT_EQ(read_file(full_path("Box.png")), plain_bytes) << "off is today's framing";

    const picture preview = run.still_preview();
    PostMessageA(run.window(), WM_COMMAND, export_set_item, 0);
    ASSERT_TRUE(answer_file_dialog(run.program(), "Ansichtenserie exportieren", full_path("Set"), 0));
    // Each file appears whole when it is done, the last one at the set's end.
    ASSERT_TRUE(eventually(120000, [] { return file_exists(full_path("Set-rechts-vorne.jpg")); }));
    std::vector<picture> views;
    for (const char* suffix : set_suffixes) {
        const picture view = load_pixels(full_path("Set" + std::string(suffix) + ".jpg").c_str());
        ASSERT_EQ(view.width, 2048) << suffix;
        views.push_back(shrunk(view, 295));
    }
    for (size_t i = 0; i < views.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            EXPECT_GT(mean_difference(views[i], views[j]), 1.0) << set_suffixes[i] << set_suffixes[j];
    EXPECT_EQ(channel_distance(pixel_of(full_path("Set-vorne.jpg"), 0, 0), rgb(255, 255, 255)), 0);
    EXPECT_TRUE(holds(read_file(full_path("Set-vorne.jpg")), std::string("JFIF\0\x01\x01\x01\0\x96\0\x96", 12)));
    EXPECT_LT(mean_difference(run.still_preview(), preview), 0.05) << "the view as it was";

    CreateDirectoryA(full_path("Held-hinten.jpg").c_str(), nullptr);
    PostMessageA(run.window(), WM_COMMAND, export_set_item, 0);
    ASSERT_TRUE(answer_file_dialog(run.program(), "Ansichtenserie exportieren", full_path("Held.jpg"), 0));
    const std::string told = dismiss_message(run.program());
    EXPECT_NE(told.find("Held-hinten.jpg"), std::string::npos) << told;
    EXPECT_EQ(load_pixels(full_path("Held-vorne.jpg").c_str()).width, 2048);
    EXPECT_FALSE(file_exists(full_path("Held-links.jpg")));

    const auto stopped_file = [](int view) { return full_path("Esc" + std::string(set_suffixes[view]) + ".jpg"); };
    for (int view = 0; view < 7; ++view) DeleteFileA(stopped_file(view).c_str());
    PostMessageA(run.window(), WM_COMMAND, export_set_item, 0);
    ASSERT_TRUE(answer_file_dialog(run.program(), "Ansichtenserie exportieren", full_path("Esc.jpg"), 0));
    ASSERT_TRUE(eventually(60000, [&] { return file_exists(stopped_file(0)); }));
    PostMessageA(run.window(), WM_KEYDOWN, VK_ESCAPE, 0);
    const std::string stopped = dismiss_message(run.program());
    int written = 0;
    while (written < 7 && file_exists(stopped_file(written))) ++written;
    EXPECT_LT(written, 7) << "Esc stops the set";
    EXPECT_NE(stopped.find(std::to_string(written) + " von 7"), std::string::npos) << stopped;
    for (int view = 0; view < written; ++view) EXPECT_EQ(load_pixels(stopped_file(view).c_str()).width, 2048) << view;

    // The 3D model: the typed name gets its extension.
    PostMessageA(run.window(), WM_COMMAND, export_glb_item, 0);
    ASSERT_TRUE(answer_file_dialog(run.program(), "3D-Modell exportieren", full_path("Modell"), 0));
    ASSERT_TRUE(eventually(30000, [] { return file_exists(full_path("Modell.glb")); }));
    EXPECT_TRUE(holds(read_file(full_path("Modell.glb")), "\"generator\":\"Tessaryn\""));
}

// The options the program keeps beside itself, "Licht", "Schatten", "Spiegelung", "Weiche
// Kanten", as 1 or 0 each. Menus live in their program's own process under Wine, so the ticks are read here.
std::string kept_options(const session& run) {
    const std::string file = run.folder() + "\\Tessaryn.ini";
    std::string kept;
    for (const char* key : {"Licht", "Schatten", "Spiegelung", "Weiche Kanten"})
        kept += char('0' + GetPrivateProfileIntA("Ansicht", key, 0, file.c_str()));
    return kept;
}

// Each "Ansicht" item changes the preview at once and is kept for the next start; all
// four off again show the start view as it was.
TEST(TessarynView, OptionsChangeThePreviewAndAreKept) {
    const int items[] = {2, 3, 4, 5};
    const char* const kept[] = {"1000", "1100", "1110", "1111"};
    picture plain, studio;
    DeleteFileA(full_path("view_options\\Tessaryn.ini").c_str());
    {
        session run("view_options", true);
        ASSERT_NE(run.window(), nullptr);
        plain = run.still_preview();
        picture last = plain;
        for (int i = 0; i < 4; ++i) {
            PostMessageA(run.window(), WM_COMMAND, WPARAM(items[i]), 0);
            const picture before = last;
            last = run.preview_changed_from(last, 0.05);
            EXPECT_GT(mean_difference(before, last), 0.05) << "item " << items[i];
            EXPECT_TRUE(eventually(3000, [&] { return kept_options(run) == kept[i]; })) << kept_options(run);
        }
        studio = last;
    }
    session again("view_options", true);
    ASSERT_NE(again.window(), nullptr);
    EXPECT_LT(mean_difference(again.still_preview(), studio), 0.3) << "kept across a restart";
    for (int item : items) PostMessageA(again.window(), WM_COMMAND, WPARAM(item), 0);
    EXPECT_TRUE(eventually(3000, [&] { return kept_options(again) == "0000"; })) << kept_options(again);
    EXPECT_LT(mean_difference(again.still_preview(), plain), 0.3) << "all off";

    // The file follows the window's options, whatever changed them: a project, a click, an undo.
    const std::string studio_project = again.folder() + "\\studio.tessaryn";
    const std::string text = "[Tessaryn]\r\nVersion=1\r\n[View]\r\nLight=1\r\nShadow=1\r\nReflection=1\r\n";
    write_file(studio_project, std::vector<uint8_t>(text.begin(), text.end()));
    PostMessageA(again.window(), WM_COMMAND, 10, 0);
    ASSERT_TRUE(answer_file_dialog(again.program(), "Projekt \xF6" "ffnen", studio_project));
    EXPECT_TRUE(eventually(3000, [&] { return kept_options(again) == "1110"; })) << kept_options(again);
    PostMessageA(again.window(), WM_COMMAND, 2, 0);
    EXPECT_TRUE(eventually(3000, [&] { return kept_options(again) == "0110"; })) << kept_options(again);
    PostMessageA(again.window(), WM_COMMAND, 20, 0);
    EXPECT_TRUE(eventually(3000, [&] { return kept_options(again) == "1110"; })) << "undone: " << kept_options(again);
}

// Without a project nothing is asked, whatever changed.
TEST_F(Tessaryn, ClosingTheWindowEndsWithExitCodeZero) {
    run_->click(42);
    PostMessageA(run_->window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run_->program().wait_for_exit(20000), 0u);
}

// Both checks run before the window is built: the user is told what is missing and the
// program ends with a failure code.
void expect_refusal(const std::string& program, const std::string& folder, const char* named) {
    tessaryn_process run;
    ASSERT_TRUE(run.start(program, folder));
    HWND message = run.wait_for_window("Tessaryn", "#32770", 20000);
    ASSERT_NE(message, nullptr);
    HWND text = FindWindowExA(message, nullptr, "Static", nullptr);
    while (text && window_text(text).find(named) == std::string::npos)
        text = FindWindowExA(message, text, "Static", nullptr);
    EXPECT_NE(text, nullptr) << "the message names " << named;
    PostMessageA(message, WM_COMMAND, IDOK, 0);
    EXPECT_NE(run.wait_for_exit(20000), 0u);
    EXPECT_NE(run.wait_for_exit(0), STILL_ACTIVE);
}

TEST(TessarynStart, MissingModelFileIsNamedWithItsPlace) {
    const std::string folder = full_path("without_mesh");
    ASSERT_TRUE(prepare_model_folder(folder, {"box.mesh"}));
    expect_refusal(build_path("bin/Tessaryn.exe"), folder, (folder + "\\model\\box.mesh").c_str());
}

TEST(TessarynStart, MissingEngineIsNamed) {
    const std::string folder = full_path("without_engine");
    ASSERT_TRUE(prepare_model_folder(folder, {}));
    const std::string program = folder + "\\Tessaryn.exe";
    ASSERT_TRUE(CopyFileA(build_path("bin/Tessaryn.exe").c_str(), program.c_str(), FALSE));
    expect_refusal(program, folder, "Engine3D.dll");
}

}  // namespace
