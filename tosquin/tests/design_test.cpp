#include "tosquin/tests/fixture.h"

#include <gtest/gtest.h>

#include "common/commatext.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace velmora::tosquin::testing {
namespace {

using numtext::format_fixed;
using numtext::read_lenient;

TEST(HydraulicsTest, WorkedNumbers) {
    EXPECT_EQ(format_fixed(head_loss(1, 150, 25.4, 100), 2), "16.43");
    EXPECT_EQ(format_fixed(equivalent_diameter(2, 150, 1000, 50), 2), "42.20");
    // The loss of the equivalent diameter spends exactly the head.
    EXPECT_NEAR(head_loss(2, 150, equivalent_diameter(2, 150, 1000, 50), 1000), 50, 1e-9);
}

TEST(GraphTest, ScalesAndCoordinateTransform) {
    Fixture f;
    f.doc.graph.width = 1100;
    f.doc.graph.height = 400;
    f.profile({{0, 1000}, {500, 950}, {1000, 900}}, 1, 3);
    const GraphState& g = f.doc.graph;
    EXPECT_DOUBLE_EQ(g.sx, 1);
    EXPECT_DOUBLE_EQ(g.sy, 3.2);
    EXPECT_EQ(convertirxy(g, 1000, 0), (PointF{70, 30}));
    EXPECT_EQ(convertirxy(g, 950, 500), (PointF{570, 190}));
    EXPECT_EQ(convertirxy(g, 900, 1000), (PointF{1070, 350}));
    ASSERT_FALSE(f.canvas.ops.empty());
    EXPECT_EQ(f.canvas.ops[0].kind, "polyline");  // the ground
    EXPECT_EQ(f.canvas.ops[0].points, (std::vector<PointF>{{70, 30}, {570, 190}, {1070, 350}}));

    // First station at the lowest point: drawn flat, never with an infinite
    // scale.
    Fixture flat;
    flat.profile({{0, 900}, {500, 950}, {1000, 920}}, 1, 3);
    EXPECT_TRUE(flat.doc.graph.present);
    EXPECT_EQ(flat.doc.graph.sy, 0);
    for (const auto& op : flat.canvas.ops)
        for (const auto& p : op.points) EXPECT_TRUE(std::isfinite(p.y));
}

TEST(CalculocotaTest, InterpolatesClampsAndNeedsAGraph) {
    Fixture f;
    f.profile({{0, 1000}, {500, 950}, {500, 940}, {1000, 900}}, 1, 3);
    struct Case {
        double cam, z;
    } cases[] = {{-50, 1000}, {0, 1000}, {250, 975}, {500, 950}, {750, 920}, {1000, 900}, {2000, 900}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(calculocota(f.doc, c.cam), c.z) << c.cam;
    clear_graph(f.doc);
    EXPECT_EQ(calculocota(f.doc, 250), 0);
}

TEST(CatalogueLookupTest, LastMatchAndCatalogueOrder) {
    Fixture f;
    ReferenceData& ref = f.doc.ref;
    EXPECT_EQ(diametrointerno(ref, "2", "200"), "54.58");
    EXPECT_EQ(diametrointerno(ref, "2.0", "200"), "");  // compared as text
    EXPECT_EQ(coeficientehw(ref, "160"), "150");
    ref.presiones.set_row_count(ref.presiones.row_count() + 1);
    ref.presiones.set_row(ref.presiones.row_count() - 1, {"PVC", "160", "89", "140"});
    EXPECT_EQ(coeficientehw(ref, "160"), "140");
    auto classes = class_list(ref, 2);
    ASSERT_EQ(classes.size(), 5u);  // 125, 160 (twice), 200, 250
    std::vector<int> p;
    for (const auto& c : classes) p.push_back(c.p);
    EXPECT_EQ(p, (std::vector<int>{70, 89, 89, 112, 140}));
    EXPECT_EQ(classes[4].id, "53.23");
}

// One section on the shipped catalogue: the bisection must spend the whole
// head, lay two adjacent diameters (the larger first) and give every stretch
// a class that covers its static pressure.
TEST(DisenarseccionTest, SpendsTheHeadWithTwoAdjacentDiameters) {
    for (double q : {1.5, 3.5, 8.0}) {
        Fixture f;
        f.profile(falling_line(2500, 130, 100), q, 5);
        Section s;
        s.xs = 0, s.xe = 2500, s.zs = 1000, s.ze = 870, s.lr = 2500;
        const double h = s.zs - s.ze - 5;
        const double deq = equivalent_diameter(q, 150, s.lr, h);
        int il = -1;
        for (size_t i = 0; i < f.doc.ref.ld.size(); ++i)
            if (il < 0 && read_lenient(f.doc.ref.ld[i]) > deq) il = static_cast<int>(i);
        ASSERT_GT(il, 0);
        const auto& ldn = f.doc.ref.ldn;
        ASSERT_TRUE(disenarseccion(f.doc, s, read_lenient(ldn[static_cast<size_t>(il)]),
                                   read_lenient(ldn[static_cast<size_t>(il - 1)])))
            << q;

        double hf = 0, x = s.xs;
        std::vector<std::string> diameters;
        for (const auto& st : s.stretches) {
            EXPECT_DOUBLE_EQ(st.start, x);
            x = st.end;
            hf += head_loss(q, read_lenient(st.hwc), read_lenient(st.id), st.end - st.start);
            if (diameters.empty() || diameters.back() != st.nd) diameters.push_back(st.nd);
            double static_pressure = s.zs - calculocota(f.doc, st.start);
            int p = 0;
            for (const auto& c : class_list(f.doc.ref, read_lenient(st.nd)))
                if (c.wp == st.wp) p = c.p;
            EXPECT_GE(p, std::round(static_pressure)) << st.start;
        }
        EXPECT_DOUBLE_EQ(x, s.xe);
        EXPECT_NEAR(s.zs - hf, s.ze + 5, 0.001);
        ASSERT_LE(diameters.size(), 2u);
        if (diameters.size() == 2) {
            auto pos = [&](const std::string& nd) { return std::find(ldn.begin(), ldn.end(), nd) - ldn.begin(); };
            EXPECT_EQ(pos(diameters[0]), pos(diameters[1]) + 1);
        }
    }
}

TEST(CalcularTest, SheetRowsFollowTheirColumns) {
    Fixture f;
    f.profile(falling_line(3000, 140, 150), 2.5, 5);
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    EXPECT_TRUE(f.messages.records().empty());
    const Grid& g = f.doc.StringGrid1;
    EXPECT_EQ(g(0, 1), "Section 1 ---");
    EXPECT_EQ(g(1, 1), "Q= 2.50 l/s");
    auto rows = f.stretch_rows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(g(0, rows.front()), "0.00");
    EXPECT_EQ(g(1, rows.back()), "3000.00");
    EXPECT_EQ(g(10, rows.front()), "1000.00");
    // The residual pressure at the end, up to the rounding of every loss.
    EXPECT_NEAR(f.cell(13, rows.back()), 5, 0.005 * static_cast<double>(rows.size()));
    for (size_t k = 0; k < rows.size(); ++k) {
        int r = rows[k];
        EXPECT_NEAR(f.cell(2, r), f.cell(1, r) - f.cell(0, r), 0.0051);
        EXPECT_NEAR(f.cell(11, r), f.cell(10, r) - f.cell(6, r), 1e-9);
        EXPECT_NEAR(f.cell(12, r), f.cell(10, r) - f.cell(8, r), 1e-9);
        EXPECT_NEAR(f.cell(13, r), f.cell(11, r) - f.cell(9, r), 1e-9);
        double id = f.cell(3, r) / 1000;
        EXPECT_EQ(g(7, r), format_fixed(2.5 / 1000 / (std::numbers::pi / 4 * id * id), 2));
        if (k > 0) {
            EXPECT_EQ(g(10, r), g(11, rows[k - 1]));
        }
    }
    EXPECT_EQ(g.row_count(), rows.back() + 1);
    EXPECT_EQ(cost_text(f.doc).rfind("Cost $=", 0), 0u);
}

TEST(CalcularTest, FixedCostsOfBoxesAndValves) {
    Fixture f;
    f.profile(falling_line(4000, 220, 200), 3, 5);
    f.box(1200);
    f.box(2600);
    f.doc.nvalvulasaire = 1;
    f.doc.xva = {"1800.00"};
    f.doc.yva = {"900.00"};
    f.doc.ref.preciocaja = f.doc.ref.precioaire = f.doc.ref.preciolavado = 0;
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    double pipes = read_lenient(cost_text(f.doc).substr(7));
    f.doc.ref.preciocaja = 850;
    f.doc.ref.precioaire = 320;
    f.doc.ref.preciolavado = 280;
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    EXPECT_EQ(read_lenient(cost_text(f.doc).substr(7)), pipes + 2 * 850 + 320);

    // Each box starts its section at atmospheric pressure, marked by a dotted
    // line from the ground.
    int dotted = 0;
    for (const auto& op : f.canvas.ops)
        if (op.kind == "line" && op.pen.style == PenStyle::Dot) ++dotted;
    EXPECT_EQ(dotted, 2);
    int sections = 0;
    for (int r = 1; r < f.doc.StringGrid1.row_count(); ++r)
        if (f.doc.StringGrid1(0, r).rfind("Section", 0) == 0) {
            ++sections;
            EXPECT_EQ(f.cell(12, r + 1), 0) << r;  // "From P" at the box
        }
    EXPECT_EQ(sections, 3);
}

TEST(CalcularTest, GradeLineAndLabelsOnTheGraph) {
    Fixture f;
    f.profile(falling_line(2000, 120, 100), 2, 5);
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    const auto& g = f.doc.graph;
    std::vector<const RecordingCanvas::Op*> hgl, labels;
    for (const auto& op : f.canvas.ops) {
        if (op.kind == "polyline") hgl.push_back(&op);
        if (op.kind == "text") labels.push_back(&op);
    }
    ASSERT_EQ(hgl.size(), 1u);
    auto rows = f.stretch_rows();
    ASSERT_EQ(hgl[0]->points.size(), rows.size() + 1);
    EXPECT_EQ(hgl[0]->points.front(), convertirxy(g, 1000, 0));
    EXPECT_EQ(hgl[0]->points.back(), convertirxy(g, 885, 2000));
    ASSERT_EQ(labels.size(), rows.size());
    const Grid& s = f.doc.StringGrid1;
    for (size_t k = 0; k < rows.size(); ++k) {
        int r = rows[k];
        EXPECT_EQ(labels[k]->text, format_fixed(f.cell(2, r), 0) + " M " + s(4, r) + "\" " + s(5, r) + " PSI");
        EXPECT_EQ(labels[k]->font.angle, 90);
        EXPECT_EQ(labels[k]->points[0].x, convertirxy(g, 0, f.cell(0, r)).x + 3);
    }
}

TEST(CalcularTest, DiameterAndClassColumnsFollowTheUnits) {
    struct Case {
        std::string nd_unit, p_unit;
        int diameter_col, class_col;
    } cases[] = {{"\"", "PSI", 2, 3},   {"mm", "PSI", 6, 3},   {"mm", "Kg/cm2", 6, 7}, {"mm", "Bar", 6, 8},
                 {"mm", "Mpa", 6, 9},   {"\"", "Kg/cm2", 2, 7}, {"\"", "Bar", 2, 8},    {"\"", "Mpa", 2, 9}};
    for (const auto& c : cases) {
        Fixture f;
        f.profile(falling_line(2000, 120, 100), 2, 5);
        f.doc.ref.units.nominal_diameter = c.nd_unit;
        f.doc.ref.units.pressure = c.p_unit;
        ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
        int r = f.stretch_rows().front();
        const Grid& cat = f.doc.ref.catalogo;
        int row = -1;
        for (int k = 1; k < cat.row_count(); ++k)
            if (cat(4, k) == f.doc.StringGrid1(3, r)) row = k;
        ASSERT_GT(row, 0);
        EXPECT_EQ(f.doc.StringGrid1(4, r), cat(c.diameter_col, row)) << c.nd_unit << c.p_unit;
        EXPECT_EQ(f.doc.StringGrid1(5, r), cat(c.class_col, row)) << c.nd_unit << c.p_unit;
        std::string mark = c.nd_unit == "mm" ? " mm " : "\" ";
        std::string label;
        for (const auto& op : f.canvas.ops)
            if (op.kind == "text" && label.empty()) label = op.text;
        EXPECT_EQ(label, format_fixed(f.cell(2, r), 0) + " M " + cat(c.diameter_col, row) + mark +
                             cat(c.class_col, row) + " " + c.p_unit);
    }
    // A catalogue ND written differently matches nothing in millimetres.
    Fixture f;
    f.profile(falling_line(2000, 120, 100), 2, 5);
    f.doc.ref.units.nominal_diameter = "mm";
    Grid& cat = f.doc.ref.catalogo;
    auto trailing_zero = [](const std::string& nd) { return nd + (nd.find('.') == std::string::npos ? ".0" : "0"); };
    for (int k = 1; k < cat.row_count(); ++k) cat.set_cell(2, k, trailing_zero(cat(2, k)));
    for (auto& nd : f.doc.ref.ldn) nd = trailing_zero(nd);
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    int r = f.stretch_rows().front();
    EXPECT_EQ(f.doc.StringGrid1(4, r), "");
    EXPECT_EQ(f.doc.StringGrid1(5, r), "");
}

TEST(CalcularTest, PredeterminedDiameterAndSections) {
    Fixture f;
    f.profile(falling_line(1000, 100, 100), 2, 5);
    Grid& pre = f.doc.predeterminados;
    pre.set_row(1, {"0", "0.00", "200", "3", "80"});
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    auto rows = f.stretch_rows();
    EXPECT_EQ(f.doc.StringGrid1(4, rows[0]), "3");
    EXPECT_EQ(f.doc.StringGrid1(1, rows[0]), "200.00");
    EXPECT_NE(f.doc.StringGrid1(4, rows[1]), "3");

    // "To" before "From": no predetermined stretch.
    pre.set_row(1, {"0", "100", "50", "3", "80"});
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    EXPECT_NE(f.doc.StringGrid1(4, f.stretch_rows()[0]), "3");

    // A forced class from the section start: the start is inserted after
    // the existing breakpoint (a stretch of length 0); the stretch starting
    // at "To" keeps its own class.
    pre.clear_rows_from(1);
    f.doc.tramosfijos.set_row(1, {"0", "300", "PVC", "250"});
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    rows = f.stretch_rows();
    const Grid& s = f.doc.StringGrid1;
    EXPECT_EQ(s(2, rows[0]), "0.00");
    EXPECT_EQ(s(6, rows[0]), "0.00");
    bool after = false;
    for (int r : rows) {
        if (f.cell(0, r) < 300) {
            EXPECT_EQ(s(5, r), "250") << r;
        }
        if (s(0, r) == "300.00") {
            after = true;
            EXPECT_EQ(s(5, r), "125");
        }
    }
    EXPECT_TRUE(after);
}

TEST(CalcularTest, UndergroundWarning) {
    Fixture f;
    f.profile({{0, 1000}, {400, 930}, {700, 985}, {1000, 900}}, 2, 5);
    ASSERT_EQ(f.run(false), RunResult::Completed);
    EXPECT_TRUE(f.messages.records().empty());
    ASSERT_EQ(f.run(true), RunResult::Completed) << f.messages_text();
    ASSERT_EQ(f.messages.records().size(), 1u);
    const std::string text = f.messages.records()[0].text;
    const std::string head = "HGL underground in X: ";
    ASSERT_EQ(text.rfind(head, 0), 0u) << text;
    auto points = commatext::read_line(text.substr(head.size()));
    ASSERT_FALSE(points.empty());
    for (const auto& p : points) {
        double x = read_lenient(p);
        EXPECT_GT(x, 400) << p;
        EXPECT_LT(x, 1000) << p;
    }
}

TEST(CalcularTest, NoConvergenceAsksToContinue) {
    for (Answer answer : {Answer::No, Answer::Yes}) {
        Fixture f;
        // Nearly the whole line at the highest class, whose coefficient is
        // far rougher than the first estimate assumes.
        f.profile({{0, 1000}, {10, 870}, {1000, 869}, {1010, 868}}, 3, 5);
        Grid& p = f.doc.ref.presiones;
        p.set_cell(3, p.row_count() - 1, "5");
        f.messages.answer_next(answer);
        RunResult result = f.run();
        ASSERT_FALSE(f.messages.records().empty());
        EXPECT_EQ(f.messages.records()[0].text,
                  "The conditions do not allow a design by deafault. Do you want to continue?");
        EXPECT_EQ(f.messages.records()[0].kind, "question");
        if (answer == Answer::No) {
            EXPECT_EQ(result, RunResult::Stopped);
            EXPECT_EQ(cost_text(f.doc), "");
        } else {
            EXPECT_EQ(result, RunResult::Completed);
            EXPECT_NE(f.doc.StringGrid1(13, f.stretch_rows().back()), "5.00");
        }
    }
}

// Data the design cannot use is refused with a message; nothing is computed
// with undefined values.
TEST(CalcularTest, RefusesDataItCannotUse) {
    struct Case {
        const char* name;
        std::function<void(Fixture&)> setup;
        std::string message_fragment;
    } cases[] = {
        {"uphill", [](Fixture& f) { f.profile({{0, 900}, {500, 950}, {1000, 1000}}, 2, 5); },
         "its end is not lower than its start"},
        {"head used by the residual pressure", [](Fixture& f) { f.profile(falling_line(1000, 5, 100), 2, 5); },
         "available head 0.00 m"},
        {"no larger diameter", [](Fixture& f) { f.profile(falling_line(3000, 20, 100), 300, 5); },
         "larger than the largest"},
        {"no smaller diameter",
         [](Fixture& f) {
             f.profile(falling_line(100, 140, 10), 0.05, 5);
             f.doc.ref.diametrominimo = 0;
         },
         "smaller than the smallest"},
        {"static pressure above every class", [](Fixture& f) { f.profile(falling_line(2000, 200, 100), 3, 5); },
         "exceeds the highest pressure class (140 m)"},
        {"too short", [](Fixture& f) { f.profile({{0, 1000}, {0.3, 990}}, 2, 5); }, "too short"},
        {"predetermined diameter without class",
         [](Fixture& f) {
             f.profile(falling_line(1000, 100, 100), 2, 5);
             f.doc.predeterminados.set_row(1, {"0", "0", "100", "7", "175"});
         },
         "predetermined diameter 7"},
        {"HWC not a number",
         [](Fixture& f) {
             f.profile(falling_line(1000, 100, 100), 2, 5);
             for (int r = 1; r < f.doc.ref.presiones.row_count(); ++r) f.doc.ref.presiones.set_cell(3, r, "n/a");
         },
         "HWC"},
        {"forced class missing for the diameter",
         [](Fixture& f) {
             f.profile(falling_line(1000, 100, 100), 2, 5);
             f.doc.tramosfijos.set_row(1, {"100", "300", "PVC", "315"});
         },
         "'315'"},
        {"diameters listed from the largest",
         [](Fixture& f) {
             f.profile(falling_line(1000, 100, 100), 2, 5);
             std::reverse(f.doc.ref.ld.begin(), f.doc.ref.ld.end());
             std::reverse(f.doc.ref.ldn.begin(), f.doc.ref.ldn.end());
         },
         "from the smallest up"},
    };
    for (const auto& c : cases) {
        Fixture f;
        c.setup(f);
        EXPECT_EQ(f.run(), RunResult::Stopped) << c.name;
        ASSERT_EQ(f.messages.records().size(), 1u) << c.name;
        EXPECT_NE(f.messages.records()[0].text.find(c.message_fragment), std::string::npos)
            << c.name << ": " << f.messages.records()[0].text;
        EXPECT_EQ(cost_text(f.doc), "") << c.name;
    }
}

TEST(CalcularTest, ClassMissingOnTheSmallerDiameterIsRefused) {
    Fixture f;
    f.profile(falling_line(2500, 130, 100), 3.5, 5);
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    const std::string smaller = f.doc.StringGrid1(4, f.stretch_rows().back());
    ASSERT_EQ(f.doc.StringGrid1(5, f.stretch_rows().back()), "250");
    Grid& cat = f.doc.ref.catalogo;
    for (int r = cat.row_count() - 1; r >= 1; --r)
        if (cat(2, r) == smaller && cat(3, r) == "250") cat.delete_row(r);
    EXPECT_EQ(f.run(), RunResult::Stopped);
    ASSERT_EQ(f.messages.records().size(), 1u);
    EXPECT_NE(f.messages.records()[0].text.find("smaller diameter " + smaller + " has no pressure class number 4"),
              std::string::npos)
        << f.messages.records()[0].text;
}

TEST(CalcularTest, MinimumDiameterStopsTheRun) {
    Fixture f;
    f.profile(falling_line(2000, 120, 100), 2, 5);
    ASSERT_EQ(f.run(), RunResult::Completed) << f.messages_text();
    f.doc.ref.diametrominimo = read_lenient(f.doc.StringGrid1(4, f.stretch_rows().front()));
    f.doc.status_panels[3].clear();
    EXPECT_EQ(f.run(), RunResult::Stopped);
    ASSERT_EQ(f.messages.records().size(), 1u);
    EXPECT_EQ(f.messages.records()[0].text,
              "The design demands a smaller diameter than the minimun specified. Allow smaller diameters in "
              "Options->Minimun Diameter menu");
    EXPECT_EQ(f.doc.StringGrid1.row_count(), 1);
    EXPECT_EQ(cost_text(f.doc), "");
}

}  // namespace
}  // namespace velmora::tosquin::testing
