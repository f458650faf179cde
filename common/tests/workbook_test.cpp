#include "common/errors.h"
#include "common/workbook.h"
#include "test_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

using namespace velmora;
using velmora::testing::TempDir;

namespace {
// One member of the .xlsx (a zip archive), read with the unzip tool.
std::string member(const std::filesystem::path& xlsx, const std::string& name) {
    std::string cmd = "unzip -p '" + xlsx.string() + "' '" + name + "' 2>/dev/null";
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return out;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    pclose(p);
    return out;
}
}  // namespace

TEST(Workbook, WritesSheetsCellsMergesAndBorders) {
    TempDir dir;
    Grid g(3, 3);
    g.set_cell(0, 0, "Pipe #");
    g.set_cell(1, 0, "Node #");
    g.set_cell(0, 2, "1");
    g.set_cell(1, 2, "12.5");
    g.set_cell(2, 2, "hidden");
    g.set_hidden(2, true);
    Workbook wb;
    Worksheet& s1 = wb.add_sheet("Spreadsheet");
    s1.put_grid(g, 0, 0, true);
    s1.merge("B1:C1");
    s1.border("A1:B3");
    wb.add_sheet("Nodes conditions").set_text(0, 0, "Node");
    wb.save(dir / "out.xlsx");

    std::string book = member(dir / "out.xlsx", "xl/workbook.xml");
    EXPECT_NE(book.find("name=\"Spreadsheet\""), std::string::npos);
    EXPECT_NE(book.find("name=\"Nodes conditions\""), std::string::npos);
    std::string sheet = member(dir / "out.xlsx", "xl/worksheets/sheet1.xml");
    EXPECT_NE(sheet.find("<mergeCell ref=\"B1:C1\"/>"), std::string::npos);
    EXPECT_NE(sheet.find("<v>12.5</v>"), std::string::npos);
    std::string strings = member(dir / "out.xlsx", "xl/sharedStrings.xml");
    EXPECT_NE(strings.find("Pipe #"), std::string::npos);
    EXPECT_EQ(strings.find("hidden"), std::string::npos);
    EXPECT_NE(member(dir / "out.xlsx", "xl/styles.xml").find("<left style=\"thin\">"), std::string::npos);
}

TEST(Workbook, AddressesAndFailures) {
    auto r = parse_range("A1:W12");
    EXPECT_EQ(r.last_col, 22);
    EXPECT_EQ(r.last_row, 11);
    TempDir dir;
    Workbook wb;
    wb.add_sheet("x");
    EXPECT_THROW(wb.save(dir / "missing" / "out.xlsx"), FileError);
}
