// The box's net and a book's cover at 300 pixels per inch: where each panel lies in the
// template, which panels fold together, how a sheet with or without its bleed is cut into
// the faces, and what a cover of other proportions is told.
#include <gtest/gtest.h>

#include "app/export/print/print_template.h"
#include "app/faces/cover_layout.h"
#include "tests/support/test_runtime.h"

namespace {

enum face : int { top, right, front, back, bottom, left };

void expect_part(const picture_part& part, double left_mm, double top_mm, double width_mm, double height_mm,
                 double sheet_width_mm, double sheet_height_mm) {
    EXPECT_DOUBLE_EQ(part.left, left_mm / sheet_width_mm);
    EXPECT_DOUBLE_EQ(part.top, top_mm / sheet_height_mm);
    EXPECT_DOUBLE_EQ(part.right, (left_mm + width_mm) / sheet_width_mm);
    EXPECT_DOUBLE_EQ(part.bottom, (top_mm + height_mm) / sheet_height_mm);
}

// 6 x 9 in, 320 pages on cream paper: a spine of 0.8 in.
const book_setup cream_320 = {320, book_paper::cream};
const box_size six_by_nine = {152.4, 228.6, spine_mm(box_shape::paperback, cream_320)};

}  // namespace

TEST(PrintNet, PanelsLieInTheTemplateAsTheBoxFolds) {
    const print_net net = print_net_of({200, 150, 50});
    EXPECT_EQ(net_pixels(net.width_mm), 5976);  // 506 mm
    EXPECT_EQ(net_pixels(net.height_mm), 3024);  // 256 mm
    // Each edge is rounded by itself, so that panels meet: the bottom is a pixel lower than the
    // top.
    const pixel_rect expected[face_count] = {{626, 35, 2362, 591},    {2988, 626, 591, 1772}, {626, 626, 2362, 1772},
                                             {3579, 626, 2362, 1772}, {626, 2398, 2362, 590}, {35, 626, 591, 1772}};
    for (int f = 0; f < face_count; ++f) {
        const pixel_rect panel = net_pixels(net.panels[f]);
        EXPECT_EQ(panel.x, expected[f].x) << f;
        EXPECT_EQ(panel.y, expected[f].y) << f;
        EXPECT_EQ(panel.width, expected[f].width) << f;
        EXPECT_EQ(panel.height, expected[f].height) << f;
    }
    for (int f : {top, right, bottom, left}) EXPECT_TRUE(net_panels_meet(net.panels[front], net.panels[f])) << f;
    EXPECT_TRUE(net_panels_meet(net.panels[right], net.panels[back]));
    EXPECT_FALSE(net_panels_meet(net.panels[top], net.panels[left]));
    EXPECT_FALSE(net_panels_meet(net.panels[front], net.panels[back]));
}

TEST(PrintNet, SheetIsCutWithOrWithoutItsBleedAndOtherProportionsDoNotFit) {
    const box_size box = {200, 150, 50};
    const sheet_cut bled = print_sheet_cut(print_net_of(box), 4724, 2391);  // 506 x 256 mm at 237 ppi
    ASSERT_TRUE(bled.fits);
    EXPECT_TRUE(bled.with_bleed);
    expect_part(bled.panels[front], 53, 53, 200, 150, 506, 256);
    expect_part(bled.panels[back], 303, 53, 200, 150, 506, 256);
    const sheet_cut trimmed = print_sheet_cut(print_net_of(box), 1000, 500);  // 500 x 250 mm
    ASSERT_TRUE(trimmed.fits);
    EXPECT_FALSE(trimmed.with_bleed);
    expect_part(trimmed.panels[top], 50, 0, 200, 50, 500, 250);
    expect_part(trimmed.panels[left], 0, 50, 50, 150, 500, 250);
    EXPECT_TRUE(print_sheet_cut(print_net_of(box), 1009, 500).fits) << "within 1 %";
    EXPECT_FALSE(print_sheet_cut(print_net_of(box), 1030, 500).fits);
    EXPECT_FALSE(print_sheet_cut(print_net_of(box), 3000, 3000).fits);
    // 5 mm deeper, the bled sheet is near the net without bleed, yet it was cut with it.
    EXPECT_TRUE(print_sheet_cut(print_net_of({200, 150, 55}), 4724, 2391).fits);
    EXPECT_FALSE(sheet_still_fits(print_net_of({200, 150, 55}), 4724, 2391, bled.panels));
    EXPECT_TRUE(sheet_still_fits(print_net_of(box), 1000, 500, trimmed.panels));
}

