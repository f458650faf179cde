// "To Calculate" on small networks whose numbers are worked out here.
#include "common/numtext.h"
#include "kelvaro/engine/design.h"
#include "kelvaro/engine/options.h"
#include "kelvaro/engine/results_export.h"
#include "kelvaro/engine/topology.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmora::kelvaro {
namespace {

namespace nt = velmora::numtext;

// Catalogue rows: nominal inch, internal mm, cost per metre, nominal mm.
Document make_doc(const std::vector<std::vector<std::string>>& pipes, int diammin = 0, int diammax = 2) {
    Document doc;
    doc.catalogue = Grid(7, 4, 1, 0);
    doc.catalogue.set_row(1, {"a", "SDR", "0.75", "", "23.63", "0.95", "25"});
    doc.catalogue.set_row(2, {"b", "SDR", "1", "", "30.36", "1.30", "32"});
    doc.catalogue.set_row(3, {"c", "SDR", "1.5", "", "44.54", "2.40", "50"});
    doc.diammin = diammin;
    doc.diammax = diammax;
    doc.chw = 140;
    build_catalogue_slices(doc);
    doc.unidaddiametro = "\"";
    doc.Edit2 = "10";
    doc.Edit3 = "0.02";
    doc.IQF = 0.15;
    doc.ZCSG4.set_row_count(2 + static_cast<int>(pipes.size()));
    for (size_t i = 0; i < pipes.size(); ++i) doc.ZCSG4.set_row(2 + static_cast<int>(i), pipes[i]);
    return doc;
}

double hazen(double L, double q, double d) {
    return L * std::pow(q / 140, 1.85) * 1743.811 / std::pow(d / 25.4, 4.87);
}

TEST(ToCalculate, OnePipeWithOneDiameterGivesTheWorkedNumbers) {
    Document doc = make_doc({{"1", "1", "2", "100", "100", "80", "4", "1"}}, 1, 1);
    ScriptedMessages messages;
    NullProgress progress;
    ASSERT_EQ(to_calculate(doc, messages, progress), CalcResult::Done);
    EXPECT_TRUE(messages.records().empty());
    const Grid& res = doc.ZCSG5;
    ASSERT_EQ(res.row_count(), 4);  // two header rows, the pipe, "Total"
    // Demand 4 x 0.02; instantaneous 0.15 x sqrt(4 - 1) beats the average.
    const double inst = 0.15 * std::sqrt(3.0);
    const double hf = hazen(100, nt::read_lenient(nt::format_fixed(inst, 3)), 30.36);
    const std::vector<std::string> expected{
        "1", "1", "1", "2", "100", "-0.08", "0.08", nt::format_fixed(inst, 3), nt::format_fixed(inst, 3), "1", "140",
        nt::format_fixed(hf, 2), "130", "100", "80", "100", nt::format_general(100 - nt::round_to(hf, 2)), "0",
        nt::format_general(100 - nt::round_to(hf, 2) - 80)};
    EXPECT_EQ(res.row(2), expected);
    EXPECT_EQ(res(0, 3), "Total");
    EXPECT_EQ(res(4, 3), "100");
    EXPECT_EQ(res(12, 3), "130");
    EXPECT_EQ(doc.ZCSG6.row(2), (TextList{"1", "2", "-0.08", "80", nt::format_fixed(100 - nt::round_to(hf, 2), 2),
                                          nt::format_fixed(20 - nt::round_to(hf, 2), 2)}));
    EXPECT_EQ(doc.ZCSG6.row(1), (TextList{"1", "1", "", "100", "100", "0.00"}));
    EXPECT_FALSE(doc.calculate_enabled);
    EXPECT_TRUE(doc.print_enabled);
}

TEST(ToCalculate, DesignFlowIsTheLargerFlowAndTheInstantaneousOnATie) {
    struct Case { double iqf; std::string households, expected_col8; };
    // Two households of 0.02: average 0.04; IQF x sqrt(1) = IQF.
    for (const Case& c : {Case{0.04, "2", "0.040"}, Case{0, "2", "0.04"}, Case{0.05, "2", "0.050"},
                          Case{0.03, "2", "0.04"}}) {
        Document doc = make_doc({{"1", "1", "2", "50", "100", "90", c.households, "1"}});
        doc.IQF = c.iqf;
        ScriptedMessages messages;
        NullProgress progress;
        ASSERT_EQ(to_calculate(doc, messages, progress), CalcResult::Done);
        EXPECT_EQ(doc.ZCSG5(8, 2), c.expected_col8) << c.iqf;
    }
}

TEST(ToCalculate, StopsWithAClearMessage) {
    struct Case {
        const char* what;
        std::vector<std::vector<std::string>> pipes;
        std::string expected_text;
    };
    const std::vector<Case> cases{
        {"half a household", {{"1", "1", "2", "50", "100", "90", "0.5", "1"}}, "pipe 1 of network 1 serves 0.5"},
        // Pipe 3 -> 4 is numbered into network 2 although 3 is no box, so
        // network 1 holds 4 -> 5 apart from its first pipe.
        {"branch not joined to the root",
         {{"1", "1", "2", "50", "100", "90", "1", "1"},
          {"2", "2", "3", "50", "90", "80", "1", "1"},
          {"3", "3", "4", "50", "80", "70", "1", "2"},
          {"4", "4", "5", "50", "70", "60", "1", "1"}},
         "Network 1: node 5 is not joined"},
        // 2 and 3 feed each other: no terminal node, no household reaches a pipe.
        {"closed loop",
         {{"1", "1", "2", "50", "100", "90", "1", "1"},
          {"2", "2", "3", "50", "90", "80", "1", "1"},
          {"3", "3", "2", "50", "80", "90", "1", "1"}},
         "pipe 1 of network 1 serves 0 households"},
        {"child before its parent",
         {{"1", "1", "2", "50", "100", "90", "1", "1"},
          {"2", "3", "4", "50", "80", "70", "1", "1"},
          {"3", "2", "3", "50", "90", "80", "1", "1"}},
         "Pipe 2 starts at node 3"},
    };
    for (const auto& c : cases) {
        Document doc = make_doc(c.pipes);
        ScriptedMessages messages;
        NullProgress progress;
        EXPECT_EQ(to_calculate(doc, messages, progress), CalcResult::Stopped) << c.what;
        ASSERT_FALSE(messages.records().empty()) << c.what;
        EXPECT_EQ(messages.records().back().kind, "error");
        EXPECT_NE(messages.records().back().text.find(c.expected_text), std::string::npos)
            << c.what << ": " << messages.records().back().text;
    }
}

TEST(ToCalculate, MinAboveMaxLeavesNoDiameterAndStops) {
    Document doc = make_doc({{"1", "1", "2", "100", "100", "80", "4", "1"}}, 2, 1);
    EXPECT_TRUE(doc.diaminterno.empty());
    ScriptedMessages messages;
    NullProgress progress;
    EXPECT_EQ(to_calculate(doc, messages, progress), CalcResult::Stopped);
    EXPECT_EQ(messages.records().back().text.rfind("There is no diameter to choose", 0), 0u);
}

TEST(ToCalculate, InputChecksRefuseWithTheirMessages) {
    Document doc = make_doc({{"1", "1", "2", "50", "100", "90", "0", "1"},
                             {"2", "7", "3", "", "90", "80", "2", "1"}});
    ScriptedMessages messages;
    NullProgress progress;
    EXPECT_EQ(to_calculate(doc, messages, progress), CalcResult::Refused);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Nodes no connected: 7",
                                                          "Terminal nodes without any connection (no households): 2",
                                                          "Pipes with incomplete Data: 2"}));
    EXPECT_EQ(doc.ZCSG5.row_count(), 3);  // untouched
}

