// The catalogue's table, identifiers and names, without the window: what a spreadsheet saves
// is read as its user sees it, and a wrong identifier names no file.
#include <gtest/gtest.h>

#include <string>

#include "app/catalogue/catalogue.h"

namespace {

TEST(CatalogueTable, ReadsSemicolonsQuotesLineBreaksAndAMarkInUtf8) {
    const catalogue_table table = catalogue_table_read(
        "\xEF\xBB\xBFSKU;Sheet;width_mm\r\n\r\n\"a;1\";\"B\xC3\xBC" "cher \"\"neu\"\"\r\nZeile\";120\r\nb2;s.png\r\n");
    EXPECT_EQ(table.separator, ';');
    EXPECT_EQ(table.complaint, "");
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(catalogue_field(table, 0, "sku"), "a;1");
    EXPECT_EQ(catalogue_field(table, 0, "sheet"), "B\xFC" "cher \"neu\"\r\nZeile");
    EXPECT_EQ(catalogue_field(table, 1, "width_mm"), "") << "a short row's missing field is empty";
    EXPECT_EQ(table.lines[1], 5);
}

TEST(CatalogueTable, KeepsWindows1252AndNamesTheMissingColumns) {
    const catalogue_table table = catalogue_table_read("sku,front\nM\xFChle,f.jpg\n");
    EXPECT_EQ(table.separator, ',');
    EXPECT_EQ(catalogue_field(table, 0, "sku"), "M\xFChle");
    EXPECT_NE(catalogue_table_read("gtin,width_mm\n1,2\n").complaint.find("project, sheet"), std::string::npos);
    EXPECT_EQ(catalogue_field(catalogue_table_read("\xEF\xBB\xBFsku,front\n\x96,f\n"), 0, "sku"), "\x96")
        << "a byte no UTF-8 starts with, under the mark";
}

TEST(CatalogueIdentifier, PadsGtinsChecksTheirDigitAndTakesAsins) {
    EXPECT_EQ(catalogue_gtin14("4006381333931").text, "04006381333931");
    const catalogue_identifier wrong = catalogue_gtin14("4006381333932");
    EXPECT_EQ(wrong.text, "");
    EXPECT_NE(wrong.complaint.find("erwartet 1"), std::string::npos) << wrong.complaint;
    const catalogue_table table = catalogue_table_read("asin,isbn,sheet\nb00example,978-3-16-148410-0,s\nB00EXAMPL,,s\n");
    EXPECT_EQ(catalogue_identify(table, 0, catalogue_profile::amazon).text, "B00EXAMPLE");
    EXPECT_EQ(catalogue_identify(table, 0, catalogue_profile::gs1).text, "09783161484100");
    EXPECT_NE(catalogue_identify(table, 1, catalogue_profile::amazon).complaint, "");
    EXPECT_NE(catalogue_identify(table, 1, catalogue_profile::gs1).complaint, "");
}

TEST(CatalogueNames, FollowEachProfileAndTheReportQuotesItsSeparator) {
    const catalogue_names amazon = catalogue_file_names(catalogue_profile::amazon, "B00EXAMPLE");
    EXPECT_EQ(amazon.main, "B00EXAMPLE.MAIN.jpg");
    EXPECT_EQ(amazon.views[6], "B00EXAMPLE.PT07.jpg");
    EXPECT_EQ(catalogue_file_names(catalogue_profile::gs1, "04006381333931").views[2], "04006381333931_B7C1.jpg");
    EXPECT_EQ(catalogue_file_names(catalogue_profile::plain, "a1").views[1], "a1\\a1-vorne.png");
    std::string complaint;
    EXPECT_EQ(catalogue_outputs("main; spin", complaint), unsigned(output_main | output_spin));
    EXPECT_EQ(catalogue_outputs("movie", complaint), 0u);
    catalogue_line line{2, "a;1", catalogue_status::failed, "Bild fehlt", {}, {}};
    EXPECT_EQ(catalogue_report_line(line, ';'), "2;\"a;1\";failed;Bild fehlt;;;;\r\n");
}

}  // namespace
