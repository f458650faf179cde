#include "common/grid.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(Grid, CellsSizesAndExtraCells) {
    Grid g(3, 4, 2, 1);
    EXPECT_EQ(g.cell(0, 0), "");
    g.set_cell(1, 2, "x");
    g.set_cell(5, 2, "beyond");  // beyond the visible columns
    EXPECT_EQ(g(1, 2), "x");
    EXPECT_EQ(g(5, 2), "beyond");
    EXPECT_EQ(g.to_lines(2), (std::vector<std::string>{",x,", ",,"}));
    EXPECT_EQ(g.to_lines(2, true)[0], ",x,,,,beyond");
    g.set_col_count(2);
    g.set_col_count(3);
    EXPECT_EQ(g(1, 2), "x");
    g.set_cell(0, 6, "later");  // below the last row: shows once the count reaches it
    EXPECT_EQ(g.row_count(), 4);
    g.set_row_count(7);
    EXPECT_EQ(g(0, 6), "later");
    g.set_row_count(2);  // shrinking drops the rows beyond
    g.set_row_count(7);
    EXPECT_EQ(g(1, 2), "");
    EXPECT_EQ(g(0, 6), "");
    EXPECT_EQ(g.cell(-1, 0), "");
}

TEST(Grid, InsertAndDeleteRowsMoveCells) {
    Grid g(2, 4);
    for (int r = 0; r < 4; ++r) g.set_cell(0, r, std::to_string(r));
    g.insert_row(1);
    EXPECT_EQ(g.row_count(), 5);
    EXPECT_EQ(g.column(0), (std::vector<std::string>{"0", "", "1", "2", "3"}));
    g.delete_row(0);
    g.delete_row(3);
    EXPECT_EQ(g.column(0), (std::vector<std::string>{"", "1", "2"}));
    g.delete_row(10);
    EXPECT_EQ(g.row_count(), 3);
}

TEST(Grid, PresentationMergesHiddenWidthsEditors) {
    Grid g(8, 30, 2);
    g.merge(1, 0, 2, 1);
    g.merge(0, 0, 1, 2);
    EXPECT_NE(g.merge_at(2, 0), nullptr);
    EXPECT_EQ(g.merge_at(2, 1), nullptr);
    EXPECT_EQ(g.merge_at(0, 1)->rows, 2);
    g.merge(1, 0, 1, 1);  // replaces the overlapping merge, and a 1x1 merge is none
    EXPECT_EQ(g.merge_at(2, 0), nullptr);
    g.set_hidden(7, true);
    EXPECT_TRUE(g.is_hidden(7));
    EXPECT_FALSE(g.is_hidden(6));
    g.set_col_width(0, 40);
    EXPECT_EQ(g.col_width(0), 40);
    EXPECT_EQ(g.col_width(1), g.default_col_width());
    g.set_editor(3, {EditorKind::DropDown, {"PVC", "Concrete"}});
    EXPECT_EQ(g.editor(3).items.size(), 2u);
    EXPECT_EQ(g.editor(4).kind, EditorKind::Text);
}

TEST(Grid, LoadsAndSavesCommaLines) {
    Grid g(3, 2, 2);
    g.set_cell(0, 0, "Pipe #");
    g.load_lines({"1,2,\"Node A\",extra", "2"}, 2);
    EXPECT_EQ(g.row_count(), 4);
    EXPECT_EQ(g.col_count(), 4);
    EXPECT_EQ(g(2, 2), "Node A");
    EXPECT_EQ(g(0, 0), "Pipe #");
    EXPECT_EQ(g.to_lines(2), (std::vector<std::string>{"1,2,\"Node A\",extra", "2,,,"}));
    EXPECT_EQ(g.block_text(0, 2, 1, 3), "1\t2\r\n2\t\r\n");
}
