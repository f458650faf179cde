// Flows, routes and invert levels of the table passes, through "To Calculate".
#include "common/numtext.h"
#include "common/ports.h"
#include "marulet/engine/calculation.h"
#include "marulet/engine/flows.h"
#include "network_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmora;
using namespace velmora::marulet;
using velmora::marulet::testing::network;
using velmora::marulet::testing::PipeRow;
using numtext::roundtrip_general;

namespace {

Outcome calculate(Document& doc, ScriptedMessages& messages) {
    NullProgress progress;
    return calcular(doc, messages, progress);
}

}  // namespace

TEST(SectionFlows, WorkedNumbersAtDefaults) {
    struct Case {
        std::string households;
        unsigned population;
        double peak_factor;
        const char* shown_population;
        const char* shown_factor;
    };
    for (const Case& c : {Case{"10", 50, 4.3147, "50", "4.31"}, Case{"", 0, 4.5, "0", "4.5"}}) {
        SCOPED_TRACE(c.households);
        Document doc = network({{"A", "B", "40", "100", "98", c.households}});
        ScriptedMessages messages;
        ASSERT_EQ(calculate(doc, messages), Outcome::Done) << ::testing::PrintToString(messages.texts());
        const double p = c.population;
        EXPECT_EQ(doc.actual.qm[0], roundtrip_general(p * 120 * 70 / 8640000));
        EXPECT_NEAR(doc.actual.fh[0], c.peak_factor, 5e-5);
        EXPECT_EQ(doc.actual.qd[0], roundtrip_general(doc.actual.qm[0] * doc.actual.fh[0]));
        EXPECT_EQ(doc.actual.qil[0], roundtrip_general(p * 120 / 86400));
        EXPECT_EQ(doc.qinf[0], roundtrip_general(378.0 / 86400));  // PVC: no infiltration per metre
        EXPECT_EQ(doc.actual.qsanitario[0],
                  roundtrip_general(doc.actual.qd[0] + doc.qinf[0] + doc.actual.qil[0]));
        EXPECT_EQ(doc.actual.qacumulado[0], doc.actual.qsanitario[0]);
        EXPECT_EQ(doc.ZCSG5(kResPopulation, 2), c.shown_population);
        EXPECT_EQ(doc.ZCSG5(kResPeakFactor, 2), c.shown_factor);
    }
    Document doc = network({{"A", "B", "40", "100", "98", "10"}});
    ScriptedMessages messages;
    ASSERT_EQ(calculate(doc, messages), Outcome::Done);
    EXPECT_NEAR(doc.actual.qm[0], 0.0486111, 1e-7);
    EXPECT_NEAR(doc.actual.qil[0], 0.0694444, 1e-7);
    // Future: 50 x 1.03^50 = 219.19... rounds to 219.
    EXPECT_EQ(doc.futuro.qil[0], roundtrip_general(219.0 * 120 / 86400));
    // Concrete adds 20 L/day per metre.
    Document concrete = network({{"A", "B", "40", "100", "98", "10", "Concrete", "8", "200", "8.00"}});
    ASSERT_EQ(calculate(concrete, messages), Outcome::Done);
    EXPECT_EQ(concrete.qinf[0], roundtrip_general((40.0 * 20 + 378) / 86400));
}

TEST(Population, RoundsHalvesToEvenAndRejectsWhatDoesNotFit) {
    EXPECT_EQ(population(10, 5, 3, 0, 1), 50u);
    EXPECT_EQ(population(1, 2.5, 0, 0, 1), 2u);  // 2.5 -> 2
    EXPECT_EQ(population(1, 3.5, 0, 0, 1), 4u);  // 3.5 -> 4
    EXPECT_EQ(population(13107, 5, 0, 0, 1), 65535u);
    try {
        population(13108, 5, 0, 0, 7);
        FAIL() << "65540 inhabitants accepted";
    } catch (const CalculationStop& e) {
        EXPECT_STREQ(e.what(), "The population of pipe #7 (65540) is outside the range 0 to 65535 that a section can hold");
    }
}

