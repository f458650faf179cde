// Partial-flow geometry, the slope-adjusting bisection against a plain
// text-list version, the final pass and the results table.
#include "common/numtext.h"
#include "common/ports.h"
#include "marulet/engine/calculation.h"
#include "marulet/engine/flows.h"
#include "marulet/engine/hydraulics.h"
#include "network_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

using namespace velmora;
using namespace velmora::marulet;
using velmora::marulet::testing::network;
using numtext::format_general;
using numtext::read_lenient;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The slope-adjusting loop written the plain way: every list entry is decimal
// text, written with the general format and read back whenever it is used.
struct TextEntries {
    std::string slope, r = "0", v = "0", p = "0", y = "0", ft = "0";
    long raises = 0;
    int i = 0;
};

TextEntries text_adjust(const BisectionInput& in, double step) {
    TextEntries e;
    e.slope = format_general(in.slope);
    const double d = in.internal_diameter_in * 0.0254;
    double lo = 0.0001, hi = 360, q = 0;
    int i = 0;
    do {
        ++i;
        double theta = lo + (hi - lo) / 2;
        double s = read_lenient(e.slope);
        Segment seg = partial_flow(d, theta);
        double v = manning_velocity(seg.r, s, in.manning);
        q = v * seg.a * 1000;
        e.r = format_general(seg.r);
        e.v = format_general(v);
        if (std::abs(in.accumulated_flow - q) >= 0.0001) {
            if (in.accumulated_flow >= q)
                lo = theta;
            else
                hi = theta;
        }
        e.p = format_general(seg.p);
        e.y = format_general(seg.y);
        e.ft = format_general(seg.r * 1000 * s / 100);
        if (i == 150 || read_lenient(e.v) < in.min_velocity || read_lenient(e.ft) < in.min_tractive_force) {
            e.slope = format_general(s + step);
            lo = 0.0001;
            hi = 360;
            i = 0;
            ++e.raises;
        }
    } while (!(std::abs(in.accumulated_flow - q) < 0.0001));
    e.i = i;
    return e;
}

Outcome calculate(Document& doc, Messages& messages) {
    NullProgress progress;
    return calcular(doc, messages, progress);
}

}  // namespace

TEST(PartialFlow, HalfAndFullPipe) {
    const double d = 8 * 0.0254;  // 0.2032 m
    struct Case {
        double theta, r, a, p, y;
    };
    for (const Case& c : {Case{180, d / 4, kPi * d * d / 8, kPi * d / 2, d / 2},
                          Case{360, d / 4, kPi * d * d / 4, kPi * d, d}}) {
        SCOPED_TRACE(c.theta);
        Segment s = partial_flow(d, c.theta);
        EXPECT_NEAR(s.r, c.r, 1e-15);
        EXPECT_NEAR(s.a, c.a, 1e-15);
        EXPECT_NEAR(s.p, c.p, 1e-15);
        EXPECT_NEAR(s.y, c.y, 1e-15);
    }
    EXPECT_DOUBLE_EQ(partial_flow(d, 180).r, 0.0508);
    // Half-full 8-inch PVC at 1 %: V = 0.0508^(2/3) x 0.1 / 0.009.
    EXPECT_NEAR(manning_velocity(0.0508, 1, 0.009), 1.52405, 1e-5);
}

TEST(StoredValue, EqualsTheGeneralFormatRoundTrip) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-20, 20);
    std::vector<double> values = {0.0, -0.0, 1e16, 1e-7, 0.1 + 0.2, 2485.4 - 0.44, 1.0 / 3,
                                  std::numeric_limits<double>::infinity(), std::nan(""),
                                  std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()};
    for (int k = 0; k < 200000; ++k) values.push_back(mantissa(rng) * std::pow(10.0, exponent(rng)));
    for (double x : values) ASSERT_EQ(stored(x), numtext::roundtrip_general(x)) << x;
}

