// Export of the two tables (workbook and comma text) and the printed results
// page.
#include "common/errors.h"
#include "common/textfile.h"
#include "marulet/engine/calculation.h"
#include "marulet/engine/project_files.h"
#include "marulet/engine/results_export.h"
#include "marulet/engine/results_print.h"
#include "network_fixture.h"
#include "test_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::marulet {
namespace {

namespace fs = std::filesystem;
using testing::network;

Document three_pipes() {
    Document doc = network({{"1", "2", "50", "110", "105", "10"},
                            {"2", "3", "40", "105", "101", "8"},
                            {"3", "4", "30", "101", "99", "4"}});
    ocultarcolumnas(doc);
    ScriptedMessages messages;
    NullProgress progress;
    EXPECT_EQ(calcular(doc, messages, progress), Outcome::Done);
    return doc;
}

std::string range(const CellRange& r) {
    auto cell = [](int row, int col) { return std::string(1, static_cast<char>('A' + col)) + std::to_string(row + 1); };
    return cell(r.first_row, r.first_col) + ":" + cell(r.last_row, r.last_col);
}

TEST(Export, WorkbookSheetsMergesAndBorders) {
    const Document doc = three_pipes();
    const Workbook book = results_workbook(doc);
    ASSERT_EQ(book.sheets().size(), 2u);
    const Worksheet& data = book.sheets()[0];
    const Worksheet& sheet = book.sheets()[1];
    EXPECT_EQ(data.name(), "Data");
    EXPECT_EQ(sheet.name(), "Spreadsheet");
    std::vector<std::string> merges;
    for (const auto& m : data.merges()) merges.push_back(range(m));
    EXPECT_EQ(merges, (std::vector<std::string>{"A1:A2", "B1:C1", "D1:D2", "E1:F1", "G1:G2", "H1:H2", "I1:I2"}));
    ASSERT_EQ(data.borders().size(), 1u);
    EXPECT_EQ(range(data.borders()[0]), "A1:I5");  // last pipe in row 5
    // Nine columns shown: the millimetre and internal columns are hidden.
    EXPECT_EQ(data.cells().at({2, 8}).number, 8);
    EXPECT_FALSE(data.cells().count({2, 9}));

    merges.clear();
    for (const auto& m : sheet.merges()) merges.push_back(range(m));
    ASSERT_EQ(merges.size(), 16u);  // the last row holds a pipe: no merge in column A
    EXPECT_EQ(merges[5], "H1:H2");
    EXPECT_EQ(merges[6], "I1:N1");
    EXPECT_EQ(merges[15], "W1:W2");
    EXPECT_EQ(range(sheet.borders().at(0)), "A1:W5");
    // Numbers go as numbers.
    EXPECT_TRUE(sheet.cells().at({2, 5}).is_number);
    EXPECT_EQ(sheet.cells().at({2, 5}).number, 50);
}

TEST(Export, SpreadsheetColumnAMergeCoversRowsBelowTheLastPipe) {
    Document doc = three_pipes();
    doc.ZCSG5.set_row_count(7);  // two empty rows below the pipes
    const Workbook book = results_workbook(doc);
    EXPECT_EQ(range(book.sheets()[1].merges().back()), "A5:A7");
    EXPECT_EQ(range(book.sheets()[1].borders().at(0)), "A1:W7");
    // With the last row filled there is nothing to merge in column A.
    EXPECT_EQ(results_workbook(three_pipes()).sheets()[1].merges().size(), 16u);
}

TEST(Export, CommandWritesTextOrWorkbookAndReportsAFailedSave) {
    const velmora::testing::TempDir tmp;
    const fs::path dir = tmp.path();
    Document doc = three_pipes();
    doc.project_file = dir / "town.sew";
    ScriptedMessages messages;
    ScriptedFileDialogs dialogs;

    dialogs.push(FileChoice{dir / "town.csv", 3});
    EXPECT_TRUE(export_command(doc, messages, dialogs, dir));
    const FileDialogRequest& first = dialogs.requests().at(0);
    EXPECT_EQ(first.filter, kExportFilter);
    EXPECT_EQ(first.file_name, "town -SpreadSheet");
    EXPECT_EQ(first.default_ext, "xlsx");
    const auto lines = textfile::read_lines(dir / "town.csv");
    EXPECT_EQ(lines.size(), 1u + 5 + 1 + 5);
    EXPECT_EQ(lines, text_export_lines(doc));

    // The next export starts from the filter chosen last.
    dialogs.push(FileChoice{dir / "town.xlsx", 1});
    EXPECT_TRUE(export_command(doc, messages, dialogs, dir));
    EXPECT_EQ(dialogs.requests().at(1).filter_index, 3);
    EXPECT_EQ(dialogs.requests().at(1).default_ext, "csv");
    EXPECT_TRUE(fs::file_size(dir / "town.xlsx") > 0);
    EXPECT_TRUE(messages.texts().empty());

    dialogs.push(FileChoice{dir / "no such folder" / "town.xlsx", 1});
    EXPECT_FALSE(export_command(doc, messages, dialogs, dir));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"not saved"}));

    dialogs.push(std::nullopt);
    EXPECT_FALSE(export_command(doc, messages, dialogs, dir));
}

TEST(Print, ResultsPageLaysCellsOutFromTheScreenWidths) {
    const Document doc = three_pipes();
    RecordingCanvas canvas;
    print_results_table(doc, canvas, "town.sew --- Current situation");
    ASSERT_FALSE(canvas.ops.empty());
    EXPECT_EQ(canvas.ops[0].text, "town.sew --- Current situation");
    EXPECT_EQ(canvas.ops[0].font.name, "Times New Roman");
    EXPECT_TRUE(canvas.ops[0].font.bold && canvas.ops[0].font.underline);
    // "Flow [L/s]" spans columns 8 to 13: printed in each of them.
    int flow = 0;
    for (const auto& op : canvas.ops)
        if (op.text == "Flow [L/s]") ++flow;
    EXPECT_EQ(flow, 6);
    // Column 1 starts at 5 x the width of column 0; row 2 at 150 x 2 + 300.
    const double left = 5.0 * doc.ZCSG5.col_width(0);
    bool found = false;
    for (const auto& op : canvas.ops)
        found = found || (op.kind == "text_clipped" && op.text == doc.ZCSG5(1, 2) && op.points.at(1).x == left &&
                          op.points.at(1).y == 600 && op.points.at(0).x == left + 50 && op.points.at(0).y == 650);
    EXPECT_TRUE(found);
}

TEST(Print, Scales) {
    EXPECT_EQ(print_scale(600, 96), 6);
    const DrawingScales s = drawing_scales(6, 6);
    EXPECT_EQ(s.plan_x, 7);     // 7.2
    EXPECT_EQ(s.plan_y, 11);    // 11.4
    EXPECT_EQ(s.profile_x, 4);  // 3.9
    EXPECT_EQ(s.profile_y, 10); // 9.9
}

}  // namespace
}  // namespace velmora::marulet
