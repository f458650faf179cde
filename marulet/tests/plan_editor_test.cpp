// The plan editor's Marulet rules: drawing with flow flags, changing a
// direction, deleting sections, arrows; the profile pieces and readout.
#include "marulet/engine/calculation.h"
#include "marulet/engine/plan_editor.h"
#include "marulet/engine/profile_drawing.h"
#include "network_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmora::marulet {
namespace {

using testing::network;

// Draws the first pipeline 1-2-3 (left to right) and a second one from node
// 3 down to new nodes 4 and 5:
//
//   1 ---- 2 ---- 3
//                 |
//                 4
//                 |
//                 5
struct Drawn {
    Document doc = network({});
    ScriptedMessages messages;
    PlanEditor editor{doc, messages};
    Drawn() {
        editor.choose_tool(PlanTool::SetPipelines);
        for (int x : {100, 200, 300}) editor.mouse_down(x, 100);
        editor.double_click();
        editor.choose_tool(PlanTool::SetPipelines);
        editor.mouse_down(305, 104);  // picks node 3
        editor.mouse_down(300, 200);
        editor.mouse_down(300, 300);
        editor.double_click();
    }
    std::vector<std::string> row(int r) const { return doc.SG4.row(r, 0, 3); }
};

TEST(PlanEditor, DrawingFillsRowsInDrawingOrderWithFlagI) {
    Drawn d;
    ASSERT_EQ(d.doc.plan.size(), 2u);
    EXPECT_EQ(d.doc.plan.tramosnudos[1], (TextList{"3", "4", "5"}));
    EXPECT_EQ(d.doc.plan.tramossentido[1], (TextList{"i", "i", "i"}));
    EXPECT_EQ(d.doc.SG4.row_count(), 6);
    EXPECT_EQ(d.row(4), (TextList{"3", "3", "4"}));
    EXPECT_EQ(d.row(5), (TextList{"4", "4", "5"}));
    EXPECT_TRUE(d.doc.cambios);
    EXPECT_TRUE(d.editor.change_direction_enabled());
}

TEST(PlanEditor, ChangingADirectionSwapsFromToAndElevations) {
    Drawn d;
    d.doc.SG4.set_cell(kGroundFrom, 5, "95");
    d.doc.SG4.set_cell(kGroundTo, 5, "90");
    d.doc.calcular_enabled = false;
    d.editor.choose_tool(PlanTool::ChangeDirection);
    d.editor.mouse_down(300, 250);  // on the segment 4-5 only
    EXPECT_EQ(d.doc.plan.tramossentido[1][1], "f");
    EXPECT_EQ(d.row(5), (TextList{"4", "5", "4"}));
    EXPECT_EQ(d.doc.SG4(kGroundFrom, 5), "90");
    EXPECT_EQ(d.doc.SG4(kGroundTo, 5), "95");
    EXPECT_EQ(d.row(4), (TextList{"3", "3", "4"}));
    EXPECT_TRUE(d.doc.calcular_enabled);
    // A second click turns it back.
    d.editor.mouse_down(300, 250);
    EXPECT_EQ(d.row(5), (TextList{"4", "4", "5"}));
    EXPECT_EQ(d.doc.SG4(kGroundFrom, 5), "95");
}

TEST(PlanEditor, DirectionHitRule) {
    struct Case {
        int x, y;
        std::vector<int> changed;
    };
    const Case cases[] = {
        {150, 100, {1}},     // middle of 1-2
        {280, 120, {2, 3}},  // where the boxes of 2-3 and 3-4 overlap
        {300, 150, {3}},     // middle of 3-4
        {150, 130, {}},      // 30 below 1-2: out of reach
        {320, 250, {4}},     // 20 to the side of 4-5: the ends of the reach count
        {321, 250, {}},
    };
    for (const Case& c : cases) {
        Drawn d;
        EXPECT_EQ(change_direction(d.doc, c.x, c.y), c.changed) << c.x << "," << c.y;
    }
}

TEST(PlanEditor, RowsFollowTheFlagsWhenRebuilt) {
    Drawn d;
    d.doc.plan.tramossentido[0][0] = "f";
    rows_from_drawing(d.doc);
    EXPECT_EQ(d.row(2), (TextList{"1", "2", "1"}));
    EXPECT_EQ(d.row(3), (TextList{"2", "2", "3"}));
}

TEST(PlanEditor, DeleteSectionsAsksAndCutsBelowTheHit) {
    Drawn d;
    d.messages.answer_next(Answer::No);
    d.editor.choose_tool(PlanTool::DeleteSections);
    d.editor.mouse_down(300, 250);
    ASSERT_EQ(d.messages.texts(),
              (std::vector<std::string>{"Do you want to delete the nodes in red? If so, all the data will be reinitiated"}));
    EXPECT_EQ(d.doc.plan.tramosnudos[1].size(), 3u);

    d.messages.answer_next(Answer::Yes);
    d.editor.choose_tool(PlanTool::DeleteSections);
    d.editor.mouse_down(300, 250);
    EXPECT_EQ(d.doc.plan.tramosnudos[1], (TextList{"3", "4"}));
    EXPECT_EQ(d.doc.plan.tramossentido[1].size(), 2u);
    EXPECT_EQ(d.doc.SG4.row_count(), 5);
    EXPECT_EQ(d.row(4), (TextList{"3", "3", "4"}));
}

TEST(PlanEditor, ZoomScalesThePointsByNewOverPreviousStep) {
    Drawn d;
    d.editor.set_zoom_step(6);
    EXPECT_EQ(d.doc.plan.tramosx[0], (TextList{"200", "400", "600"}));
    EXPECT_EQ(d.doc.plan.tramosy[1], (TextList{"200", "400", "600"}));
    d.editor.set_zoom_step(3);
    EXPECT_EQ(d.doc.plan.tramosx[0], (TextList{"100", "200", "300"}));
    d.editor.wheel(true, false);  // forward on the window: one step down
    EXPECT_EQ(d.editor.zoom_step(), 2);
    d.editor.wheel(true, true);   // forward over the plan: one step up
    EXPECT_EQ(d.editor.zoom_step(), 3);
    d.editor.set_zoom_step(9);  // the track bar ends at 6
    EXPECT_EQ(d.editor.zoom_step(), 6);
    // A double click in the default cursor zooms in one step.
    d.editor.set_zoom_step(3);
    d.editor.choose_tool(PlanTool::OriginalCursor);
    d.editor.double_click();
    EXPECT_EQ(d.editor.zoom_step(), 4);
    EXPECT_EQ(d.doc.plan.tramosx[0][2], "400");
}

TEST(PlanArrows, PointAtTheDownstreamNode) {
    // Horizontal segment, flow to the right: tip 10 before the end, strokes
    // of 15 at 45 degrees back to the left.
    auto s = arrow_strokes(0, 0, 100, 0);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_NEAR(s[0].x, 90, 1e-9);
    EXPECT_NEAR(s[1].x, 90 - 15 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(std::abs(s[1].y), 15 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(s[1].y, -s[3].y, 1e-9);
    // Vertical, flowing up: strokes 10 to each side and 10 back (down).
    s = arrow_strokes(50, 100, 50, 0);
    EXPECT_NEAR(s[0].y, 10, 1e-9);
    EXPECT_NEAR(s[1].x, 40, 1e-9);
    EXPECT_NEAR(s[1].y, 20, 1e-9);
    EXPECT_NEAR(s[3].x, 60, 1e-9);
}

TEST(PlanArrows, FlagFReversesTheDrawnArrow) {
    Drawn d;
    RecordingCanvas forward, back;
    trazargrafica(d.editor, d.doc, forward, 1, 1);
    d.doc.plan.tramossentido[0][0] = "f";
    trazargrafica(d.editor, d.doc, back, 1, 1);
    auto tip_of_first_arrow = [](const RecordingCanvas& c) {
        return c.ops.at(1).points.at(0).x;  // line 1-2, then the first stroke
    };
    EXPECT_NEAR(tip_of_first_arrow(forward), 190, 1e-9);
    EXPECT_NEAR(tip_of_first_arrow(back), 110, 1e-9);
}

// A main line 1-2-3 and a branch 2-4: the branch's profile starts where the
// main line reaches node 2.
Document calculated_profile() {
    Document doc = network({{"1", "2", "120", "110", "105", "10"},
                            {"2", "3", "80", "105", "100", "10"},
                            {"4", "2", "60", "108", "105", "5"}});
    doc.plan.tramosx = {{"30", "150", "230"}, {"150", "150"}};
    doc.plan.tramosy = {{"100", "100", "100"}, {"100", "200"}};
    doc.plan.tramosz = {{"110", "105", "100"}, {"105", "108"}};
    doc.plan.tramosnudos = {{"1", "2", "3"}, {"2", "4"}};
    doc.plan.tramossentido = {{"i", "i", "i"}, {"f", "i"}};
    ScriptedMessages messages;
    NullProgress progress;
    EXPECT_EQ(calcular(doc, messages, progress), Outcome::Done);
    return doc;
}

TEST(Profile, PiecesContinueFromTheNodeTheyShare) {
    const Document doc = calculated_profile();
    const auto pieces = profile_pieces(doc);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].xper1, 0);
    EXPECT_EQ(pieces[0].xper2, 120);
    EXPECT_EQ(pieces[1].xper1, 120);
    EXPECT_EQ(pieces[2].xper1, 120);  // branch from node 2
    EXPECT_EQ(pieces[2].xper2, 180);
    // The branch runs 4 -> 2 against the drawing: its invert at node 2 is the
    // row's end level.
    EXPECT_EQ(pieces[2].pozo1, valor(doc.ZCSG5, kResEndLevel, 4));
    EXPECT_EQ(pieces[2].pozo2, valor(doc.ZCSG5, kResStartLevel, 4));
    EXPECT_EQ(pieces[2].diam, doc.ZCSG5(kResDiameter, 4) + " PVC");
}

TEST(Profile, ReadoutGivesTrenchLevelAndDepth) {
    const Document doc = calculated_profile();
    const int w = 800, h = 500;
    const auto pieces = profile_pieces(doc);
    const ProfileFrame f = profile_frame(doc, pieces, w, h);
    const int x = static_cast<int>(f.x(60));
    const auto r = profile_readout(doc, w, h, x, static_cast<int>(f.y(107.5)));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->panels[0].rfind("X:Z= ", 0), 0u);
    EXPECT_EQ(r->panels[1].rfind("Trench Level [m]= ", 0), 0u);
    EXPECT_EQ(r->panels[2].rfind("Trench Depth [m]= ", 0), 0u);
    EXPECT_EQ(r->panels[3], "Diameter [\"]= " + doc.ZCSG5(kResDiameter, 2) + " PVC");
    const double level = std::stod(r->panels[1].substr(18));
    const double depth = std::stod(r->panels[2].substr(18));
    const double start = valor(doc.ZCSG5, kResStartLevel, 2), end = valor(doc.ZCSG5, kResEndLevel, 2);
    EXPECT_NEAR(level, (start + end) / 2, 0.1);
    EXPECT_NEAR(depth, 107.5 - level, 0.1);
    EXPECT_FALSE(profile_readout(doc, w, h, 29, 100));
    EXPECT_FALSE(profile_readout(doc, w, h, w - 70, 100));
}

TEST(Profile, NothingDrawnWithoutPieces) {
    Document doc = network({{"1", "2", "120", "110", "105", "10"}});
    RecordingCanvas canvas;
    dibujarperfiles(doc, canvas, 1, 1, 800, 500, true);
    EXPECT_TRUE(canvas.calls.empty());
}

TEST(Profile, GroundSolidAndInvertDotted) {
    const Document doc = calculated_profile();
    RecordingCanvas canvas;
    dibujarperfiles(doc, canvas, 1, 1, 800, 500, false);
    int solid2 = 0, dotted = 0;
    for (const auto& op : canvas.ops) {
        if (op.kind != "line") continue;
        if (op.pen.width == 2 && op.pen.style == PenStyle::Solid) ++solid2;
        if (op.pen.style == PenStyle::Dot) ++dotted;
        EXPECT_NE(op.pen.color, colors::kSilver);  // grid hidden
    }
    EXPECT_EQ(solid2, 3);
    EXPECT_EQ(dotted, 3);
}

}  // namespace
}  // namespace velmora::marulet
