#include "terrain/contours.h"

#include "common/errors.h"
#include "common/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <set>

using namespace velmora;
using namespace velmora::terrain;

namespace {

struct P {
    double x, y, z;
};

// One pipeline through all the points.
PlanLists plan_of(const std::vector<P>& pts) {
    PlanLists plan;
    plan.tramosx.emplace_back();
    plan.tramosy.emplace_back();
    plan.tramosz.emplace_back();
    plan.tramosnudos.emplace_back();
    int node = 1;
    for (const auto& p : pts) {
        plan.tramosx[0].push_back(numtext::format_general(p.x));
        plan.tramosy[0].push_back(numtext::format_general(p.y));
        plan.tramosz[0].push_back(numtext::format_general(p.z));
        plan.tramosnudos[0].push_back(std::to_string(node++));
    }
    return plan;
}

// Corners of a square of side `side` plus random inner points, all on the
// plane z(x, y).
std::vector<P> plane_points(double side, const std::function<double(double, double)>& z, unsigned seed) {
    std::vector<P> pts = {{0, 0, z(0, 0)}, {side, 0, z(side, 0)}, {side, side, z(side, side)}, {0, side, z(0, side)}};
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> u(1, static_cast<int>(side) - 1);
    for (int k = 0; k < 40; ++k) {
        double x = u(rng), y = u(rng);
        pts.push_back({x, y, z(x, y)});
    }
    return pts;
}

std::vector<const RecordingCanvas::Op*> ops_of(const RecordingCanvas& c, const std::string& kind) {
    std::vector<const RecordingCanvas::Op*> out;
    for (const auto& op : c.ops)
        if (op.kind == kind) out.push_back(&op);
    return out;
}

}  // namespace

