// The data check and the editing rules of the pipe table.
#include "common/ports.h"
#include "marulet/engine/pipe_table.h"
#include "network_fixture.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::marulet;
using velmora::marulet::testing::network;
using velmora::marulet::testing::PipeRow;

TEST(DatosOK, ReportsBranchingNodesAndIncompletePipesExactly) {
    const PipeRow ok{"A", "B", "40", "100", "99", ""};
    struct Case {
        const char* name;
        std::vector<PipeRow> pipes;
        std::string unit;
        std::vector<std::string> warnings;
    };
    const std::vector<Case> cases = {
        {"two outgoing pipes at a head node and an empty # of HH are accepted",
         {ok, {"A", "C", "40", "100", "99", ""}},
         kInchSign,
         {}},
        {"a node with an inlet and two outlets is named once",
         {{"X", "B", "40", "101", "100", "1"}, ok, {"B", "C", "40", "100", "99", "1"}, {"B", "D", "40", "100", "99", "1"},
          {"B", "E", "40", "100", "99", "1"}},
         kInchSign,
         {"Nodes with one inlet and more than one oulet: B"}},
        {"every required cell",
         {{"", "B", "1", "1", "1", "1"},
          {"A", "", "1", "1", "1", "1"},
          {"A", "B", "", "1", "1", "1"},
          {"A", "B", "1", "", "1", "1"},
          {"A", "B", "1", "1", "", "1"},
          {"A", "B", "1", "1", "1", "1", ""},
          {"A", "B", "1", "1", "1", "1", "PVC", ""},
          {"A", "B", "1", "1", "1", "1", "PVC", "8", ""}},
         kInchSign,
         {"Pipes with incomplete Data: 1,2,3,4,5,6,7"}},
        {"the millimetre column when it is the one shown",
         {{"A", "B", "1", "1", "1", "1", "PVC", ""}, {"C", "D", "1", "1", "1", "1", "PVC", "8", ""}},
         "mm",
         {"Pipes with incomplete Data: 2"}},
        {"branching first, then incomplete",
         {{"X", "N1", "1", "1", "1", ""}, {"N1", "C", "1", "1", "1", ""}, {"N1", "D", "", "1", "1", ""},
          {"Y", "N2", "1", "1", "1", ""}, {"N2", "C", "1", "1", "1", ""}, {"N2", "D", "1", "1", "1", ""}},
         kInchSign,
         {"Nodes with one inlet and more than one oulet: N1,N2", "Pipes with incomplete Data: 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document doc = network(c.pipes);
        doc.unidaddiametro = c.unit;
        const Grid before = doc.SG4;
        ScriptedMessages messages;
        EXPECT_EQ(DatosOK(doc, messages), c.warnings.empty());
        std::vector<MessageRecord> expected;
        for (const auto& w : c.warnings) expected.push_back({"warning", "Warning", w});
        EXPECT_EQ(messages.records(), expected);
        EXPECT_EQ(doc.SG4.to_lines(), before.to_lines()) << "the check never changes the table";
    }
}

TEST(PipeTableKeys, NumberingAndElevationsFollowTheTypedCell) {
    Document doc = network({{"A", "B", "40", "100", "99", "1"}, {"B", "C", "40", "99", "98", "1"},
                            {"D", "B", "30", "105", "99", "1"}});
    doc.SG4.set_row_count(8);
    doc.plan.tramosnudos = {{"A", "B", "C"}, {"D", "B"}};
    doc.plan.tramosx = doc.plan.tramosy = doc.plan.tramossentido = {{"", "", ""}, {"", ""}};
    // From typed in a new row: numbered at once.
    select_cell(doc, kFrom, 6);
    doc.SG4.set_cell(kFrom, 6, "Q");
    key_released(doc);
    EXPECT_EQ(doc.SG4(kPipeNumber, 6), "5");
    EXPECT_TRUE(doc.cambios);
    EXPECT_TRUE(doc.calcular_enabled);
    // Upstream elevation of pipe 2 (node B) goes to the To elevation of pipes 1 and 3.
    select_cell(doc, kGroundFrom, 3);
    doc.SG4.set_cell(kGroundFrom, 3, "97.5");
    key_released(doc);
    EXPECT_EQ(doc.SG4(kGroundTo, 2), "97.5");
    EXPECT_EQ(doc.SG4(kGroundTo, 4), "97.5");
    // Downstream elevation of pipe 1 (node B) goes to the From elevation of
    // pipe 2 and its start level (minus the trench depth).
    select_cell(doc, kGroundTo, 2);
    doc.SG4.set_cell(kGroundTo, 2, "96.25");
    key_released(doc);
    EXPECT_EQ(doc.SG4(kGroundFrom, 3), "96.25");
    EXPECT_EQ(doc.ZCSG5(kResStartLevel, 3), "95.25");
    // A node takes the elevation of the last row naming it: B is the To of pipe 3.
    EXPECT_EQ(doc.plan.tramosz, (std::vector<std::vector<std::string>>{{"100", "97.5", "98"}, {"105", "97.5"}}));
    EXPECT_FALSE(doc.contours_enabled) << "rows 5 and 6 lack lengths and elevations";
}

TEST(PipeTableEditors, DiameterChoicesFillTheOtherColumns) {
    Document doc = network({{"A", "B", "40", "100", "99", "1"}});
    select_cell(doc, kNominalMm, 2);
    EXPECT_EQ(doc.dplglist, (std::vector<std::string>{"6", "8"}));
    EXPECT_EQ(doc.SG4.editor(kNominalMm).items, (std::vector<std::string>{"150", "200"}));
    choose_item(doc, kNominalMm, 0);
    EXPECT_EQ(doc.SG4.row(2, kNominalInch, 3), (std::vector<std::string>{"6", "150", "5.92"}));
    select_cell(doc, kMaterial, 2);
    choose_item(doc, kMaterial, 1);
    EXPECT_EQ(doc.SG4(kMaterial, 2), "Concrete");
    EXPECT_EQ(doc.SG4(kNominalInch, 2), "6") << "choosing a material keeps the diameters";
    select_cell(doc, kNominalInch, 2);
    EXPECT_EQ(doc.dmmlist, (std::vector<std::string>{"200"}));
    choose_item(doc, kNominalInch, 0);
    EXPECT_EQ(doc.SG4.row(2, kNominalInch, 3), (std::vector<std::string>{"8", "200", "8.00"}));
}

TEST(PipeTableRows, InsertDeleteAndPasteRenumberRowsWithAFromNode) {
    Document doc = network({{"A", "B", "1", "1", "1", ""}, {"", "", "7", "", "", ""}, {"C", "D", "1", "1", "1", ""}});
    doc.SG4.set_cell(kPipeNumber, 3, "");
    select_cell(doc, 3, 3);
    insert_row(doc);
    EXPECT_EQ(doc.SG4.row_count(), 6);
    EXPECT_EQ(doc.SG4.column(kPipeNumber, 2), (std::vector<std::string>{"1", "", "", "4"}));
    EXPECT_EQ(doc.SG4(kLength, 4), "7");
    select_cell(doc, 1, 2);
    delete_row(doc);
    EXPECT_EQ(doc.SG4.column(kPipeNumber, 2), (std::vector<std::string>{"", "", "3"}));
    EXPECT_EQ(doc.SG4.column(kFrom, 2), (std::vector<std::string>{"", "", "C"}));

    Document fifty;
    EXPECT_EQ(fifty.SG4.row_count(), 50);
    paste(fifty, "A\tB\t10\r\nB\tC\t20\r\nC\tD\t30\r\nD\tE\t40", 1, 2);
    EXPECT_EQ(fifty.SG4.row_count(), 5) << "three complete lines; the last line without a carriage return is ignored";
    EXPECT_EQ(fifty.SG4.row(4, 0, 4), (std::vector<std::string>{"3", "C", "D", "30"}));
    EXPECT_TRUE(fifty.calcular_enabled);
    EXPECT_FALSE(fifty.cambios);
    // Fields beyond the last column are dropped; lines beyond the last row too.
    paste(fifty, "x\ty\tz\r\nu\tv\tw\r\nlast\r\nbeyond\r\n", 9, 2);
    EXPECT_EQ(fifty.SG4.row_count(), 5);
    EXPECT_EQ(fifty.SG4.row(2, 9, 3), (std::vector<std::string>{"x", "y", ""}));
    EXPECT_EQ(fifty.SG4(9, 4), "last");
}
