// The box's net at 300 pixels per inch: where each panel lies in the template, which panels
// fold together, and how a sheet with or without its bleed is cut into the faces.
#include <gtest/gtest.h>

#include "app/faces/print_net.h"

namespace {

enum face : int { top, right, front, back, bottom, left };

void expect_part(const picture_part& part, double left_mm, double top_mm, double width_mm, double height_mm,
                 double sheet_width_mm, double sheet_height_mm) {
    EXPECT_DOUBLE_EQ(part.left, left_mm / sheet_width_mm);
    EXPECT_DOUBLE_EQ(part.top, top_mm / sheet_height_mm);
    EXPECT_DOUBLE_EQ(part.right, (left_mm + width_mm) / sheet_width_mm);
    EXPECT_DOUBLE_EQ(part.bottom, (top_mm + height_mm) / sheet_height_mm);
}

}  // namespace

TEST(PrintNet, PanelsLieInTheTemplateAsTheBoxFolds) {
    const print_net net = print_net_of({200, 150, 50});
    EXPECT_EQ(net_pixels(net.width_mm), 5976);  // 506 mm
    EXPECT_EQ(net_pixels(net.height_mm), 3024);  // 256 mm
    // Each edge is rounded by itself, so that panels meet: the bottom is a pixel lower than the top.
    const pixel_rect expected[face_count] = {{626, 35, 2362, 591},  {2988, 626, 591, 1772}, {626, 626, 2362, 1772},
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
    const sheet_cut bled = print_sheet_cut(box, 4724, 2391);  // 506 x 256 mm at 237 ppi
    ASSERT_TRUE(bled.fits);
    EXPECT_TRUE(bled.with_bleed);
    expect_part(bled.panels[front], 53, 53, 200, 150, 506, 256);
    expect_part(bled.panels[back], 303, 53, 200, 150, 506, 256);
    const sheet_cut trimmed = print_sheet_cut(box, 1000, 500);  // 500 x 250 mm
    ASSERT_TRUE(trimmed.fits);
    EXPECT_FALSE(trimmed.with_bleed);
    expect_part(trimmed.panels[top], 50, 0, 200, 50, 500, 250);
    expect_part(trimmed.panels[left], 0, 50, 50, 150, 500, 250);
    EXPECT_TRUE(print_sheet_cut(box, 1009, 500).fits) << "within 1 %";
    EXPECT_FALSE(print_sheet_cut(box, 1030, 500).fits);
    EXPECT_FALSE(print_sheet_cut(box, 3000, 3000).fits);
    // 5 mm deeper, the bled sheet is near the net without bleed, yet it was cut with it.
    EXPECT_TRUE(print_sheet_cut({200, 150, 55}, 4724, 2391).fits);
    EXPECT_FALSE(sheet_still_fits({200, 150, 55}, 4724, 2391, bled.panels));
    EXPECT_TRUE(sheet_still_fits(box, 1000, 500, trimmed.panels));
}