TEST(Contours, GridSpacingRoundsTiesToEven) {
    struct Case {
        double extent;
        long long kelvaro, marulet;
    } cases[] = {{1000, 12, 11}, {1050, 12, 11}, {1150, 14, 13}, {49, 2, 1}, {0, 2, 1}, {151, 4, 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(grid_spacing(c.extent, Designer::Kelvaro), c.kelvaro) << c.extent;
        EXPECT_EQ(grid_spacing(c.extent, Designer::Marulet), c.marulet) << c.extent;
    }
}

TEST(Contours, ThousandPixelSpanGivesSpacing12ReachingX1188) {
    auto pts = plane_points(1000, [](double x, double) { return 100 + x / 10; }, 1);
    PlanLists plan = plan_of(pts);
    ContourMap kelvaro(Designer::Kelvaro), marulet(Designer::Marulet);
    RecordingCanvas c1, c2;
    kelvaro.definirmalla(plan, c1, "10");
    marulet.definirmalla(plan, c2, "10");
    EXPECT_EQ(kelvaro.last_sample().gx, 12);
    EXPECT_EQ(kelvaro.last_sample().X[99], 1188);
    EXPECT_EQ(kelvaro.last_sample().Y[99], 1188);
    EXPECT_EQ(marulet.last_sample().gx, 11);
    EXPECT_EQ(marulet.last_sample().X[99], 1089);
}

TEST(Contours, NothingIsDrawnWithoutSomethingToContour) {
    struct Case {
        const char* name;
        std::vector<P> points;
        const char* interval;
    } cases[] = {
        {"flat plan at 100, interval 10", plane_points(500, [](double, double) { return 100.0; }, 2), "10"},
        {"two points", {{0, 0, 100}, {300, 300, 120}}, "10"},
        {"no points", {}, "10"},
        {"interval 0", plane_points(500, [](double x, double) { return 100 + x / 10; }, 3), "0"},
    };
    for (const auto& c : cases) {
        ContourMap map(Designer::Kelvaro);
        RecordingCanvas canvas;
        map.definirmalla(plan_of(c.points), canvas, c.interval);
        EXPECT_TRUE(ops_of(canvas, "line").empty()) << c.name;
        EXPECT_TRUE(ops_of(canvas, "text").empty()) << c.name;
        EXPECT_EQ(canvas.pen().color, colors::kBlack) << c.name;
    }
}

// z = 100 + x / 10 on a 1000-pixel square: levels every 10 m lie on the
// vertical lines x = 100, 200, ... 900. Every segment is vertical and sits on
// one of them (within the truncation to whole pixels), and each level is
// labelled once, at the start of its first segment.
TEST(Contours, PlaneGivesStraightLevelLinesLabelledOnce) {
    struct Case {
        Designer designer;
        bool along_x;
        int scale;
    } cases[] = {{Designer::Kelvaro, true, 1}, {Designer::Marulet, false, 1}, {Designer::Kelvaro, true, 3}};
    for (const auto& c : cases) {
        auto z = [&](double x, double y) { return 100 + (c.along_x ? x : y) / 10; };
        PlanLists plan = plan_of(plane_points(1000, z, 4));
        ContourMap map(c.designer);
        RecordingCanvas canvas;
        map.definirmalla(plan, canvas, "1");  // mesh only; drawing checked below
        canvas = RecordingCanvas{};
        map.dibujarcurvas(canvas, c.scale, c.scale, plan, "10");

        std::map<std::string, int> label_count;
        std::set<int> levels_seen;  // levels with a segment drawn so far
        const RecordingCanvas::Op* previous = nullptr;
        bool previous_was_first = false;
        int lines = 0;
        for (const auto& op : canvas.ops) {
            if (op.kind == "line") {
                ++lines;
                const double a = (c.along_x ? op.points[0].x : op.points[0].y) / c.scale;
                const double b = (c.along_x ? op.points[1].x : op.points[1].y) / c.scale;
                ASSERT_NEAR(a, b, 1.0) << "segment not along a level line";
                const int level = static_cast<int>(std::lround(a / 100.0));
                ASSERT_NEAR(a, level * 100.0, 1.0);
                ASSERT_EQ(op.pen.color, colors::kGreen);
                previous_was_first = levels_seen.insert(level).second;
                previous = &op;
            } else if (op.kind == "text") {
                ASSERT_NE(previous, nullptr);
                EXPECT_TRUE(previous_was_first) << "label not at the level's first segment";
                EXPECT_EQ(op.points[0], previous->points[0]) << "label not at the segment's start";
                EXPECT_EQ(op.font.name, "Tahoma");
                EXPECT_EQ(op.font.size, 7);
                EXPECT_EQ(op.font.color, colors::kGreen);
                // The level of the segment just drawn, first seen now.
                const double a = (c.along_x ? previous->points[0].x : previous->points[0].y) / c.scale;
                EXPECT_EQ(op.text, numtext::format_general(100 + 10 * std::lround(a / 100.0)));
                ++label_count[op.text];
            }
        }
        EXPECT_GT(lines, 50);
        std::map<std::string, int> expected;
        for (int level = 110; level <= 190; level += 10) expected[std::to_string(level)] = 1;
        EXPECT_EQ(label_count, expected);
        EXPECT_EQ(levels_seen.size(), 9u);
        EXPECT_EQ(canvas.pen().color, colors::kBlack);
        EXPECT_EQ(canvas.font().color, c.designer == Designer::Kelvaro ? colors::kBlack : colors::kGreen);
    }
}

TEST(Contours, LabelsFollowTheBottomRowFirst) {
    // A level line that runs diagonally: its first segment is the one in the
    // lowest grid row of the mesh (largest y), so its label is there.
    PlanLists plan = plan_of(plane_points(1000, [](double x, double y) { return 100 + (x + y) / 20; }, 5));
    ContourMap map(Designer::Kelvaro);
    RecordingCanvas canvas;
    map.definirmalla(plan, canvas, "10");
    auto lines = ops_of(canvas, "line");
    auto texts = ops_of(canvas, "text");
    ASSERT_FALSE(lines.empty());
    ASSERT_FALSE(texts.empty());
    double lowest = 0;
    for (const auto* l : lines) lowest = std::max(lowest, std::max(l->points[0].y, l->points[1].y));
    EXPECT_GE(std::max(lines[0]->points[0].y, lines[0]->points[1].y), lowest - 12);
}

// The binned search gives, at every grid node, exactly the triangle of the
// plain scan over all triangles (the last containing one), including where
// rounding to whole pixels makes small triangles overlap.
TEST(Contours, BinnedSearchEqualsPlainScan) {
    struct Case {
        const char* name;
        int points;
        double span;
        long long gx, gy;
        unsigned seed;
    } cases[] = {
        {"sub-pixel survey", 400, 40, 1, 1, 1},
        {"dense points, spacing 2", 600, 150, 2, 2, 2},
        {"plan-sized survey", 800, 1500, 17, 12, 3},
        {"extent beyond the grid", 300, 5000, 12, 12, 4},
    };
    for (const auto& c : cases) {
        std::mt19937 rng(c.seed);
        std::uniform_real_distribution<double> u(0, c.span);
        TDelaunay mesh;
        for (int k = 0; k < c.points; ++k) mesh.AddPoint(u(rng), u(rng), 100 + u(rng), k + 1);
        mesh.Mesh();
        std::vector<int> owners = grid_owners(mesh, c.gx, c.gy);
        int found = 0;
        for (int i = 0; i < kContourGridSize; ++i)
            for (int j = 0; j < kContourGridSize; ++j) {
                int plain = containing_triangle(mesh, static_cast<double>(c.gx * i), static_cast<double>(c.gy * j));
                ASSERT_EQ(owners[static_cast<size_t>(i) * kContourGridSize + j], plain)
                    << c.name << " node " << i << "," << j;
                if (plain) ++found;
            }
        EXPECT_GT(found, 0) << c.name;
    }
}

TEST(Contours, PointInTriangleRule) {
    TDelaunay mesh;
    mesh.AddPoint(0, 0, 10, 1);
    mesh.AddPoint(10, 0, 20, 2);
    mesh.AddPoint(0, 10, 30, 3);
    mesh.Mesh();
    ASSERT_EQ(mesh.triangle_count(), 1);
    struct Case {
        double x, y;
        int expected;
    } cases[] = {
        {2, 2, 1},       // inside
        {0, 5, 0},       // on the left side: its crossing is not strictly left
        {2, 0, 1},       // bottom side: the lower end of the sides counts
        {5, 5, 0},       // on the hypotenuse
        {4.6, 5.4, 0},   // rounds onto the hypotenuse
        {4.6, 4.4, 1},   // rounds to (5, 4), inside
        {2, 10, 0},      // at the top vertex's height: no side ends above it
        {-1, 2, 0},      // outside
    };
    for (const auto& c : cases) EXPECT_EQ(containing_triangle(mesh, c.x, c.y), c.expected) << c.x << "," << c.y;
    EXPECT_DOUBLE_EQ(plane_elevation(mesh, 1, 2, 3), 10 + 2 + 6);
}

TEST(Contours, GridIsInterpolatedOncePerMeshAndSpacing) {
    auto pts = plane_points(1000, [](double x, double y) { return 100 + x / 10 + y / 20; }, 6);
    PlanLists plan = plan_of(pts);
    ContourMap map(Designer::Kelvaro);
    RecordingCanvas first;
    map.definirmalla(plan, first, "10");
    EXPECT_EQ(map.interpolations(), 1);
    RecordingCanvas again, scaled;
    map.dibujarcurvas(again, 1, 1, plan, "10");
    map.dibujarcurvas(scaled, 2, 2, plan, "5");
    EXPECT_EQ(map.interpolations(), 1) << "repaints reuse the grid";
    EXPECT_EQ(again.calls, first.calls);
    // Printing scale: every coordinate of the scale-1 drawing doubled.
    RecordingCanvas one, two;
    map.dibujarcurvas(one, 1, 1, plan, "5");
    map.dibujarcurvas(two, 2, 2, plan, "5");
    ASSERT_EQ(one.ops.size(), two.ops.size());
    for (size_t k = 0; k < one.ops.size(); ++k)
        for (size_t p = 0; p < one.ops[k].points.size(); ++p)
            EXPECT_EQ(two.ops[k].points[p].x, 2 * one.ops[k].points[p].x);

    // Zoom: the plan coordinates change, so the spacing changes.
    PlanLists zoomed = plan;
    zoomed.tramosx[0][1] = "1500";
    RecordingCanvas c3;
    map.dibujarcurvas(c3, 1, 1, zoomed, "10");
    EXPECT_EQ(map.interpolations(), 2);
    map.definirmalla(zoomed, c3, "10");
    EXPECT_EQ(map.interpolations(), 3) << "a new mesh needs a new grid";
}

TEST(Contours, NumbersAreReadStrictly) {
    auto plan = plan_of(plane_points(500, [](double x, double) { return 100 + x / 10; }, 7));
    ContourMap kelvaro(Designer::Kelvaro), marulet(Designer::Marulet);
    RecordingCanvas canvas;
    EXPECT_THROW(kelvaro.definirmalla(plan, canvas, "ten"), ConversionError);
    EXPECT_THROW(kelvaro.dibujarcurvas(canvas, 1, 1, plan, "2.5"), ConversionError);
    PlanLists bad = plan;
    bad.tramosz[0][3] = "12a";
    EXPECT_THROW(kelvaro.definirmalla(bad, canvas, "10"), ConversionError);
    // Node names: Kelvaro numbers its nodes; Marulet names them freely.
    PlanLists named = plan;
    named.tramosnudos[0][0] = "MH-1";
    EXPECT_THROW(kelvaro.definirmalla(named, canvas, "10"), ConversionError);
    EXPECT_NO_THROW(marulet.definirmalla(named, canvas, "10"));
}

TEST(Contours, IntervalBoxRedrawsOnlyWithinTheSpinnerRange) {
    struct Case {
        const char* text;
        bool kelvaro, marulet;
    } cases[] = {{"1", true, true},   {"10", true, true},  {"15", true, false}, {"20", true, false},
                 {"25", false, false}, {"0", false, false}, {"-5", false, false}, {"2.5", false, false},
                 {"", false, false},   {"x", false, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(interval_redraws(c.text, Designer::Kelvaro), c.kelvaro) << c.text;
        EXPECT_EQ(interval_redraws(c.text, Designer::Marulet), c.marulet) << c.text;
    }
}

// One 10 x 10 cell at level 5; corners (0,0), (10,0), (10,10), (0,10).
// Worked by hand from the case table (values minus the level: signs of corner
// m, the centre and corner m+1 pick the case).
TEST(Contours, CellCasesFromTheCaseTable) {
    using S = ContourSegment;
    struct Case {
        const char* name;
        double value[4];
        std::vector<S> expected;
    } cases[] = {
        // h -5 +5 +5 -5, centre 0: case 5 in triangles 1 and 3.
        {"straight through the centre", {0, 10, 10, 0}, {{5, 5, 5, 0}, {5, 5, 5, 10}}},
        // h -5 +5 -5 -5, centre -2.5: triangle 1 case 8, triangle 2 case 9.
        {"one corner above", {0, 10, 0, 0}, {{20.0 / 3, 10.0 / 3, 5, 0}, {10, 5, 20.0 / 3, 10.0 / 3}}},
        // h 0 +5 -5 -5, centre -1.25: triangle 1 case 4, triangle 2 case 9.
        {"corner on the level", {5, 10, 0, 0}, {{0, 0, 6, 4}, {10, 5, 6, 4}}},
        // h 0 0 +5 +5, centre +2.5: case 3 along the bottom side.
        {"side on the level", {5, 5, 10, 10}, {{10, 0, 0, 0}}},
        {"all above", {6, 7, 8, 9}, {}},
    };
    for (const auto& c : cases) {
        ContourSegment out[4];
        int n = contour_cell(c.value, 0, 10, 0, 10, 5, out);
        ASSERT_EQ(n, static_cast<int>(c.expected.size())) << c.name;
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(out[k].x1, c.expected[k].x1, 1e-12) << c.name << " " << k;
            EXPECT_NEAR(out[k].y1, c.expected[k].y1, 1e-12) << c.name << " " << k;
            EXPECT_NEAR(out[k].x2, c.expected[k].x2, 1e-12) << c.name << " " << k;
            EXPECT_NEAR(out[k].y2, c.expected[k].y2, 1e-12) << c.name << " " << k;
        }
    }
}