TEST(AdjustSlope, GivesExactlyWhatTheTextListsGive) {
    struct Case {
        const char* name;
        BisectionInput in;
        double step;
    };
    std::vector<Case> cases = {
        {"small flow, slope raised far", {7.92, 0.009, 0.17, 0.44, 0.4, 0.1}, kStepCurrent},
        {"infiltration only", {7.92, 0.009, 0.004375, 0.44, 0.4, 0.1}, kStepFuture},
        {"moderate flow, steep ground", {7.92, 0.009, 3.0, 6.5, 0.4, 0.1}, kStepCurrent},
        {"flow above full-bore capacity", {5.92, 0.009, 60, 0.5, 0.4, 0.1}, kStepFuture},
        {"concrete trunk", {10.0, 0.014, 2.2, 0.48, 0.4, 0.1}, kStepCurrent},
        {"large concrete pipe", {24.0, 0.014, 150, 1.2, 0.4, 0.1}, kStepCurrent},
        {"no minimums", {7.92, 0.009, 1.5, 0.44, 0, 0}, kStepCurrent},
    };
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> flow(0.01, 20), slope(0.44, 8), pick(0, 1);
    const double diameters[] = {5.92, 7.92, 9.9, 12.0};
    for (int k = 0; k < 16; ++k) {
        BisectionInput in{diameters[k % 4], pick(rng) < 0.5 ? 0.009 : 0.014, numtext::roundtrip_general(flow(rng)),
                          numtext::roundtrip_general(slope(rng)), 0.4, 0.1};
        cases.push_back({"random", in, k % 2 ? kStepCurrent : kStepFuture});
    }
    bool ended_in_a_raising_iteration = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " Q=" + format_general(c.in.accumulated_flow) +
                     " S=" + format_general(c.in.slope));
        PipeResult fast = adjust_slope(c.in, c.step, 1);
        TextEntries text = text_adjust(c.in, c.step);
        EXPECT_EQ(fast.slope, read_lenient(text.slope));
        EXPECT_EQ(fast.r, read_lenient(text.r));
        EXPECT_EQ(fast.velocidad, read_lenient(text.v));
        EXPECT_EQ(fast.perimetro, read_lenient(text.p));
        EXPECT_EQ(fast.t, read_lenient(text.y));
        EXPECT_EQ(fast.ft, read_lenient(text.ft));
        EXPECT_EQ(fast.raises, text.raises);
        EXPECT_EQ(fast.iterations, text.i);
        ended_in_a_raising_iteration = ended_in_a_raising_iteration || fast.iterations == 0;
    }
    // The fixtures include the loop ending in the iteration that raised the slope.
    EXPECT_TRUE(ended_in_a_raising_iteration);
}

TEST(AdjustSlope, RaisesUntilVelocityAndTractiveForceHoldAtTheFoundDepth) {
    BisectionInput in{7.92, 0.009, 0.5, 0.44, 0.4, 0.1};
    PipeResult res = adjust_slope(in, kStepCurrent, 1);
    EXPECT_GT(res.slope, 0.44);
    EXPECT_GE(res.velocidad, 0.4);
    EXPECT_GE(res.ft, 0.1);
    // The final pass at that slope finds the same depth.
    BisectionInput at_design = in;
    at_design.slope = res.slope;
    PipeResult fin = final_bisection(at_design);
    EXPECT_LT(fin.iterations, kIterationCap);
    const double d = 7.92 * 0.0254;
    double theta = 2 * std::acos(1 - 2 * fin.t / d) * 180 / kPi;
    Segment seg = partial_flow(d, theta);
    EXPECT_NEAR(manning_velocity(seg.r, res.slope, 0.009) * seg.a * 1000, 0.5, 2e-4);
}

TEST(AdjustSlope, AnImpossiblePipeStopsInsteadOfLoopingForever) {
    BisectionInput zero_diameter{0, 0.009, 1, 0.44, 0.4, 0.1};
    try {
        adjust_slope(zero_diameter, kStepFuture, 4);
        FAIL() << "a pipe without a diameter was designed";
    } catch (const CalculationStop& e) {
        EXPECT_EQ(e.title(), "AVISO");
        EXPECT_STREQ(e.what(), "It is not possible to calculate with the current data in pipe #4");
    }
}

TEST(Calculation, ResultsTableOfOnePipe) {
    Document doc = network({{"A", "B", "40", "100", "99", "10"}});
    ScriptedMessages messages;
    RecordingProgress progress;
    ASSERT_EQ(calcular(doc, messages, progress), Outcome::Done);
    EXPECT_TRUE(messages.records().empty());
    EXPECT_EQ(progress.positions.back(), 100);
    EXPECT_EQ(progress.statuses, (std::vector<std::string>{"Calculating", ""}));
    EXPECT_FALSE(doc.calcular_enabled);
    const Grid& z = doc.ZCSG5;
    auto f2 = [](double x) { return numtext::format_pattern(x, "0.00"); };
    EXPECT_EQ(z.row(2, 0, 6), (std::vector<std::string>{"1", "A", "B", "99", z(kResEndLevel, 2), "40"}));
    EXPECT_EQ(z(kResMeanFlow, 2), f2(doc.actual.qm[0]));
    EXPECT_EQ(z(kResAccumulated, 2), f2(doc.actual.qacumulado[0]));
    EXPECT_EQ(z(kResDiameter, 2), "8");  // 7.92 PVC in the catalogue, inch unit
    EXPECT_EQ(z(kResMaterial, 2), "PVC");
    EXPECT_EQ(z(kResManning, 2), "0.009");
    EXPECT_EQ(z(kResInfiltrationRate, 2), "0");
    EXPECT_EQ(z(kResSlope, 2), numtext::format_pattern(doc.pendiente[0], "0.000"));
    EXPECT_EQ(z(kResVelocity, 2), f2(doc.actual.velocidad[0]));
    EXPECT_EQ(z(kResTractive, 2), f2(doc.actual.ft[0]));
    EXPECT_GE(doc.actual.velocidad[0], 0.4);
    // Design slope: the larger of the two situations.
    EXPECT_EQ(doc.pendiente[0], std::max(doc.actual.pendiente[0], doc.futuro.pendiente[0]));
    EXPECT_EQ(doc.ZCSG5.merges().size(), 16u);
}

