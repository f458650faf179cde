// Editing the input table: rows, paste, released keys and readiness.
#include "kelvaro/engine/input_table.h"

#include <gtest/gtest.h>

namespace velmora::kelvaro {
namespace {

Document with_rows(const std::vector<std::vector<std::string>>& rows) {
    Document doc;
    doc.ZCSG4.set_row_count(2 + static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) doc.ZCSG4.set_row(2 + static_cast<int>(i), rows[i]);
    return doc;
}

TEST(InputTable, PasteFillsFromTheSelectionAndCutsTheTable) {
    Document doc;  // 30 rows
    paste(doc, "1\t2\t100\r\n2\t3\t80\r\n3\t4\t60\r\nignored", 1, 2);
    EXPECT_EQ(doc.ZCSG4.row_count(), 5);
    EXPECT_EQ(doc.ZCSG4.row(3, 0, 4), (TextList{"2", "2", "3", "80"}));
    EXPECT_EQ(doc.ZCSG4.column(0, 2), (TextList{"1", "2", "3"}));
    EXPECT_TRUE(doc.calculate_enabled);

    Document narrow = with_rows({{"", "", "", "", "", "", "", ""}});
    paste(narrow, "a\tb\tc\r\n", 6, 2);  // only columns 6 and 7 exist
    EXPECT_EQ(narrow.ZCSG4.row(2), (TextList{"", "", "", "", "", "", "a", "b"}));
    EXPECT_EQ(narrow.ZCSG4(8, 2), "");
}

TEST(InputTable, InsertAndDeleteRenumberUsedRows) {
    Document doc = with_rows({{"1", "1", "2"}, {"2", "2", "3"}, {"", "", ""}});
    doc.current_row = 3;
    insert_row(doc);
    EXPECT_EQ(doc.ZCSG4.row_count(), 6);
    EXPECT_EQ(doc.ZCSG4.column(0, 2), (TextList{"1", "", "3", ""}));
    EXPECT_EQ(doc.ZCSG4(1, 4), "2");
    doc.current_row = 2;
    delete_row(doc);
    EXPECT_EQ(doc.ZCSG4.row_count(), 5);
    EXPECT_EQ(doc.ZCSG4.column(1, 2), (TextList{"", "2", ""}));
    EXPECT_EQ(doc.ZCSG4(0, 3), "2");
    add_row(doc);
    EXPECT_EQ(doc.ZCSG4.row_count(), 6);
}

TEST(InputTable, ReleasedKeysCarryElevationsAndCheckReadiness) {
    Document doc = with_rows({{"1", "1", "2", "50", "100", "90", "", "1"},
                              {"", "2", "3", "40", "", "80", "2", "1"},
                              {"3", "2", "4", "40", "85", "70", "", "1"}});
    doc.tramosnudos = {{"1", "2", "3"}, {"2", "4"}};
    doc.tramosz = {{"", "", ""}, {"", ""}};
    // Rule 1: typing the "From" node numbers the row and takes the elevation.
    doc.current_col = 1;
    doc.current_row = 3;
    key_released(doc);
    EXPECT_EQ(doc.ZCSG4(0, 3), "2");
    EXPECT_EQ(doc.ZCSG4(4, 3), "90");
    EXPECT_TRUE(doc.cambios);
    EXPECT_FALSE(doc.plan_tools_enabled);  // terminal 4 has no households
    // Rule 2: a "To" elevation goes to the rows leaving that node.
    doc.ZCSG4.set_cell(5, 2, "95");
    doc.ZCSG4.set_cell(6, 4, "1");
    doc.current_col = 5;
    doc.current_row = 2;
    key_released(doc);
    EXPECT_EQ(doc.ZCSG4(4, 3), "95");
    EXPECT_EQ(doc.ZCSG4(4, 4), "95");
    EXPECT_EQ(doc.tramosz, (TextLists{{"100", "95", "80"}, {"95", "70"}}));
    EXPECT_TRUE(doc.plan_tools_enabled);
}

}  // namespace
}  // namespace velmora::kelvaro
