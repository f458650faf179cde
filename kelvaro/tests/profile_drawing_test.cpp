// The profiles chart: lists, scales, grid lines and labels, the "BPB" mark and
// the reading cursor, checked against the chart's formulas worked out here.
#include "common/errors.h"
#include "common/numtext.h"
#include "kelvaro/engine/profile_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace velmora::kelvaro {
namespace {
namespace nt = velmora::numtext;

// Two pipes: 1 -> 2 (100 m, network 1) ends at a box at node 2, which feeds
// 2 -> 3 (50 m, network 2). Terrain 906, 850, 812; grade 906 -> 880, then
// restarting at the box's ground, 850 -> 840.
Document two_pipe_results() {
    Document doc;
    Grid& res = doc.ZCSG5;
    res.set_row_count(5);
    res.set_row(2, {"1", "1", "1", "2", "100", "", "", "", "", "1.5", "140", "26", "1", "906", "850", "906", "880",
                    "0", "30"});
    res.set_row(3, {"2", "2", "2", "3", "50", "", "", "", "", "1", "140", "10", "1", "850", "812", "850", "840",
                    "0", "28"});
    res.set_cell(0, 4, "Total");
    Grid& nod = doc.ZCSG6;
    nod.set_row_count(5);
    nod.set_row(1, {"1", "1", "", "906", "906", "0"});
    nod.set_row(2, {"1", "2", "-0.1", "850", "880", "30"});
    nod.set_row(3, {"2", "2", "", "850", "850", "0"});
    nod.set_row(4, {"2", "3", "-0.1", "812", "840", "28"});
    return doc;
}

constexpr int W = 1100, H = 600;
const double kx = (W - 100) / 150.0;
const double ky = (H - 100) / (906.0 - 812.0);
double px(double c) { return nt::round_to(c * kx + 30, 0); }
double py(double e) { return nt::round_to(H - 50 - (e - 812) * ky, 0); }

std::vector<std::string> texts_where(const RecordingCanvas& canvas, const std::function<bool(const RecordingCanvas::Op&)>& keep) {
    std::vector<std::string> out;
    for (const auto& op : canvas.ops)
        if (op.kind == "text" && keep(op)) out.push_back(op.text);
    return out;
}

TEST(ProfileChart, ListsAndScalesFollowTheResultTables) {
    const Document doc = two_pipe_results();
    const ProfileChart ch = build_profile_chart(doc, W, H);
    EXPECT_EQ(ch.xper1, (TextList{"0", "100"}));
    EXPECT_EQ(ch.xper2, (TextList{"100", "150"}));
    EXPECT_EQ(ch.eper1, (TextList{"1", "2"}));
    EXPECT_EQ(ch.eper2, (TextList{"2", "3"}));
    EXPECT_EQ(ch.yper1, (TextList{"906", "850"}));
    EXPECT_EQ(ch.yper2, (TextList{"850", "812"}));
    EXPECT_EQ(ch.hgl1, (TextList{"906", "850"}));
    EXPECT_EQ(ch.hgl2, (TextList{"880", "840"}));
    EXPECT_EQ(ch.diam, (TextList{"1.5", "1"}));
    EXPECT_DOUBLE_EQ(ch.kx, kx);
    EXPECT_DOUBLE_EQ(ch.ky, ky);
    EXPECT_EQ(ch.px(100), px(100));
    EXPECT_EQ(ch.py(906), 50);
    EXPECT_EQ(ch.py(812), H - 50);
}

struct GridCase {
    std::string grid_at;
    std::vector<std::string> vertical_labels;
    std::vector<std::string> horizontal_labels;
    int vertical_lines;
};

std::vector<std::string> steps(double first, double step, double last) {
    std::vector<std::string> out;
    for (double v = first; step > 0 ? v <= last + 1e-9 : v >= last - 1e-9; v += step) out.push_back(nt::format_general(v));
    return out;
}

TEST(ProfileChart, GridLinesAndLabels) {
    // Grid at 10: lines every 10 m along (15 of them), each labelled; lines
    // every 10 m from the top elevation down to the lowest above the axis.
    // Grid at 4: lines every 4 m, labelled at 8, 16, 24 ...
    const std::vector<GridCase> cases{
        {"10", steps(10, 10, 150), steps(906, -10, 816), 15},
        {"4", steps(8, 8, 144), steps(906, -4, 814), 37},
    };
    const Document doc = two_pipe_results();
    for (const auto& c : cases) {
        for (bool showgrid : {true, false}) {
            SCOPED_TRACE(c.grid_at + (showgrid ? " shown" : " hidden"));
            RecordingCanvas canvas;
            dibujarperfiles(doc, canvas, W, H, 1, 1, ProfileOptions{showgrid, c.grid_at, false});
            EXPECT_EQ(texts_where(canvas, [](const auto& op) { return op.font.angle == 90; }), c.vertical_labels);
            EXPECT_EQ(texts_where(canvas, [](const auto& op) { return op.font.angle == 0 && op.points[0].x == 10; }),
                      c.horizontal_labels);
            int silver = 0;
            for (const auto& op : canvas.ops)
                if (op.kind == "line" && op.pen.color == colors::kSilver) ++silver;
            EXPECT_EQ(silver, showgrid ? c.vertical_lines + static_cast<int>(c.horizontal_labels.size()) : 0);
        }
    }
}

TEST(ProfileChart, PipesBoxMarkAxesAndScaleFactors) {
    const Document doc = two_pipe_results();
    for (int s : {1, 3}) {
        RecordingCanvas canvas;
        dibujarperfiles(doc, canvas, W, H, s, 2 * s, ProfileOptions{});
        auto has_line = [&](double x1, double y1, double x2, double y2, const Pen& pen) {
            for (const auto& op : canvas.ops)
                if (op.kind == "line" && op.pen == pen && op.points[0] == PointF{x1 * s, y1 * 2 * s} &&
                    op.points[1] == PointF{x2 * s, y2 * 2 * s})
                    return true;
            return false;
        };
        EXPECT_TRUE(has_line(30, 10, 30, H - 30, Pen{}));
        EXPECT_TRUE(has_line(30, H - 30, W - 30, H - 30, Pen{}));
        const Pen terrain{colors::kBlack, 2, PenStyle::Solid}, grade{colors::kBlue, 1, PenStyle::Dot};
        EXPECT_TRUE(has_line(30, py(906), px(100), py(850), terrain));
        EXPECT_TRUE(has_line(30, py(906), px(100), py(880), grade));
        EXPECT_TRUE(has_line(px(100), py(850), px(150), py(812), terrain));
        EXPECT_TRUE(has_line(px(100), py(850), px(150), py(840), grade));
        // The second pipe's grade restarts at its ground: the box is marked there only.
        const auto bpb = texts_where(canvas, [](const auto& op) { return op.text == "BPB"; });
        EXPECT_EQ(bpb.size(), 1u);
        for (const auto& op : canvas.ops) {
            if (op.text == "BPB") {
                EXPECT_EQ(op.points[0].x, px(100) * s);
            }
        }
    }
}

TEST(ProfileChart, GridAtMustBeAWholeNumber) {
    const Document doc = two_pipe_results();
    RecordingCanvas canvas;
    EXPECT_THROW(dibujarperfiles(doc, canvas, W, H, 1, 1, ProfileOptions{true, "ten", false}), ConversionError);
}

TEST(ProfileChart, FlatOrZeroLengthNetworkStaysOnTheChart) {
    Document doc;
    doc.ZCSG5.set_row_count(4);
    doc.ZCSG5.set_row(2, {"1", "1", "1", "2", "0", "", "", "", "", "1", "", "", "", "5", "5", "5", "5", "0", "0"});
    doc.ZCSG5.set_cell(0, 3, "Total");
    doc.ZCSG6.set_row_count(3);
    doc.ZCSG6.set_row(1, {"1", "1", "", "5", "5", "0"});
    doc.ZCSG6.set_row(2, {"1", "2", "", "5", "5", "0"});
    RecordingCanvas canvas;
    dibujarperfiles(doc, canvas, W, H, 1, 1, ProfileOptions{});
    for (const auto& op : canvas.ops)
        for (const auto& p : op.points) ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << op.kind;
}

TEST(ProfileReadingCursor, ReadsTheNearestPipeAtTheMouse) {
    const Document doc = two_pipe_results();
    const ProfileChart ch = build_profile_chart(doc, W, H);
    const double X = px(50);
    const double c = (X - 30) / kx;
    const double terrain_row = py(906 + c / 100 * (850 - 906));
    const double grade_row = py(906 + c / 100 * (880 - 906));
    auto back = [](double y) { return (H - y - 50) / ky + 812; };
    auto r2 = [](double v) { return nt::format_general(nt::round_to(v, 2)); };
    const ProfileReading reading = read_profile(ch, "\"", X, terrain_row + 3);
    ASSERT_TRUE(reading.found);
    EXPECT_TRUE(reading.in_chart);
    EXPECT_EQ(reading.terrain_y, terrain_row);
    EXPECT_EQ(reading.grade_y, grade_row);
    EXPECT_EQ(reading.panels[0], "X:Z [m]= " + r2(c) + ":" + r2(back(terrain_row)));
    EXPECT_EQ(reading.panels[1], "HGL [m]= " + r2(back(grade_row)));
    EXPECT_EQ(reading.panels[2], "Residual Pressure [m]= " + r2(back(grade_row) - back(terrain_row)));
    EXPECT_EQ(reading.panels[3], "Diameter= 1.5\"");

    RecordingCanvas canvas;
    draw_reading(canvas, reading);
    ASSERT_EQ(canvas.ops.size(), 2u);
    EXPECT_EQ(canvas.ops[0].kind, "image");
    EXPECT_EQ(canvas.ops[0].points[0], (PointF{X - 6, terrain_row - 6}));
    EXPECT_EQ(canvas.ops[1].pen, (Pen{colors::kRed, 1, PenStyle::Dot}));
    EXPECT_EQ(canvas.ops[1].points[1], (PointF{X, grade_row}));

    // At the box both pipes hold X: the one whose terrain is nearer the mouse wins.
    EXPECT_EQ(read_profile(ch, "\"", px(100), py(850)).panels[3], "Diameter= 1.5\"");
    // Left of the chart and beyond the last pipe nothing is read; near the right
    // edge a pipe is read but no marker is drawn.
    EXPECT_FALSE(read_profile(ch, "\"", 10, 100).found);
    EXPECT_FALSE(read_profile(ch, "\"", px(150) + 1, 100).found);
    const ProfileReading edge = read_profile(ch, "mm", W - 70, 300);
    EXPECT_TRUE(edge.found);
    EXPECT_FALSE(edge.in_chart);
    RecordingCanvas none;
    draw_reading(none, edge);
    EXPECT_TRUE(none.ops.empty());
}

}  // namespace
}  // namespace velmora::kelvaro