TEST(ToCalculate, BoxRestartsTheGradeLineAndCarriesTheFedDemand) {
    // Source 1 -> 2 -> box 3, which feeds 3 -> 4 and 3 -> 5 (networks 2 and 3).
    Document doc = make_doc({{"1", "1", "2", "100", "200", "180", "1", ""},
                             {"2", "2", "3", "100", "180", "150", "2", ""},
                             {"3", "3", "4", "100", "150", "130", "3", ""},
                             {"4", "3", "5", "100", "150", "135", "4", ""}});
    doc.bpbnudos = {"1", "3"};
    doc.bpbx = doc.bpby = {"0", "0"};
    doc.bpblibre = {"n", "n"};
    numerarredes(doc);
    EXPECT_EQ(doc.ZCSG4.column(7, 2), (TextList{"1", "1", "2", "3"}));
    ScriptedMessages messages;
    NullProgress progress;
    ASSERT_EQ(to_calculate(doc, messages, progress), CalcResult::Done);
    const Grid& res = doc.ZCSG5;
    // The pipe ending at the box carries its own 2 households and the 7 fed ones.
    EXPECT_EQ(res(6, 3), nt::format_general(nt::roundtrip_general(0.04 + nt::roundtrip_general(0.06 + 0.08))));
    for (int r : {4, 5}) EXPECT_EQ(res(15, r), "150");  // grade restarts at the box's ground
    EXPECT_EQ(res(15, 2), "200");
    EXPECT_EQ(res(15, 3), res(16, 2));
    EXPECT_EQ(res.column(0, 0), (TextList{"Network", "Network", "1", "1", "2", "3", "Total"}));
    EXPECT_EQ(doc.ZCSG6.column(1, 1), (TextList{"1", "2", "3", "3", "4", "3", "5"}));
}

