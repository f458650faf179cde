#include "budget/engine/project.h"
#include "budget/engine/report.h"
#include "budget/engine/report_export.h"
#include "common/textfile.h"
#include "budget/tests/fixture.h"
#include "common/errors.h"

#include <gtest/gtest.h>

namespace velmora::budget {
namespace {

namespace fs = std::filesystem;
using testing::Fixture;
using Row = std::vector<std::string>;

// B = 0.2, Ps = 100, Pu = 50, tools 2 %. Tank: 2 units of 3 m3 of sand at
// 10 (a community material); main pipeline 100 m of 2 in pipe at 3 with 0.01
// and 0.05 days per metre; cement trips 2 x 50 + 1 x 120; design 10 %, land 500.
void worked_project(Fixture& f) {
    f.write_bill("tank.csv", {"h", "Sand,m3,3,2002"});
    f.start();
    f.set_quantity(1, "2");
    f.doc.SG4.set_cell(2, f.pipe_row(f.doc.SG4, "6001"), "100");
    table_edited(f.doc, ProjectTable::SG4);
    Grid& t = f.doc.SG7;
    t.set_cell(3, 1, "2");
    t.set_cell(4, 1, "50");
    t.set_cell(5, 1, "1");
    t.set_cell(6, 1, "120");
    table_edited(f.doc, ProjectTable::SG7);
    f.doc.SG8.set_cell(2, 1, "10");
    table_edited(f.doc, ProjectTable::SG8, 2, 1);
    f.doc.SG8.set_cell(1, 3, "500");
    table_edited(f.doc, ProjectTable::SG8, 1, 3);
}

TEST(Report, WorkedComponentPipelineBudgetAndFunding) {
    Fixture f;
    worked_project(f);
    ASSERT_TRUE(reports_tab_shown(f.doc));
    EXPECT_FALSE(f.doc.report_outdated);
    const Document& d = f.doc;

    EXPECT_EQ(d.SG11.row(0), (Row{"Component", "#", "Materials", "", "", "Skilled Labor", "", "", "Unskilled Labor",
                                  "", "", "Tools"}));
    EXPECT_EQ(d.SG11.row(1), (Row{"", "", "Unit", "U.P.", "Subtotal", "Days", "U.P.", "Subtotal", "Days", "U.P.",
                                  "Subtotal", ""}));
    EXPECT_EQ(d.SG11.row(2), (Row{"Tank", "2", "unit", "30", "60", "0", "120", "0", "0", "50", "0", "1.2"}));
    EXPECT_EQ(d.SG11.row(3), (Row{"Total", "", "", "", "60", "", "", "0", "", "", "0", "1.2"}));
    EXPECT_EQ(d.SG11.row_count(), 4);

    EXPECT_EQ(d.SG12.row(2), (Row{"PVC pipe 2 in", "100", "m", "3", "300", "1", "120", "120", "5", "50", "250", "6"}));
    EXPECT_EQ(d.SG12.row(3), (Row{"Total", "100", "", "", "300", "", "", "120", "", "", "250", "6"}));
    EXPECT_EQ(d.SG13.row(2), (Row{"Total", "0", "", "", "0", "", "", "0", "", "", "0", "0"}));

    EXPECT_EQ(d.SG14.row(1), (Row{"Main Pipeline (different diameters)", "meter", "100", "6.7", "670"}));
    EXPECT_EQ(d.SG14.row(2), (Row{"Distribution network (different diameters)", "meter", "0", "0", "0"}));
    EXPECT_EQ(d.SG14.row(3), (Row{"Tank", "unit", "2", "30", "60"}));
    EXPECT_EQ(d.SG14.row(4), (Row{"Tools and small equipment", "Global", "1", "7.2", "7.2"}));
    EXPECT_EQ(d.SG14.row(5), (Row{"Transportation", "Global", "1", "220", "220"}));
    EXPECT_EQ(d.SG14.row(6), (Row{"Subtotal", "-----", "-----", "-----", "957.2"}));
    EXPECT_EQ(d.SG14.row(7), (Row{"Detailed Engineering Design", "%", "10", "957.2", "95.72"}));
    EXPECT_EQ(d.SG14.row(8), (Row{"Design Evaluation", "%", "", "957.2", "0"}));
    EXPECT_EQ(d.SG14.row(9), (Row{"Land (Including water sources)", "Global", "1", "500", "500"}));
    EXPECT_EQ(d.SG14.row(16), (Row{"Total", "-----", "-----", "-----", "1552.92"}));
    EXPECT_EQ(d.SG14.row_count(), 17);

    EXPECT_EQ(d.SG15.row(1), (Row{"Skilled Labor", "120", "0", "0", "120"}));
    EXPECT_EQ(d.SG15.row(2), (Row{"Unskilled Labor", "125", "125", "0", "250"}));
    // Materials 360, of which the community supplies 60 of sand.
    EXPECT_EQ(d.SG15.row(3), (Row{"Construction Materials", "300", "60", "0", "360"}));
    EXPECT_EQ(d.SG15.row(4), (Row{"Tools and Equipment", "7.2", "0", "0", "7.2"}));
    EXPECT_EQ(d.SG15.row(5), (Row{"Transport of Materials", "88", "132", "0", "220"}));
    EXPECT_EQ(d.SG15.row(6), (Row{"Subtotal", "640.2", "317", "0", "957.2"}));
    EXPECT_EQ(d.SG15.row(7), (Row{"Detailed Engineering Design", "86.148", "0", "9.572", "95.72"}));
    EXPECT_EQ(d.SG15.row(9), (Row{"Land (Including water sources)", "450", "0", "50", "500"}));
    EXPECT_EQ(d.SG15.row(16), (Row{"Total", "1176.348", "317", "59.572", "1552.92"}));
    EXPECT_EQ(highlighted_rows(d, d.SG14), (std::vector<int>{6, 16}));

    EXPECT_FALSE(reports_tab_shown(f.doc));  // up to date: nothing happens
}

TEST(Report, FundingUsesTheShippedPercentagesNotTheProjectTable) {
    Fixture f;
    worked_project(f);
    f.doc.SG9.set_cell(1, 3, "0");
    rebuild_report(f.doc);
    EXPECT_EQ(f.doc.SG9(1, 3), "100");
    EXPECT_EQ(f.doc.SG15(1, 3), "300");
}

TEST(Report, LabourDaysBelongToEachComponentAlone) {
    Fixture f;
    f.start();
    f.set_quantity(1, "1");
    f.set_quantity(2, "1");
    rebuild_report(f.doc);
    // Tank: sand 30 + cement 40 = 70; 2 skilled days at 120, 4 unskilled at 50.
    EXPECT_EQ(f.doc.SG11.row(2), (Row{"Tank", "1", "unit", "70", "70", "2", "120", "240", "4", "50", "200", "1.4"}));
    // Tap: no labour lines, so no days.
    EXPECT_EQ(f.doc.SG11.row(3), (Row{"Tap", "1", "unit", "20", "20", "0", "120", "0", "0", "50", "0", "0.4"}));
    EXPECT_EQ(f.doc.SG14.row(3), (Row{"Tank", "unit", "1", "510", "510"}));
}

TEST(Report, NoPricedComponent) {
    Fixture f;
    f.start();
    f.set_quantity(1, "0");
    f.set_quantity(2, "-1");
    rebuild_report(f.doc);
    EXPECT_EQ(f.doc.SG11.row_count(), 3);
    EXPECT_EQ(f.doc.SG11.row(2), (Row{"Total", "", "", "", "0", "", "", "0", "", "", "0", "0"}));
    EXPECT_EQ(f.doc.SG14(0, 3), "Tools and small equipment");
    EXPECT_EQ(f.doc.SG14(0, 5), "Subtotal");
    EXPECT_EQ(f.doc.SG16.row_count(), 1);
    EXPECT_EQ(f.doc.SG17.row_count(), 1);
}

TEST(Report, PipeMissingFromThePriceListKeepsOnlyNameAndLength) {
    Fixture f;
    f.start();
    f.doc.SG5.set_cell(0, 1, "6099");
    f.doc.SG5.set_cell(2, 1, "40");
    f.doc.SG5.set_cell(2, 2, "10");
    rebuild_report(f.doc);
    EXPECT_EQ(f.doc.SG13.row(2), (Row{"PVC pipe 2 in", "40", "", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(f.doc.SG13.row(3), (Row{"PVC pipe 0.5 in", "10", "m", "1", "10", "0.02", "120", "2.4", "0.1", "50", "5", "0.2"}));
    EXPECT_EQ(f.doc.SG13.row(4), (Row{"Total", "50", "", "", "10", "", "", "2.4", "", "", "5", "0.2"}));
    EXPECT_EQ(f.doc.SG14.row(2), (Row{"Distribution network (different diameters)", "meter", "50", "0.348", "17.4"}));
}

TEST(Report, ChangedBenefitsRebuildAtOnce) {
    Fixture f;
    worked_project(f);
    rebuild_report(f.doc);
    f.write("moe.csv", {"h", "Total,-----,-----,-----,0.5"});
    benefits_window_closed(f.doc, false);
    EXPECT_EQ(f.doc.SG12(6, 2), "120");
    benefits_window_closed(f.doc, true);
    EXPECT_EQ(f.doc.SG12(6, 2), "150");
    EXPECT_FALSE(f.doc.report_outdated);
}

TEST(Report, ExportToTheWorkbook) {
    Fixture f;
    worked_project(f);
    rebuild_report(f.doc);
    f.doc.SG1.set_cell(1, 0, "Los Pinos");
    EXPECT_EQ(report_workbook_name(f.doc), f.projects / "Budget Report -  - Los Pinos.xlsx");
    f.doc.project_file = f.projects / "pinos.bfl";
    fs::path book = report_workbook_name(f.doc);
    EXPECT_EQ(book, f.projects / "Budget Report - pinos - Los Pinos.xlsx");
    EXPECT_TRUE(export_report(f.doc, book, f.messages));
    EXPECT_EQ(textfile::read_bytes(book).substr(0, 2), "PK");
    textfile::write_lines(book, {"keep"});
    f.messages.answer_next(Answer::Cancel);
    EXPECT_FALSE(export_report(f.doc, book, f.messages));
    EXPECT_EQ(textfile::read_lines(book), Row{"keep"});
    EXPECT_EQ(f.messages.texts(), (Row{"The report has been exported to Excel File " + book.string(),
                                       "File " + book.string() + " already exists\rOk to overwrite ?"}));
}

TEST(Report, AMissingBillStopsTheRebuild) {
    Fixture f;
    f.start();
    f.set_quantity(1, "1");
    f.set_quantity(2, "1");
    fs::remove(f.files / "tap.csv");
    EXPECT_THROW(reports_tab_shown(f.doc), FileError);
    EXPECT_FALSE(f.doc.report_outdated);
    EXPECT_EQ(f.doc.SG11(0, 2), "Tank");  // what was written stays
    EXPECT_EQ(f.doc.SG11(0, 3), "Tap");
    fs::remove(f.files / "moe.csv");
    EXPECT_THROW(rebuild_report(f.doc), FileError);
    EXPECT_EQ(f.doc.SG11(0, 2), "");
}

}  // namespace
}  // namespace velmora::budget
