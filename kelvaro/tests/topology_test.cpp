// Node demands, flows handed between networks, per-network tables, numbering.
#include "kelvaro/engine/topology.h"

#include "common/errors.h"

#include <gtest/gtest.h>

namespace velmora::kelvaro {
namespace {

Document table(const std::vector<std::vector<std::string>>& rows, const std::string& unit = "0.5") {
    Document doc;
    doc.Edit3 = unit;
    doc.ZCSG4.set_row_count(2 + static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) doc.ZCSG4.set_row(2 + static_cast<int>(i), rows[i]);
    return doc;
}

TEST(Definircaudales, DemandsNetworksAndHandedFlows) {
    // 1 -> 2 -> box 3 feeds networks 2 (3 -> 4 -> box 5) and 3 (3 -> 6);
    // box 5 feeds network 4 (5 -> 7). "2.5" households count 2.5 in the
    // demand but 0 in the sum of a network.
    Document doc = table({{"1", "1", "2", "1", "1", "1", "1", "1"},
                          {"2", "2", "3", "1", "1", "1", "2", "1"},
                          {"3", "3", "4", "1", "1", "1", "2.5", "2"},
                          {"4", "4", "5", "1", "1", "1", "1", "2"},
                          {"5", "3", "6", "1", "1", "1", "4", "3"},
                          {"6", "5", "7", "1", "1", "1", "8", "4"}});
    definircaudales(doc);
    EXPECT_EQ(doc.redlista, (TextList{"1", "2", "3", "4"}));
    EXPECT_EQ(doc.ZCSG4.column(8, 2), (TextList{"0.5", "1", "1.25", "0.5", "2", "4"}));
    // Box 5: network 4 = 8 x 0.5. Box 3: network 2 (1 x 0.5 + network 4)
    // plus network 3 (4 x 0.5).
    EXPECT_EQ(doc.ZCSG4.column(9, 2), (TextList{"", "6.5", "", "4", "", ""}));
}

TEST(Definircaudales, NonNumericUnitFlowStopsWithTheReaderMessage) {
    Document doc = table({{"1", "1", "2", "1", "1", "1", "1", "1"}}, "abc");
    EXPECT_THROW(definircaudales(doc), ConversionError);
}

TEST(DefinirQRed, SourceStartingSeveralPipesEnds) {
    // Two networks both rooted at the source: neither feeds the other.
    Document doc = table({{"1", "1", "2", "1", "1", "1", "3", "1"},
                          {"2", "1", "3", "1", "1", "1", "5", "2"},
                          {"3", "3", "4", "1", "1", "1", "1", "3"}});
    doc.redlista = {"1", "2", "3"};
    DefinirQRed(doc);  // must return
    // Network 3 starts at 3, the end of network 2's pipe: it is fed there.
    EXPECT_EQ(doc.ZCSG4.column(9, 2), (TextList{"", "0.5", ""}));
}

TEST(DefinirNudos, RootFirstThenAscendingWithNonPositiveNumbersAmongTheSmallest) {
    Document doc = table({{"1", "5", "10", "1", "50", "40", "1", "1"},
                          {"2", "10", "2", "1", "40", "30", "1", "1"},
                          {"3", "10", "x", "1", "40", "20", "1", "1"},
                          {"4", "2", "0", "1", "30", "25", "1", "1"},
                          {"5", "2", "7", "1", "30", "22", "1", "1"}});
    definircaudales(doc);
    DefinirRamales(doc, "1");
    EXPECT_EQ(doc.nudoraiz, "5");
    // "x" and "0" share the rank of the smallest node, 2, in order of appearance.
    EXPECT_EQ(doc.ZCSG3.column(0, 1), (TextList{"5", "2", "x", "0", "7", "10"}));
    EXPECT_EQ(doc.ZCSG3.column(2, 1), (TextList{"50", "30", "20", "25", "22", "40"}));
    EXPECT_EQ(doc.ZCSG3.column(1, 1), (TextList{"", "-0.5", "-0.5", "-0.5", "-0.5", "-0.5"}));
    EXPECT_EQ(doc.ZCSG2.row_count(), 7);
}

TEST(Numerarredes, EveryPipeLeavingTheSourceOrABoxStartsANetwork) {
    Document doc = table({{"", "1", "2"}, {"", "2", "3"}, {"", "3", "4"}, {"", "3", "5"}, {"", "5", "6"}});
    doc.bpbnudos = {"1", "3"};
    numerarredes(doc);
    EXPECT_EQ(doc.ZCSG4.column(7, 2), (TextList{"1", "1", "2", "3", "3"}));
    EXPECT_EQ(doc.ZCSG4.column(0, 2), (TextList{"1", "2", "3", "4", "5"}));
}

TEST(DatosOK, ListsInOrderJoinedByCommas) {
    struct Case { std::vector<std::vector<std::string>> rows; std::vector<std::string> messages; };
    const std::vector<Case> cases{
        {{{"1", "1", "2", "10", "5", "4", "3", "1"}}, {}},
        {{{"1", "1", "2", "10", "5", "4", "0", "1"}},
         {"Terminal nodes without any connection (no households): 2"}},
        {{{"1", "1", "2", "10", "5", "4", "0", "1"}, {"2", "1", "3", "10", "5", "0", "2", "1"},
          {"3", "8", "9", "10", "5", "4", "0", "1"}},
         {"Nodes no connected: 1,8", "Terminal nodes without any connection (no households): 2,9",
          "Pipes with incomplete Data: 2"}},
        {{{"1", "a", "2", "10", "5", "4", "1", "1"}}, {"Pipes with incomplete Data: 1"}},
    };
    for (const auto& c : cases) {
        Document doc = table(c.rows);
        ScriptedMessages messages;
        EXPECT_EQ(DatosOK(doc, messages), c.messages.empty());
        EXPECT_EQ(messages.texts(), c.messages);
        for (const auto& r : messages.records()) EXPECT_EQ(r.title, "Warning");
    }
}

}  // namespace
}  // namespace velmora::kelvaro