TEST(ToCalculate, MillimetreUnitShowsTheCatalogueColumnSix) {
    Document doc = make_doc({{"1", "1", "2", "100", "100", "80", "4", "1"}}, 1, 1);
    doc.unidaddiametro = "mm";
    ScriptedMessages messages;
    NullProgress progress;
    ASSERT_EQ(to_calculate(doc, messages, progress), CalcResult::Done);
    EXPECT_EQ(doc.ZCSG5(9, 2), "32");
    EXPECT_EQ(doc.ZCSG5(9, 0), "Diameter [mm]");
}

TEST(ToCalculate, WarnsOnceForANodeTheLargestDiameterCannotServe) {
    // Two terminals behind node 2, which sits only 5 m below the source.
    Document doc = make_doc({{"1", "1", "2", "100", "100", "95", "1", "1"},
                             {"2", "2", "3", "100", "95", "60", "2", "1"},
                             {"3", "2", "4", "100", "95", "60", "2", "1"}});
    ScriptedMessages messages;
    NullProgress progress;
    ASSERT_EQ(to_calculate(doc, messages, progress), CalcResult::Done);
    ASSERT_EQ(messages.records().size(), 1u);
    EXPECT_EQ(messages.records()[0].title, "Warning");
    EXPECT_EQ(messages.records()[0].text.rfind("the residual presure in the node 2 is ", 0), 0u);
    EXPECT_EQ(doc.ZCSG5(9, 2), "1.5");  // the largest allowed diameter
}

TEST(Export, CommaTextLinesOfBothTables) {
    Document doc = make_doc({{"1", "1", "2", "100", "100", "80", "4", "1"}}, 1, 1);
    ScriptedMessages messages;
    NullProgress progress;
    ASSERT_EQ(to_calculate(doc, messages, progress), CalcResult::Done);
    const TextList lines = results_csv_lines(doc);
    ASSERT_EQ(lines.size(), 1u + 4u + 1u + 3u);
    EXPECT_EQ(lines[0], "Pipelines design");
    EXPECT_EQ(lines[1].rfind("Network,\"Pipe #\",Node,,\"Length [m]\",Flow,,,,\"Diameter [\"\"]\",HWC,Hf,Cost,", 0), 0u);
    EXPECT_EQ(lines[2], "Network,,\"From #\",\"To #\",,\"In Node\",\"In Pipe\",Instantaneous,\"For design\",,,,,From,To,From,To,From,To");
    EXPECT_EQ(lines[4], "Total,,,,100,,,,,,,,130,,,,,,");
    EXPECT_EQ(lines[5], "Nodes hydraulic conditions");
    EXPECT_EQ(lines[6], "Network,Node,Flow,Elevation,Gradient,Pressure");
}

}  // namespace
}  // namespace velmora::kelvaro