TEST(Calculation, NominalDiameterOnlyFromThePipesOwnMaterial) {
    struct Case {
        std::string material, internal, unit, shown;
    };
    for (const Case& c : {Case{"PVC", "8.00", "mm", "200"}, Case{"Concrete", "8.00", "mm", "210"},
                          Case{"Concrete", "8.00", velmora::marulet::kInchSign, "8C"},
                          Case{"PVC", "7.5", "mm", "7.50"}}) {
        SCOPED_TRACE(c.material + " " + c.internal + " " + c.unit);
        Document doc = network({{"A", "B", "40", "100", "99", "10", c.material, "8", "200", c.internal}});
        doc.catalogue.set_row(1, {"1", "PVC", "8", "200", "8.00"});
        doc.catalogue.set_row(2, {"2", "Concrete", "8C", "210", "8.00"});
        doc.catalogue.set_row(3, {"3", "PVC", "10", "250", "9.90"});
        doc.unidaddiametro = c.unit;
        ScriptedMessages messages;
        ASSERT_EQ(calculate(doc, messages), Outcome::Done);
        EXPECT_EQ(doc.ZCSG5(kResDiameter, 2), c.shown);
    }
}

TEST(Calculation, RefusedByTheChecks) {
    Document doc = network({{"A", "B", "40", "100", "99", "10"}, {"B", "C", "40", "99", "98", "1", "PVC", "8", ""}});
    ScriptedMessages messages;
    EXPECT_EQ(calculate(doc, messages), Outcome::Refused);
    EXPECT_EQ(messages.records(), (std::vector<MessageRecord>{{"notice", "", "All the piping data must be entered!"}}));
    // The table ends at the first row without a From node.
    Document cut = network({{"A", "B", "40", "100", "99", "1"}, {"", "C", "", "", "", ""}, {"C", "D", "", "", "", ""}});
    ScriptedMessages none;
    EXPECT_EQ(calculate(cut, none), Outcome::Done);
    EXPECT_EQ(cut.SG4.row_count(), 3);
    EXPECT_EQ(cut.ZCSG5.row_count(), 3);
}

TEST(Views, PopulationShownPerSituationAndFinalPassRepeated) {
    Document doc = network({{"A", "B", "40", "100", "99", "3"}, {"B", "C", "40", "99", "98", "4"}});
    doc.parameters.people_per_house = 2.5;
    ScriptedMessages messages;
    NullProgress progress;
    ASSERT_EQ(calcular(doc, messages, progress), Outcome::Done);
    EXPECT_EQ(doc.ZCSG5(kResPopulation, 2), "7.5");
    const std::string current_flow = doc.ZCSG5(kResAccumulated, 3);
    ASSERT_EQ(view_future(doc, messages, progress), Outcome::Done);
    EXPECT_EQ(doc.ZCSG5(kResPopulation, 2), "33");  // 7.5 x 1.03^50 = 32.88
    EXPECT_EQ(doc.ZCSG5(kResPopulation, 3), "44");  // 10 x 1.03^50 = 43.84
    EXPECT_EQ(doc.ZCSG5(kResAccumulated, 3), numtext::format_pattern(doc.futuro.qacumulado[1], "0.00"));
    EXPECT_NE(doc.ZCSG5(kResAccumulated, 3), current_flow);
    EXPECT_EQ(doc.ZCSG5(kResSlope, 3), numtext::format_pattern(doc.pendiente[1], "0.000"));
    ASSERT_EQ(view_current(doc, messages, progress), Outcome::Done);
    EXPECT_EQ(doc.ZCSG5(kResPopulation, 2), "7.5");
    EXPECT_EQ(doc.ZCSG5(kResAccumulated, 3), current_flow);
}

TEST(Views, FinalPassThatDoesNotConvergeEndsThere) {
    Document doc = network({{"A", "B", "40", "100", "99", "1"}, {"B", "C", "40", "99", "98", "2000"},
                            {"C", "D", "40", "98", "97", "1"}});
    ScriptedMessages messages;
    NullProgress progress;
    ASSERT_EQ(calcular(doc, messages, progress), Outcome::Done);
    doc.pendiente[1] = 0.01;  // far too flat for its flow
    doc.ZCSG5.set_cell(kResVelocity, 4, "");
    EXPECT_EQ(view_current(doc, messages, progress), Outcome::Incomplete);
    EXPECT_EQ(messages.records(),
              (std::vector<MessageRecord>{
                  {"warning", "AVISO", "It is not possible to calculate with the current data in pipe #2"}}));
    EXPECT_EQ(doc.ZCSG5(kResVelocity, 4), "") << "pipes after the failing one are not filled";
}