TEST(PrintNet, CoverIsCutIntoBackSpineAndFrontAndTheEdgesKeepTheirPictures) {
    const print_net net = print_net_of(box_shape::paperback, six_by_nine);
    const sheet_cut bled = print_sheet_cut(net, 3915, 2775);  // 13.05 x 9.25 in
    ASSERT_TRUE(bled.fits);
    EXPECT_TRUE(bled.with_bleed);
    expect_part(bled.panels[back], 3.175, 3.175, 152.4, 228.6, 331.47, 234.95);
    expect_part(bled.panels[left], 155.575, 3.175, 20.32, 228.6, 331.47, 234.95);
    expect_part(bled.panels[front], 175.895, 3.175, 152.4, 228.6, 331.47, 234.95);
    for (int f : {top, right, bottom}) EXPECT_TRUE(is_whole_picture(bled.panels[f])) << f;
    const sheet_cut trimmed = print_sheet_cut(net, 3840, 2700);  // 12.8 x 9 in
    ASSERT_TRUE(trimmed.fits);
    EXPECT_FALSE(trimmed.with_bleed);
    expect_part(trimmed.panels[left], 152.4, 0, 20.32, 228.6, 325.12, 228.6);
    EXPECT_TRUE(sheet_still_fits(net, 3840, 2700, trimmed.panels));
    // A hardcover's case: 15 mm wrap, boards 3 mm over the trim, 5 mm hinges beside the spine.
    const print_net hardcover = print_net_of(box_shape::hardcover, six_by_nine);
    EXPECT_DOUBLE_EQ(hardcover.width_mm, 2 * (15 + 155.4 + 5) + 20.32);
    EXPECT_DOUBLE_EQ(hardcover.panels[left].x, 15 + 155.4 + 5);
    EXPECT_TRUE(net_panels_meet(hardcover.hinges[1], hardcover.panels[front]));
    const print_net dvd = print_net_of(box_shape::dvd, standard_case_size(box_shape::dvd));
    EXPECT_DOUBLE_EQ(net_proportion(dvd, false), 273.0 / 183);
    // A disc printer's Blu-ray insert, 270 x 149 mm round a 14 mm spine, fits the 13 mm case.
    const print_net bluray = print_net_of(box_shape::bluray, standard_case_size(box_shape::bluray));
    EXPECT_DOUBLE_EQ(net_proportion(bluray, false), 269.0 / 149);
    EXPECT_TRUE(print_sheet_cut(bluray, 3189, 1760).fits);
}

TEST(PrintNet, CoverOfAnotherPageCountIsToldWithTheSpineThatFits) {
    // Made for 480 pages: a spine of 1.2 in, 13.45 x 9.25 in. Made for 400 pages, 13.3 x 9.25 in
    // lies within 1 % of the cover without bleed, yet its spine is 5 mm wider.
    const print_net net = print_net_of(box_shape::paperback, six_by_nine);
    ASSERT_FALSE(print_sheet_cut(net, 4035, 2775).fits);
    EXPECT_FALSE(print_sheet_cut(net, 3990, 2775).fits);
    EXPECT_FALSE(sheet_still_fits(net, 3990, 2775, print_sheet_cut(net, 3840, 2700).panels));
    EXPECT_TRUE(print_sheet_cut(net, 3913, 2776).fits) << "resampled by a pixel";
    EXPECT_NEAR(cover_of_sheet(box_shape::paperback, cream_320, six_by_nine, 4035, 2775).spine_mm, 30.48, 0.01);
    const std::string told = cover_misfit_text(box_shape::paperback, cream_320, six_by_nine, 4035, 2775);
    EXPECT_NE(told.find("331,5 x 234,9 mm mit Anschnitt 3,175 mm"), std::string::npos) << told;
    EXPECT_NE(told.find("R\xFC"
                        "cken von 20,3 mm"),
              std::string::npos)
        << told;
    EXPECT_NE(told.find("480 Seiten"), std::string::npos) << told;
}

TEST(PrintNet, CoverTemplateIsAtRealSizeWithTheSpineDashed) {
    const char* const names[face_count] = {};
    ASSERT_EQ(print_template_write("umschlag.png", box_shape::paperback, six_by_nine, names), export_failure::none);
    const pixel_grid drawn = load_pixels("umschlag.png");
    EXPECT_EQ(drawn.width, 3915);
    EXPECT_EQ(drawn.height, 2775);
    EXPECT_NE(drawn.at(1000, 5), rgb(255, 255, 255)) << "the bleed is tinted";
    // The spine's edges at 6.125 and 6.925 in: a dash at the top of each, then a gap.
    for (int x : {1838, 2078}) {
        EXPECT_EQ(drawn.at(x, 45), rgb(0x70, 0x70, 0x70)) << x;
        EXPECT_EQ(drawn.at(x, 68), rgb(255, 255, 255)) << x;
    }
}