TEST(Routes, FollowTheFlowFromEveryHeadPipe) {
    struct Case {
        const char* name;
        std::vector<PipeRow> pipes;
        std::vector<std::vector<int>> routes;
    };
    const std::vector<Case> cases = {
        {"single pipe", {{"A", "B", "40", "100", "99", "2"}}, {{1}}},
        {"two heads joining",
         {{"A", "C", "40", "100", "99", "2"}, {"B", "C", "40", "100", "99", "3"}, {"C", "D", "40", "99", "98", "4"}},
         {{1, 3}, {2, 3}}},
        {"two pipes leaving one head node",
         {{"A", "B", "40", "100", "99", "2"},
          {"B", "D", "40", "99", "98", "3"},
          {"A", "C", "40", "100", "99", "4"},
          {"C", "D", "40", "99", "98", "5"},
          {"D", "E", "40", "98", "97", "1"}},
         {{1, 2, 5}, {3, 4, 5}}},
        {"rows against the flow need several scans",
         {{"C", "D", "40", "98", "97", "1"}, {"B", "C", "40", "99", "98", "1"}, {"A", "B", "40", "100", "99", "1"}},
         {{3, 2, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document doc = network(c.pipes);
        ScriptedMessages messages;
        ASSERT_EQ(calculate(doc, messages), Outcome::Done);
        EXPECT_EQ(doc.RutaList, c.routes);
    }
}

TEST(Accumulation, EachSectionFlowCountsOnceDownstream) {
    Document doc = network({{"A", "C", "40", "100", "99", "2"},
                            {"B", "C", "40", "100", "99", "3"},
                            {"C", "D", "40", "99", "98", "4"},
                            {"D", "E", "40", "98", "97", "5"}});
    ScriptedMessages messages;
    ASSERT_EQ(calculate(doc, messages), Outcome::Done);
    for (const SituationLists* l : {&doc.actual, &doc.futuro}) {
        const auto& qs = l->qsanitario;
        const auto& acc = l->qacumulado;
        EXPECT_EQ(acc[0], qs[0]);
        EXPECT_EQ(acc[1], qs[1]);
        // Route [1,3,4] adds Qs1 then Qs3 then Qs4; route [2,3,4] adds only Qs2.
        EXPECT_EQ(acc[2], roundtrip_general(roundtrip_general(qs[0] + qs[2]) + qs[1]));
        EXPECT_EQ(acc[3], roundtrip_general(roundtrip_general(roundtrip_general(qs[0] + qs[2]) + qs[3]) + qs[1]));
        EXPECT_NEAR(acc[3], qs[0] + qs[1] + qs[2] + qs[3], 1e-12);
    }
}

TEST(InvertLevels, FollowTerrainAtLeastMinimumSlopeAndNeverRiseAtAJoint) {
    // Pipe 1 steep: levels follow the ground. Pipe 2 flat: minimum slope.
    // Pipe 3 starts at the lower end of pipe 2, not at its own ground level.
    Document doc = network({{"A", "B", "50", "100", "95", "2"},
                            {"B", "C", "100", "95", "95", "2"},
                            {"C", "D", "40", "95", "94", "2"}});
    ScriptedMessages messages;
    ASSERT_EQ(calculate(doc, messages), Outcome::Done);
    const Grid& z = doc.ZCSG5;
    // The table shows the final pass with the design slope.
    const double s1 = doc.pendiente[0], s2 = doc.pendiente[1], s3 = doc.pendiente[2];
    EXPECT_EQ(z(kResStartLevel, 2), "99");
    double end1 = roundtrip_general(99 - 50 * s1 / 100);
    EXPECT_EQ(z(kResEndLevel, 2), numtext::format_general(end1));
    double start2 = std::min(roundtrip_general(94.0), end1);
    EXPECT_EQ(z(kResStartLevel, 3), numtext::format_general(start2));
    double end2 = roundtrip_general(start2 - 100 * s2 / 100);
    EXPECT_EQ(z(kResStartLevel, 4), numtext::format_general(end2));
    EXPECT_EQ(z(kResEndLevel, 4), numtext::format_general(roundtrip_general(end2 - 40 * s3 / 100)));
    // Terrain pass: pipe 1 follows the ground (10 %), pipe 2 lies at 0.44 %.
    Document terrain = network({{"A", "B", "50", "100", "95", "2"}, {"B", "C", "100", "95", "95", "2"}});
    terrain.longitud = {50, 100};
    terrain.ZCSG5.set_row_count(4);
    terrain.ZCSG5.set_cell(kResInfiltrationRate, 2, "0");
    terrain.ZCSG5.set_cell(kResInfiltrationRate, 3, "0");
    tablaactual(terrain);
    EXPECT_EQ(terrain.ZCSG5(kResStartLevel, 2), "99");
    EXPECT_EQ(terrain.ZCSG5(kResEndLevel, 2), "94");
    EXPECT_EQ(terrain.ZCSG5(kResEndLevel, 3), "93.56");
    EXPECT_EQ(terrain.actual.pendiente, (std::vector<double>{10, roundtrip_general((94 - 93.56) / 100.0 * 100)}));
}

TEST(Robustness, NetworksAndValuesThatCannotBeCalculatedAreReported) {
    struct Case {
        const char* name;
        std::vector<PipeRow> pipes;
        MessageRecord message;
    };
    const std::vector<Case> cases = {
        {"closed loop below a head pipe",
         {{"A", "B", "40", "100", "99", "1"}, {"B", "C", "40", "99", "98", "1"}, {"C", "B", "40", "98", "99", "1"}},
         {"warning", "Warning",
          "The network cannot be calculated: the flow of pipes #1,2,3 does not reach an outlet node (a closed loop "
          "or no outlet)"}},
        {"closed loop without a head pipe",
         {{"A", "D", "40", "100", "99", "1"}, {"B", "C", "40", "99", "98", "1"}, {"C", "B", "40", "98", "99", "1"}},
         {"warning", "Warning",
          "The network cannot be calculated: the flow of pipes #2,3 does not reach an outlet node (a closed loop or "
          "no outlet)"}},
        {"population above 65535",
         {{"A", "B", "40", "100", "99", "1"}, {"B", "C", "40", "99", "98", "20000"}},
         {"warning", "Warning",
          "The population of pipe #2 (100000) is outside the range 0 to 65535 that a section can hold"}},
        {"length 0",
         {{"A", "B", "40", "100", "99", "1"}, {"B", "C", "0", "99", "98", "1"}},
         {"error", "Error", "The length of pipe #2 is 0: its slope cannot be calculated"}},
        {"Manning coefficient 0",
         {{"A", "B", "40", "100", "99", "1"}, {"B", "C", "40", "99", "98", "1", "Clay", "8", "200", "7.92"}},
         {"error", "Error", "The Manning coefficient of pipe #2 is 0: the velocity cannot be calculated"}},
        {"households not a whole number",
         {{"A", "B", "40", "100", "99", "2.5"}},
         {"error", "Error", "'2.5' is not a valid integer value"}},
        {"material missing from the material table (no infiltration rate)",
         {{"A", "B", "40", "100", "99", "1", "Clay", "8", "200", "7.92"}},
         {"error", "Error", "'' is not a valid floating point value"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document doc = network(c.pipes);
        doc.materials.set_row_count(4);
        doc.materials.set_row(3, {"Clay", "", "5"});
        if (std::string(c.name).find("missing") != std::string::npos) doc.materials.set_row_count(3);
        doc.calcular_enabled = true;
        ScriptedMessages messages;
        EXPECT_EQ(calculate(doc, messages), Outcome::Stopped);
        ASSERT_EQ(messages.records().size(), 1u);
        EXPECT_EQ(messages.records()[0], c.message);
        EXPECT_TRUE(doc.calcular_enabled) << "a stopped calculation leaves To Calculate as it was";
    }
}
