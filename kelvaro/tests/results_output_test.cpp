// The printed results table, the plan drawing and "Export to EXCEL".
#include "common/textfile.h"
#include "kelvaro/engine/plan_drawing.h"
#include "kelvaro/engine/results_export.h"
#include "kelvaro/engine/results_print.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace velmora::kelvaro {
namespace {
namespace fs = std::filesystem;

TEST(PrintedTable, ColumnsAreFiveTimesTheirScreenWidthAndRowsFixedBoxes) {
    Document doc;
    doc.ZCSG5.set_row_count(3);
    doc.ZCSG5.set_cell(0, 2, "1");
    doc.ZCSG5.set_cell(1, 2, "7");
    RecordingCanvas canvas;
    print_results_table(doc, canvas, "C:/p/Village.ghc");
    ASSERT_FALSE(canvas.ops.empty());
    const auto& title = canvas.ops[0];
    EXPECT_EQ(title.text, "C:/p/Village.ghc");
    EXPECT_EQ(title.points[0], (PointF{0, 100}));
    EXPECT_EQ(title.font.name, "Times New Roman");
    EXPECT_EQ(title.font.size, 13);
    EXPECT_TRUE(title.font.bold && title.font.underline);
    // Column 1 ("Pipe #") follows column 0 (64 pixels on screen).
    const int w0 = doc.ZCSG5.col_width(0), w1 = doc.ZCSG5.col_width(1);
    bool header = false, cell = false;
    for (const auto& op : canvas.ops) {
        if (op.kind != "text_clipped") continue;
        if (op.text == "Pipe #") {
            header = true;
            EXPECT_TRUE(op.font.bold);
            EXPECT_EQ(op.points[0], (PointF{5.0 * w0 + 50, 350}));
            EXPECT_EQ(op.points[1], (PointF{5.0 * w0, 300}));
            EXPECT_EQ(op.points[2], (PointF{5.0 * (w0 + w1) - 30, 450}));
        }
        if (op.text == "7") {
            cell = true;
            EXPECT_FALSE(op.font.bold);
            EXPECT_EQ(op.font.size, 7);
            EXPECT_EQ(op.points[0], (PointF{5.0 * w0 + 50, 350 + 300}));
            EXPECT_EQ(op.points[1], (PointF{5.0 * w0, 300 + 300}));
        }
    }
    EXPECT_TRUE(header && cell);
}

TEST(PrintedTable, ScaleFactors) {
    EXPECT_EQ(print_scale(600, 96), 6);
    EXPECT_EQ(print_scale(300, 96), 3);
    const DrawingScales s = drawing_scales(6, 6);
    EXPECT_EQ(s.plan_x, 7);     // 7.2
    EXPECT_EQ(s.plan_y, 11);    // 11.4
    EXPECT_EQ(s.profile_x, 4);  // 4.2
    EXPECT_EQ(s.profile_y, 9);  // 9
    const DrawingScales t = drawing_scales(5, 5);
    EXPECT_EQ(t.plan_x, 6);
    EXPECT_EQ(t.profile_x, 4);  // 3.5 goes to the even 4
    EXPECT_EQ(t.profile_y, 8);  // 7.5 goes to the even 8
}

TEST(PlanDrawing, PipelinesLabelsAndBoxes) {
    Document doc;
    doc.tramosx = {{"10", "110", "210"}};
    doc.tramosy = {{"20", "20", "70"}};
    doc.tramosnudos = {{"1", "2", "3"}};
    doc.bpbx = {"10", "110.6"};
    doc.bpby = {"20", "20"};
    RecordingCanvas canvas;
    draw_plan(canvas, doc, nullptr, 2, 3);
    std::vector<std::vector<PointF>> lines;
    std::vector<std::string> labels;
    std::vector<PointF> boxes;
    for (const auto& op : canvas.ops) {
        if (op.kind == "line") lines.push_back(op.points);
        if (op.kind == "text") labels.push_back(op.text);
        if (op.kind == "image") boxes.push_back(op.points[0]);
    }
    EXPECT_EQ(lines, (std::vector<std::vector<PointF>>{{{20, 60}, {220, 60}}, {{220, 60}, {420, 210}}}));
    EXPECT_EQ(labels, (std::vector<std::string>{"1", "2", "2", "3"}));
    // 6 pixels left, 7 up, then scaled: a printed box stays at its node.
    EXPECT_EQ(boxes, (std::vector<PointF>{{8, 39}, {210, 39}}));
    EXPECT_EQ(plan_drawing_size(doc).width, 260);
    EXPECT_EQ(plan_drawing_size(doc).height, 120);
}

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder per test and process: ctest runs the tests in parallel.
        dir = fs::path(::testing::TempDir()) /
              ("kelvaro_export_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        doc.carpetaproyectos = dir;
        doc.last_file = "/somewhere/Village.ghc";
        doc.ZCSG5.set_row_count(3);
        doc.ZCSG5.set_cell(0, 2, "1");
        doc.ZCSG6.set_row_count(2);
        doc.ZCSG6.set_cell(1, 1, "1");
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
    Document doc;
    ScriptedMessages messages;
    ScriptedFileDialogs dialogs;
};

TEST_F(ExportTest, DialogProposesTheNameAndRemembersTheFilter) {
    dialogs.push(FileChoice{dir / "out.csv", 2});
    ASSERT_TRUE(export_command(doc, dialogs, messages));
    const auto& first = dialogs.requests().at(0);
    EXPECT_EQ(first.filter, "Excel file 97-2003 Excel file (*.xls)|*.xls|Commas separated values (*.csv)|*.csv");
    EXPECT_EQ(first.file_name, "Village -SpreadSheet");
    EXPECT_EQ(first.filter_index, 1);
    EXPECT_EQ(first.default_ext, "xls");
    EXPECT_EQ(first.initial_dir, dir);
    EXPECT_EQ(textfile::read_lines(dir / "out.csv"), results_csv_lines(doc));
    EXPECT_EQ(doc.last_file, dir / "out.csv");
    EXPECT_TRUE(messages.records().empty());

    dialogs.push(std::nullopt);  // cancelled: nothing written
    EXPECT_FALSE(export_command(doc, dialogs, messages));
    const auto& second = dialogs.requests().at(1);
    EXPECT_EQ(second.filter_index, 2);
    EXPECT_EQ(second.default_ext, "csv");
    EXPECT_EQ(second.file_name, "out -SpreadSheet");
    EXPECT_EQ(fs::directory_iterator(dir)->path(), dir / "out.csv");
}

TEST_F(ExportTest, WorkbookFilterWritesTheWorkbookAndSaysSo) {
    dialogs.push(FileChoice{dir / "book.xls", 1});
    ASSERT_TRUE(export_command(doc, dialogs, messages));
    const std::string bytes = textfile::read_bytes(dir / "book.xls");
    EXPECT_EQ(bytes.substr(0, 2), "PK");  // a zipped workbook
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"The file has been saved"}));
    EXPECT_EQ(doc.last_file, "/somewhere/Village.ghc");
}

TEST_F(ExportTest, UnwritableFileIsReported) {
    dialogs.push(FileChoice{dir / "missing" / "x.csv", 2});
    EXPECT_FALSE(export_command(doc, dialogs, messages));
    ASSERT_EQ(messages.records().size(), 1u);
    EXPECT_EQ(messages.records()[0].kind, "error");
}

}  // namespace
}  // namespace velmora::kelvaro
