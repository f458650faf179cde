#include "tosquin/tests/fixture.h"

#include <gtest/gtest.h>

#include "common/textfile.h"
#include "tosquin/engine/sheet_output.h"

#include <filesystem>

namespace velmora::tosquin::testing {
namespace {

namespace fs = std::filesystem;

class SheetFixture : public Fixture {
public:
    SheetFixture() {
        profile(falling_line(1000, 120, 50), 2, 3);
        doc.archivoproyecto = dir.path() / "line.lin";
        run();
    }
    ScriptedFileDialogs dialogs;
};

TEST(SheetExportTest, WorkbookDialogFiltersAndProposedName) {
    SheetFixture f;
    f.dialogs.push(std::nullopt);
    EXPECT_FALSE(export_sheet(f.doc, f.dialogs, f.messages));
    ASSERT_EQ(f.dialogs.requests().size(), 1u);
    const auto& r = f.dialogs.requests()[0];
    EXPECT_EQ(r.filter, kSheetFilter);
    EXPECT_EQ(r.filter_index, 1);
    EXPECT_EQ(r.default_ext, "xlsx");
    EXPECT_EQ(r.file_name, "line -SpreadSheet");
    EXPECT_TRUE(f.messages.records().empty());
}

TEST(SheetExportTest, WorkbookHoldsEveryCellAsText) {
    SheetFixture f;
    const Grid& s = f.doc.StringGrid1;
    Workbook book = sheet_workbook(s, "Spreadsheet");
    ASSERT_EQ(book.sheets().size(), 1u);
    const Worksheet& w = book.sheets()[0];
    EXPECT_EQ(w.name(), "Spreadsheet");
    for (int r = 0; r < s.row_count(); ++r)
        for (int c = 0; c < s.col_count(); ++c) {
            auto it = w.cells().find({r, c});
            if (s(c, r).empty()) {
                EXPECT_EQ(it, w.cells().end());
                continue;
            }
            ASSERT_NE(it, w.cells().end()) << c << "," << r;
            EXPECT_EQ(it->second.text, s(c, r));
            EXPECT_FALSE(it->second.is_number);
        }
    // The last cell is column N of the last row.
    EXPECT_TRUE(w.cells().count({s.row_count() - 1, 13}));

    const fs::path book_file = f.dir.path() / "out.xlsx";
    f.dialogs.push(FileChoice{book_file, 1});
    EXPECT_TRUE(export_sheet(f.doc, f.dialogs, f.messages));
    EXPECT_GT(fs::file_size(book_file), 0u);
    // A workbook that cannot be saved says so.
    f.dialogs.push(FileChoice{f.dir.path() / "missing" / "out.xls", 2});
    EXPECT_FALSE(export_sheet(f.doc, f.dialogs, f.messages));
    EXPECT_EQ(f.messages.texts(), std::vector<std::string>{kNotSaved});
}

TEST(SheetExportTest, CommaLinesAndTheProjectFiles) {
    SheetFixture f;
    const fs::path csv = f.dir.path() / "sheet.csv";
    f.dialogs.push(FileChoice{csv, 3});  // the third filter of the workbook dialog
    ASSERT_TRUE(export_sheet(f.doc, f.dialogs, f.messages));
    EXPECT_EQ(textfile::read_lines(csv), sheet_lines(f.doc));
    EXPECT_NE(textfile::read_bytes(csv).find("\r\n"), std::string::npos);

    f.dialogs.push(FileChoice{f.dir.path() / "menu.csv", 1});
    ASSERT_TRUE(save_sheet_csv(f.doc, f.dialogs, f.messages));
    EXPECT_EQ(f.dialogs.requests().back().filter, kCsvFilter);
    EXPECT_EQ(f.dialogs.requests().back().file_name, "line -SpreadSheet.csv");
    EXPECT_EQ(f.dialogs.requests().back().default_ext, "csv");
    EXPECT_EQ(textfile::read_lines(f.dir.path() / "menu.csv"), sheet_lines(f.doc));

    // Never over the project's own files, existing or not.
    textfile::write_lines(f.dir.path() / "line.lin", {"keep"});
    for (const char* name : {"line.lin", "line.des", "line.top"}) {
        f.messages.clear();
        f.dialogs.push(FileChoice{f.dir.path() / name, 1});
        EXPECT_FALSE(save_sheet_csv(f.doc, f.dialogs, f.messages)) << name;
        EXPECT_EQ(f.messages.texts(), std::vector<std::string>{kOverProjectFile});
        f.dialogs.push(FileChoice{f.dir.path() / name, 3});
        EXPECT_FALSE(export_sheet(f.doc, f.dialogs, f.messages)) << name;
    }
    EXPECT_EQ(textfile::read_lines(f.dir.path() / "line.lin"), std::vector<std::string>{"keep"});
    EXPECT_FALSE(fs::exists(f.dir.path() / "line.des"));
}

TEST(SheetPrintTest, LayoutInPrinterPixels) {
    Grid sheet(3, 3, 1, 0);
    sheet.set_row(0, {"From", "To", "Dist. [m]"});
    sheet.set_row(1, {"Section 1 ---", "Q= 2.00 l/s", ""});
    sheet.set_row(2, {"0.00", "120.50", "120.50"});
    RecordingCanvas canvas;
    print_sheet(sheet, canvas, "/p/line.lin", {40, 64, 80});
    ASSERT_EQ(canvas.ops.size(), 9u);  // empty cells are not written
    const auto& title = canvas.ops[0];
    EXPECT_EQ(title.text, "/p/line.lin");
    EXPECT_EQ(title.points[0], (PointF{0, 100}));
    EXPECT_EQ(title.font.name, "Times New Roman");
    EXPECT_EQ(title.font.size, 12);
    EXPECT_TRUE(title.font.bold && title.font.underline);

    struct Cell {
        size_t op;
        std::string text;
        double x, y;
        bool bold;
    } cells[] = {
        {1, "From", 50, 350, true},        {2, "To", 250, 350, true},         {3, "Dist. [m]", 570, 350, true},
        {4, "Section 1 ---", 50, 500, false}, {5, "Q= 2.00 l/s", 250, 500, false}, {7, "120.50", 250, 650, false},
    };
    for (const auto& c : cells) {
        const auto& op = canvas.ops[c.op];
        EXPECT_EQ(op.kind, "text_clipped");
        EXPECT_EQ(op.text, c.text);
        EXPECT_EQ(op.font.size, 7);
        EXPECT_EQ(op.font.bold, c.bold) << c.text;
        EXPECT_FALSE(op.font.underline);
        ASSERT_EQ(op.points.size(), 3u);
        EXPECT_EQ(op.points[0], (PointF{c.x, c.y})) << c.text;
        // Clipped to its column, 30 pixels short of the next, and its row.
        EXPECT_EQ(op.points[1], (PointF{c.x - 50, c.y - 50})) << c.text;
        EXPECT_EQ(op.points[2].y, c.y + 100) << c.text;
    }
    EXPECT_EQ(canvas.ops[3].points[2].x, 890);

    // Narrowed to the page: the columns keep their proportions.
    RecordingCanvas narrow;
    print_sheet(sheet, narrow, "t", {40, 64, 80}, 460);
    EXPECT_EQ(narrow.ops[2].points[1].x, 100);  // 200 of 920 scaled by a half
    EXPECT_EQ(narrow.ops[3].points[2].x, 430);  // 920 halved, less 30
    EXPECT_EQ(print_factor(600, 96), 6);
    EXPECT_EQ(print_factor(72, 96), 1);
    // A graph wider than the page is drawn smaller, never cut.
    EXPECT_EQ(print_factor(600, 96, 7000, 1000), 6);
    EXPECT_EQ(print_factor(600, 96, 7000, 1300), 5);
    EXPECT_EQ(print_factor(600, 96, 500, 1300), 1);
}

}  // namespace
}  // namespace velmora::tosquin::testing
