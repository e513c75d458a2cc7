// The print template as a designer gets it from the "Datei" menu, painted panel by panel and
// loaded back as a print sheet: each face shows its panel, the project keeps the sheet and its
// panels whatever the box's size becomes, and a sheet of other proportions is told and
// changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "app/faces/print_net.h"
#include "tests/e2e/session.h"
#include "tests/support/picture_files.h"

namespace {

constexpr int open_item = 10, save_as_item = 12, template_item = 14, sheet_item = 15, sizes_item = 23, front_path = 33;
constexpr int depth_field = 65, ok_button = 67;
constexpr int depth_steps = 3, width_steps = 9, height_steps = 7;
constexpr int sheet_scale = 3;  // the sheet is painted at a third of the template's pixels
constexpr uint8_t panel_colours[face_count][3] = {{230, 40, 40}, {40, 200, 40}, {40, 40, 230},
                                                  {230, 200, 40}, {200, 40, 200}, {40, 200, 200}};

std::string text_of(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

void paint(bgr_picture& sheet, const pixel_rect& panel, const uint8_t (&colour)[3]) {
    for (int y = panel.y / sheet_scale; y < (panel.y + panel.height) / sheet_scale; ++y)
        for (int x = panel.x / sheet_scale; x < (panel.x + panel.width) / sheet_scale; ++x) {
            uint8_t* pixel = &sheet.rows[(size_t(y) * sheet.width + x) * 3];
            pixel[0] = colour[2], pixel[1] = colour[1], pixel[2] = colour[0];
        }
}

// Its middle and near each edge, where a panel cut along another net shows the bleed or a
// neighbour.
bool atlas_shows_panel(const session& run, int face) {
    const face_rectangle& r = face_rectangles[face];
    const uint32_t wanted = rgb(panel_colours[face][0], panel_colours[face][1], panel_colours[face][2]);
    const int in_x = r.width / 25 + 1, in_y = r.height / 25 + 1, mid_x = r.x + r.width / 2, mid_y = r.y + r.height / 2;
    const int xs[] = {mid_x, r.x + in_x, r.x + r.width - in_x, mid_x, mid_x};
    const int ys[] = {mid_y, mid_y, mid_y, r.y + in_y, r.y + r.height - in_y};
    return eventually(10000, [&] {
        for (int i = 0; i < 5; ++i)
            if (channel_distance(pixel_of(run.model_file("cube1.jpg"), xs[i], ys[i]), wanted) > 12) return false;
        return true;
    });
}

}  // namespace

TEST(PrintSheets, TemplatePaintedAndLoadedBackPutsEachPanelOnItsFace) {
    start_image_runtime();
    session run("print_sheet");
    ASSERT_NE(run.window(), nullptr);
    const auto menu = [&](int item) { PostMessageA(run.window(), WM_COMMAND, WPARAM(item), 0); };
    const std::string project = run.folder() + "\\box.tessaryn";
    const std::string box = "[Tessaryn]\r\nVersion=1\r\n[Box]\r\nDepth=" + std::to_string(depth_steps) +
                            "\r\nWidth=" + std::to_string(width_steps) + "\r\nHeight=" + std::to_string(height_steps) + "\r\n";
    write_file(project, std::vector<uint8_t>(box.begin(), box.end()));
    menu(open_item);
    ASSERT_TRUE(answer_file_dialog(run.program(), "Projekt \xF6" "ffnen", project) && caught_up(run.window()));
    const std::vector<uint8_t> plain_atlas = read_file(run.model_file("cube1.jpg"));

    const print_net net = print_net_of(box_size_of_steps(depth_steps, width_steps, height_steps));
    menu(template_item);
    ASSERT_TRUE(answer_file_dialog(run.program(), "Druckvorlage speichern", run.folder() + "\\vorlage") &&
                caught_up(run.window()));
    const pixel_grid drawn = load_pixels((run.folder() + "\\vorlage.png").c_str());
    ASSERT_EQ(drawn.width, net_pixels(net.width_mm));
    ASSERT_EQ(drawn.height, net_pixels(net.height_mm));
    EXPECT_NE(drawn.at(5, 5), rgb(255, 255, 255)) << "the bleed is tinted";
    bgr_picture sheet = one_colour_picture(drawn.width / sheet_scale, drawn.height / sheet_scale, 128, 128, 128);
    for (int face = 0; face < face_count; ++face) {
        const pixel_rect panel = net_pixels(net.panels[face]);
        EXPECT_EQ(drawn.at(panel.x + 20, panel.y + 20), rgb(255, 255, 255)) << "inside panel " << face;
        paint(sheet, panel, panel_colours[face]);
    }
    const pixel_rect left = net_pixels(net.panels[5]), front = net_pixels(net.panels[2]);
    EXPECT_EQ(drawn.at(left.x + 1, left.y + 5), rgb(0, 0, 0)) << "cut along the left side's outer edge";
    EXPECT_EQ(drawn.at(front.x, front.y + 5), rgb(0x70, 0x70, 0x70)) << "fold between the left side and the front";
    ASSERT_TRUE(write_png((run.folder() + "\\bogen.png").c_str(), sheet));

    menu(sheet_item);
    ASSERT_TRUE(answer_file_dialog(run.program(), "Druckbogen laden", run.folder() + "\\bogen.png"));
    for (int face = 0; face < face_count; ++face) EXPECT_TRUE(atlas_shows_panel(run, face)) << "face " << face;
    EXPECT_NE(window_text(run.g(front_path)).find("Druckbogen, Vorderseite"), std::string::npos);
    menu(save_as_item);
    ASSERT_TRUE(answer_file_dialog(run.program(), "Projekt speichern unter", run.folder() + "\\mit_bogen") &&
                caught_up(run.window()));
    const std::string saved = text_of(read_file(run.folder() + "\\mit_bogen.tessaryn"));
    EXPECT_NE(saved.find("Sheet=bogen.png"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Front=bogen.png"), std::string::npos) << saved;

    const std::vector<uint8_t> atlas = read_file(run.model_file("cube1.jpg"));
    ASSERT_TRUE(write_png((run.folder() + "\\quadrat.png").c_str(), one_colour_picture(300, 300, 9, 9, 9)));
    menu(sheet_item);
    ASSERT_TRUE(answer_file_dialog(run.program(), "Druckbogen laden", run.folder() + "\\quadrat.png"));
    const std::string told = dismiss_message(run.program());
    EXPECT_NE(told.find("passt nicht"), std::string::npos) << told;
    EXPECT_NE(told.find("Anschnitt"), std::string::npos) << told;
    EXPECT_TRUE(caught_up(run.window()));
    EXPECT_EQ(read_file(run.model_file("cube1.jpg")), atlas) << "nothing changed";

    // 5 mm deeper the box leaves the sheet's proportions: told at once, and the faces keep
    // their panels through a save and a reopening over an atlas that knows none of them.
    menu(sizes_item);
    const HWND dialog = run.program().wait_for_window("Ma\xDF" "e der Box", nullptr, 5000);
    ASSERT_NE(dialog, nullptr);
    SendMessageA(GetDlgItem(dialog, depth_field), WM_SETTEXT, 0, LPARAM("65"));
    PostMessageA(GetDlgItem(dialog, ok_button), BM_CLICK, 0, 0);
    const auto status = [&] { return window_text(FindWindowExA(run.window(), nullptr, "msctls_statusbar32", nullptr)); };
    EXPECT_TRUE(eventually(5000, [&] { return status().find("passt nicht mehr") != std::string::npos; })) << status();
    menu(save_as_item);
    ASSERT_TRUE(answer_file_dialog(run.program(), "Projekt speichern unter", run.folder() + "\\tiefer") &&
                caught_up(run.window()));
    write_file(run.model_file("cube1.jpg"), plain_atlas);
    menu(open_item);
    ASSERT_TRUE(answer_file_dialog(run.program(), "Projekt \xF6" "ffnen", run.folder() + "\\tiefer.tessaryn") &&
                caught_up(run.window()));
    for (int face = 0; face < face_count; ++face) EXPECT_TRUE(atlas_shows_panel(run, face)) << "reopened, face " << face;
    if (run.program().wait_for_window("Tessaryn", "#32770", 0)) ADD_FAILURE() << dismiss_message(run.program());
    EXPECT_NE(text_of(read_file(run.folder() + "\\tiefer.tessaryn")).find("DepthMm=65"), std::string::npos);
}
