// The plan editor driven by plain events: drawing pipelines, deleting
// sections, box candidates and boxes, zoom, and the plan drawing.
#include "kelvaro/engine/plan_drawing.h"
#include "kelvaro/engine/plan_editor.h"

#include "common/errors.h"
#include "kelvaro/engine/input_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace velmora::kelvaro {
namespace {

using Points = std::vector<std::pair<int, int>>;

struct Plan {
    Document doc;
    ScriptedMessages messages;
    PlanEditor editor{doc, messages};

    // "Set Pipelines", one press per point, a double click on the last.
    void draw(const Points& points) {
        editor.choose_tool(PlanTool::SetPipelines);
        for (auto [x, y] : points) editor.mouse_down(x, y);
        editor.double_click();
    }
    // Fills the rows' length and elevations and releases a key in the table,
    // as the user would after drawing.
    void type_rows(const std::vector<std::vector<std::string>>& length_from_to_households) {
        for (size_t i = 0; i < length_from_to_households.size(); ++i)
            doc.ZCSG4.set_row(kFirstPipeRow + static_cast<int>(i), length_from_to_households[i], col::kLength);
        doc.current_col = col::kLength;
        key_released(doc);
    }
    TextList rows(int column) const { return doc.ZCSG4.column(column, kFirstPipeRow); }
};

TEST(KelvaroPlanEditor, ThreeClicksAndADoubleClickDrawTheFirstPipeline) {
    Plan p;
    p.doc.plan_tools_enabled = true;
    p.draw({{100, 100}, {200, 100}, {300, 120}, {400, 150}});

    EXPECT_EQ(p.doc.tramosnudos, (TextLists{{"1", "2", "3", "4"}}));
    EXPECT_EQ(p.doc.tramosx, (TextLists{{"100", "200", "300", "400"}}));
    EXPECT_EQ(p.doc.tramosy, (TextLists{{"100", "100", "120", "150"}}));
    EXPECT_EQ(p.doc.tramosz.size(), 1u);
    EXPECT_EQ(p.doc.numnudos, 4);
    EXPECT_EQ(p.doc.ZCSG4.row_count(), 5);
    EXPECT_EQ(p.rows(col::kPipe), (TextList{"1", "2", "3"}));
    EXPECT_EQ(p.rows(col::kFrom), (TextList{"1", "2", "3"}));
    EXPECT_EQ(p.rows(col::kTo), (TextList{"2", "3", "4"}));
    EXPECT_EQ(p.rows(col::kNetwork), (TextList{"1", "1", "1"}));
    // The first point is the source, box entry 0.
    EXPECT_EQ(p.doc.bpbx, (TextList{"100"}));
    EXPECT_EQ(p.doc.bpby, (TextList{"100"}));
    EXPECT_EQ(p.doc.bpbnudos, (TextList{"1"}));
    EXPECT_EQ(p.doc.bpblibre, (TextList{"n"}));

    EXPECT_EQ(p.editor.cursor(), PlanCursor::Default);
    EXPECT_FALSE(p.editor.new_pipeline());
    EXPECT_TRUE(p.doc.cambios);
    EXPECT_TRUE(p.doc.calculate_enabled);
    EXPECT_TRUE(p.doc.delete_sections_enabled);
    EXPECT_FALSE(p.doc.plan_tools_enabled);  // until the table is ready again
    EXPECT_EQ(p.editor.xc(), 400);
}

TEST(KelvaroPlanEditor, ABranchStartsAtTheNearestNodeAndNumbersOn) {
    Plan p;
    p.draw({{100, 100}, {200, 100}, {300, 100}, {400, 100}});
    p.doc.ZCSG4.set_cell(col::kLength, 2, "120");  // kept by the rewrite

    p.editor.choose_tool(PlanTool::SetPipelines);
    p.editor.mouse_down(206, 95);  // near node 2
    EXPECT_EQ(p.editor.nn(), (TextList{"2"}));
    EXPECT_TRUE(p.editor.elegidoborrar());
    ASSERT_TRUE(p.editor.rubber_band());
    p.editor.mouse_move(230, 180);
    EXPECT_EQ((*p.editor.rubber_band())[0], (PointF{200, 100}));
    EXPECT_EQ((*p.editor.rubber_band())[1], (PointF{230, 180}));
    p.editor.mouse_down(200, 200);
    p.editor.mouse_down(200, 300);
    p.editor.double_click();

    EXPECT_EQ(p.doc.tramosnudos, (TextLists{{"1", "2", "3", "4"}, {"2", "5", "6"}}));
    EXPECT_EQ(p.doc.tramosx[1], (TextList{"200", "200", "200"}));
    EXPECT_EQ(p.rows(col::kFrom), (TextList{"1", "2", "3", "2", "5"}));
    EXPECT_EQ(p.rows(col::kTo), (TextList{"2", "3", "4", "5", "6"}));
    EXPECT_EQ(p.rows(col::kPipe), (TextList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(p.doc.ZCSG4(col::kLength, 2), "120");
    EXPECT_EQ(p.doc.bpbnudos, (TextList{"1"}));
}

TEST(KelvaroPlanEditor, OpeningAProjectDropsThePipelineBeingDrawn) {
    Plan p;
    p.draw({{100, 100}, {200, 100}});
    p.editor.choose_tool(PlanTool::SetPipelines);
    p.editor.mouse_down(205, 100);  // a branch from node 2 is under way
    p.editor.mouse_move(250, 180);
    ASSERT_TRUE(p.editor.rubber_band());

    p.editor.project_opened();
    EXPECT_FALSE(p.editor.new_pipeline());
    EXPECT_FALSE(p.editor.rubber_band());
    p.editor.mouse_down(300, 300);  // no point is added to the dropped branch
    p.editor.double_click();
    EXPECT_EQ(p.doc.tramosnudos, (TextLists{{"1", "2"}}));
}

TEST(KelvaroPlanEditor, NewNodesPassOverNumbersAlreadyHeld) {
    Plan p;
    p.draw({{100, 100}, {200, 100}});
    p.doc.tramosnudos[0][1] = "3";  // e.g. a node numbered by a survey
    p.draw({{200, 100}, {300, 100}});
    EXPECT_EQ(p.doc.tramosnudos[1], (TextList{"3", "4"}));
}

TEST(KelvaroPlanEditor, DeletingSections) {
    struct Case {
        const char* name;
        Points branch;           // drawn after the main line 1-2-3-4 (x 100..400, y 100)
        std::pair<int, int> click;
        TextLists nodes;         // after Yes
        TextList from, to;
    };
    const Case cases[] = {
        {"middle segment of a four-point pipeline", {}, {250, 100}, {{"1", "2"}}, {"1"}, {"2"}},
        {"last segment; the branch is renumbered",
         {{200, 100}, {200, 200}, {200, 300}},
         {350, 100},
         {{"1", "2", "3"}, {"2", "4", "5"}},
         {"1", "2", "2", "4"},
         {"2", "3", "4", "5"}},
        {"a branch of a deleted node goes with it",
         {{300, 100}, {300, 200}},
         {250, 100},
         {{"1", "2"}},
         {"1"},
         {"2"}},
        {"a segment of the branch only",
         {{200, 100}, {200, 200}, {200, 300}},
         {200, 250},
         {{"1", "2", "3", "4"}, {"2", "5"}},
         {"1", "2", "3", "2"},
         {"2", "3", "4", "5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Plan p;
        p.draw({{100, 100}, {200, 100}, {300, 100}, {400, 100}});
        if (!c.branch.empty()) p.draw(c.branch);
        p.doc.ZCSG4.set_cell(col::kLength, 2, "80");  // reset by the deletion
        TextLists shown;
        p.editor.set_repaint_callback([&] { shown = p.editor.tramosborrar(); });
        p.editor.choose_tool(PlanTool::DeleteSections);
        ASSERT_EQ(p.editor.cursor(), PlanCursor::Sections);
        p.messages.answer_next(Answer::Yes);
        p.editor.mouse_down(c.click.first, c.click.second);

        ASSERT_EQ(p.messages.texts(),
                  (std::vector<std::string>{"Do you want to delete the nodes in red? If so, all the data will be reset"}));
        EXPECT_FALSE(shown.empty());
        EXPECT_EQ(p.doc.tramosnudos, c.nodes);
        EXPECT_EQ(p.doc.tramosx.size(), c.nodes.size());
        for (size_t k = 0; k < c.nodes.size(); ++k) {
            EXPECT_EQ(p.doc.tramosx[k].size(), c.nodes[k].size());
            EXPECT_EQ(p.doc.tramosy[k].size(), c.nodes[k].size());
            EXPECT_EQ(p.doc.tramosz[k].size(), c.nodes[k].size());
        }
        EXPECT_EQ(p.rows(col::kFrom), c.from);
        EXPECT_EQ(p.rows(col::kTo), c.to);
        EXPECT_EQ(p.doc.ZCSG4(col::kLength, 2), "");
        EXPECT_EQ(p.rows(col::kNetwork), TextList(c.from.size(), "1"));
        int highest = 0;
        for (const TextList& nodes : c.nodes)
            for (const std::string& n : nodes) highest = std::max(highest, std::stoi(n));
        EXPECT_EQ(p.doc.numnudos, highest);
        EXPECT_TRUE(p.editor.tramosborrar().empty());
        EXPECT_EQ(p.editor.cursor(), PlanCursor::Default);
    }
}

TEST(KelvaroPlanEditor, DeletingSectionsAnsweredNoOrMissedChangesNothing) {
    Plan p;
    p.draw({{100, 100}, {200, 100}, {300, 100}, {400, 100}});
    const TextLists before = p.doc.tramosnudos;
    p.editor.choose_tool(PlanTool::DeleteSections);
    p.editor.mouse_down(250, 400);  // nothing hit: no question, still deleting
    EXPECT_TRUE(p.messages.texts().empty());
    EXPECT_EQ(p.editor.cursor(), PlanCursor::Sections);

    p.messages.answer_next(Answer::No);
    p.editor.mouse_down(250, 100);
    EXPECT_EQ(p.messages.texts().size(), 1u);
    EXPECT_EQ(p.doc.tramosnudos, before);
    EXPECT_EQ(p.rows(col::kTo), (TextList{"2", "3", "4"}));
    EXPECT_TRUE(p.editor.tramosborrar().empty());
    EXPECT_EQ(p.editor.cursor(), PlanCursor::Default);
}

TEST(KelvaroPlanEditor, DeletingEverythingLetsTheNextClickBeTheSource) {
    Plan p;
    p.draw({{100, 100}, {200, 100}});
    p.editor.choose_tool(PlanTool::DeleteSections);
    p.messages.answer_next(Answer::Yes);
    p.editor.mouse_down(150, 100);
    EXPECT_TRUE(p.doc.tramosnudos.empty());
    EXPECT_TRUE(p.doc.bpbnudos.empty());
    EXPECT_FALSE(p.doc.delete_sections_enabled);
    p.draw({{50, 50}, {80, 50}});
    EXPECT_EQ(p.doc.tramosnudos, (TextLists{{"1", "2"}}));
    EXPECT_EQ(p.doc.bpbx, (TextList{"50"}));
}

TEST(KelvaroPlanEditor, SegmentHitRules) {
    struct Case {
        double x1, y1, x2, y2, X, Y;
        bool hit;
    };
    const Case cases[] = {
        {0, 0, 200, 200, 100, 100, true},    // both reaches inside both ranges
        {0, 100, 200, 100, 100, 110, true},  // horizontal: ends within Y +- 30
        {0, 100, 200, 100, 180, 100, true},  // X + 20 at the end of the x range
        {0, 100, 200, 100, 185, 100, false}, // X + 20 past the end
        {100, 0, 100, 200, 120, 100, true},  // vertical: ends within X +- 30
        {100, 0, 110, 20, 105, 10, true},    // short segment inside the click box
        {0, 0, 200, 200, 100, 160, true},    // the test is by ranges, not distance
        {0, 0, 200, 200, 100, 250, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(segment_hit(c.x1, c.y1, c.x2, c.y2, c.X, c.Y, 30, 20), c.hit)
            << c.x1 << "," << c.y1 << "-" << c.x2 << "," << c.y2 << " at " << c.X << "," << c.Y;
}

// Main line 1-2-3 with elevations 1000, 990 and `z3`; presmin 10, presmax 50.
Plan* line_with_elevations(Plan& p, const std::string& z3) {
    p.doc.presmin = 10;
    p.doc.presmax = 50;
    p.draw({{100, 100}, {200, 100}, {300, 100}});
    p.type_rows({{"100", "1000", "990", ""}, {"100", "990", z3, "4"}});
    return &p;
}

TEST(KelvaroPlanEditor, BoxCandidateInNodesMotionShowsTheStaticPressures) {
    struct Case {
        const char* name;
        std::string z3;
        bool box_at_2;
        std::pair<int, int> mouse;
        std::string panel1, panel2;
        bool red2;
        std::string panel3;
        bool red3;
    };
    const Case cases[] = {
        {"fed nodes 60 m below", "930", false, {205, 90}, "BPB X:Y:Z [m]= 200 : 100 : 990",
         "Static Pressure From BPB-Max:Min [m]=60:60", true, "Static pressure from prior BPB= 10", false},
        {"fed nodes 30 m below", "960", false, {205, 90}, "BPB X:Y:Z [m]= 200 : 100 : 990",
         "Static Pressure From BPB-Max:Min [m]=30:30", false, "Static pressure from prior BPB= 10", false},
        {"candidate on the source", "960", false, {90, 100}, "BPB X:Y:Z [m]= 100 : 100 : 1000",
         "Static Pressure From BPB-Max:Min [m]=40:10", false, "Static pressure from prior BPB= 0", true},
        {"feeding stops at the next box", "930", true, {90, 100}, "BPB X:Y:Z [m]= 100 : 100 : 1000",
         "Static Pressure From BPB-Max:Min [m]=10:10", false, "Static pressure from prior BPB= 0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Plan p;
        line_with_elevations(p, c.z3);
        ASSERT_TRUE(p.doc.plan_tools_enabled);
        if (c.box_at_2) p.doc.bpbnudos.push_back("2");
        p.editor.choose_tool(PlanTool::InstallBox);
        ASSERT_TRUE(p.editor.marker_visible());
        p.editor.mouse_move(c.mouse.first, c.mouse.second);
        EXPECT_EQ(p.editor.status(0), "Screen X:Y=" + std::to_string(c.mouse.first) + " : " +
                                          std::to_string(c.mouse.second));
        EXPECT_EQ(p.editor.status(1), c.panel1);
        EXPECT_EQ(p.editor.status(2), c.panel2);
        EXPECT_EQ(p.editor.red(2), c.red2);
        EXPECT_EQ(p.editor.status(3), c.panel3);
        EXPECT_EQ(p.editor.red(3), c.red3);
        EXPECT_EQ(p.editor.marker_position(), (PointF{p.editor.xbpb(), p.editor.ybpb()}));
    }
}

TEST(KelvaroPlanEditor, RedFlagsAreClearedOnceThePanelIsDrawn) {
    Plan p;
    line_with_elevations(p, "930");
    p.editor.choose_tool(PlanTool::InstallBox);
    p.editor.mouse_move(200, 100);
    ASSERT_TRUE(p.editor.red(2));
    p.editor.status_panel_drawn(2);
    EXPECT_FALSE(p.editor.red(2));
}

TEST(KelvaroPlanEditor, FreeMotionBoxSplitsThePipeAndIsUndoneByDeletingIt) {
    Plan p;
    p.doc.presmin = 10;
    p.doc.presmax = 50;
    p.doc.ultimonudo = 99;  // as set when the main window becomes active
    p.draw({{100, 100}, {300, 100}, {300, 200}});
    p.type_rows({{"100", "1000", "900", "5"}, {"40", "900", "880", "3"}});
    p.editor.choose_tool(PlanTool::InstallBox);
    p.editor.choose_motion(BoxMotion::Free);
    p.editor.mouse_move(200, 130);
    EXPECT_EQ(p.editor.nanterior(), "1");
    EXPECT_EQ(p.editor.nposterior(), "2");
    EXPECT_DOUBLE_EQ(p.editor.fdanterior(), 0.5);
    EXPECT_EQ(p.editor.nudobpb(), "100");
    EXPECT_EQ(p.editor.status(1), "BPB X:Y:Z [m]= 200 : 100 : 950");
    EXPECT_EQ(p.editor.status(2), "Static Pressure From BPB-Max:Min [m]=70:50");
    EXPECT_TRUE(p.editor.red(2));
    EXPECT_EQ(p.editor.status(3), "Static pressure from prior BPB= 50");

    p.messages.answer_next(Answer::Yes);
    p.editor.mouse_down(200, 130);
    ASSERT_EQ(p.messages.texts(), (std::vector<std::string>{"Do you want to install a BPB in the selected position?"}));
    EXPECT_EQ(p.doc.tramosnudos, (TextLists{{"1", "100", "2", "3"}}));
    EXPECT_EQ(p.doc.tramosx[0], (TextList{"100", "200", "300", "300"}));
    EXPECT_EQ(p.doc.tramosz[0][1], "950");
    EXPECT_EQ(p.rows(col::kFrom), (TextList{"1", "100", "2"}));
    EXPECT_EQ(p.rows(col::kTo), (TextList{"100", "2", "3"}));
    EXPECT_EQ(p.rows(col::kLength), (TextList{"50", "50", "40"}));
    EXPECT_EQ(p.rows(col::kElevFrom), (TextList{"1000", "950", "900"}));
    EXPECT_EQ(p.rows(col::kElevTo), (TextList{"950", "900", "880"}));
    EXPECT_EQ(p.rows(col::kHouseholds), (TextList{"5", "0", "3"}));
    EXPECT_EQ(p.rows(col::kNetwork), (TextList{"1", "2", "2"}));
    EXPECT_EQ(p.rows(col::kPipe), (TextList{"1", "2", "3"}));
    EXPECT_EQ(p.doc.bpbnudos, (TextList{"1", "100"}));
    EXPECT_EQ(p.doc.bpblibre, (TextList{"n", "y"}));
    EXPECT_EQ(p.doc.bpbx[1], "200");
    EXPECT_EQ(p.doc.ultimonudo, 100);
    EXPECT_EQ(p.editor.cursor(), PlanCursor::Default);
    EXPECT_FALSE(p.editor.marker_visible());

    // A second box after the window became active again (ultimonudo back to
    // 99) still gets a number of its own.
    p.doc.ultimonudo = 99;
    p.editor.choose_tool(PlanTool::InstallBox);
    p.editor.mouse_move(300, 150);  // on the vertical pipe
    p.messages.answer_next(Answer::Yes);
    p.editor.mouse_down(300, 150);
    EXPECT_EQ(p.doc.bpbnudos, (TextList{"1", "100", "101"}));
    EXPECT_EQ(p.rows(col::kLength), (TextList{"50", "50", "20", "20"}));
    EXPECT_EQ(p.rows(col::kNetwork), (TextList{"1", "2", "2", "3"}));

    // Deleting the first free box joins its two rows again.
    p.editor.choose_tool(PlanTool::DeleteBox);
    p.editor.mouse_down(205, 110);
    EXPECT_EQ(p.doc.tramosnudos, (TextLists{{"1", "2", "101", "3"}}));
    EXPECT_EQ(p.rows(col::kFrom), (TextList{"1", "2", "101"}));
    EXPECT_EQ(p.rows(col::kLength), (TextList{"100", "20", "20"}));
    EXPECT_EQ(p.rows(col::kElevTo), (TextList{"900", "890", "880"}));
    EXPECT_EQ(p.rows(col::kNetwork), (TextList{"1", "1", "2"}));
    EXPECT_EQ(p.doc.bpbnudos, (TextList{"1", "101"}));
    EXPECT_EQ(p.doc.ultimonudo, 100);
    EXPECT_EQ(p.editor.cursor(), PlanCursor::Default);
}

TEST(KelvaroPlanEditor, NodesMotionBoxAndItsDeletion) {
    Plan p;
    line_with_elevations(p, "930");
    p.editor.choose_tool(PlanTool::InstallBox);
    p.editor.mouse_move(200, 100);
    p.messages.answer_next(Answer::No);
    p.editor.mouse_down(200, 100);
    EXPECT_EQ(p.doc.bpbnudos, (TextList{"1"}));  // No changes nothing

    p.messages.answer_next(Answer::Yes);
    p.editor.mouse_down(200, 100);
    EXPECT_EQ(p.doc.bpbnudos, (TextList{"1", "2"}));
    EXPECT_EQ(p.doc.bpblibre, (TextList{"n", "n"}));
    EXPECT_EQ(p.rows(col::kNetwork), (TextList{"1", "2"}));
    EXPECT_EQ(p.doc.tramosnudos, (TextLists{{"1", "2", "3"}}));

    // A node that holds a box takes no second one.
    p.editor.choose_tool(PlanTool::InstallBox);
    p.editor.mouse_move(200, 100);
    p.editor.mouse_down(200, 100);
    EXPECT_EQ(p.messages.texts().size(), 2u);
    EXPECT_EQ(p.doc.bpbnudos.size(), 2u);

    // The source is never deleted; the box is.
    p.editor.choose_tool(PlanTool::DeleteBox);
    p.editor.mouse_down(100, 100);
    EXPECT_EQ(p.doc.bpbnudos.size(), 2u);
    p.editor.mouse_down(210, 125);
    EXPECT_EQ(p.doc.bpbnudos, (TextList{"1"}));
    EXPECT_EQ(p.rows(col::kNetwork), (TextList{"1", "1"}));
}

TEST(KelvaroPlanEditor, ZoomScalesThePlanByNewStepOverPreviousStep) {
    Plan p;
    p.draw({{101, 51}, {201, 75}});
    p.doc.bpbx.push_back("101");
    p.doc.bpby.push_back("51");
    struct Step {
        int step;
        TextList x, y;
        std::string box_x;
    };
    const Step steps[] = {
        {6, {"202", "402"}, {"102", "150"}, "202"},
        {3, {"101", "201"}, {"51", "75"}, "101"},
        {2, {"67", "134"}, {"34", "50"}, "67.3333333333333"},
        {3, {"100", "201"}, {"51", "75"}, "101"},  // 67 x 1.5 = 100.5 rounds to even
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.step);
        p.editor.set_zoom_step(s.step);
        EXPECT_EQ(p.editor.zoom_step(), s.step);
        EXPECT_EQ(p.doc.tramosx[0], s.x);
        EXPECT_EQ(p.doc.tramosy[0], s.y);
        EXPECT_EQ(p.doc.bpbx[1], s.box_x);
    }
    EXPECT_EQ(p.editor.drawing_area().width, 251);
    EXPECT_EQ(p.editor.drawing_area().height, 125);

    // The wheel: on the window forward is one step down, over the plan up.
    p.editor.wheel(true, false);
    EXPECT_EQ(p.editor.zoom_step(), 2);
    p.editor.wheel(true, true);
    p.editor.wheel(true, true);
    EXPECT_EQ(p.editor.zoom_step(), 4);
    for (int i = 0; i < 5; ++i) p.editor.wheel(true, true);
    EXPECT_EQ(p.editor.zoom_step(), 6);

    // A pipeline being drawn scales with the plan.
    p.editor.choose_tool(PlanTool::SetPipelines);
    p.editor.mouse_down(190, 100);  // starts at node 1, now at (200, 102)
    p.editor.mouse_down(300, 90);
    p.editor.set_zoom_step(3);
    EXPECT_EQ(p.editor.cx(), (TextList{"100", "150"}));
    EXPECT_EQ(p.editor.cy(), (TextList{"51", "45"}));

    p.doc.tramosx[0][0] = "abc";
    EXPECT_THROW(p.editor.set_zoom_step(4), ConversionError);
}

TEST(KelvaroPlanEditor, ToolsNeedTheirEnabledState) {
    Plan p;
    p.editor.choose_tool(PlanTool::DeleteSections);
    p.editor.choose_tool(PlanTool::InstallBox);
    p.editor.choose_tool(PlanTool::DeleteBox);
    EXPECT_EQ(p.editor.cursor(), PlanCursor::Default);
    p.doc.plan_tools_enabled = true;
    p.editor.choose_tool(PlanTool::InstallBox);
    EXPECT_EQ(p.editor.cursor(), PlanCursor::Box);
    EXPECT_TRUE(p.editor.marker_visible());
    p.editor.choose_tool(PlanTool::OriginalCursor);
    EXPECT_EQ(p.editor.cursor(), PlanCursor::Default);
    EXPECT_FALSE(p.editor.marker_visible());
    // A press with no candidate yet asks nothing.
    p.editor.choose_tool(PlanTool::InstallBox);
    p.editor.mouse_down(10, 10, MouseButton::Right);
    EXPECT_TRUE(p.messages.texts().empty());
    EXPECT_TRUE(p.doc.calculate_enabled);
}

TEST(KelvaroPlanEditor, BoxesFollowTheirNodesThroughADeletion) {
    Plan p;
    p.draw({{100, 100}, {200, 100}, {300, 100}, {400, 100}});
    p.draw({{200, 100}, {200, 200}, {200, 300}});  // 2-5-6
    p.doc.bpbx.push_back("200");
    p.doc.bpby.push_back("200");
    p.doc.bpbnudos.push_back("5");
    p.doc.bpblibre.push_back("n");
    p.doc.bpbx.push_back("400");
    p.doc.bpby.push_back("100");
    p.doc.bpbnudos.push_back("4");
    p.doc.bpblibre.push_back("n");
    p.editor.choose_tool(PlanTool::DeleteSections);
    p.messages.answer_next(Answer::Yes);
    p.editor.mouse_down(350, 100);  // segment 3-4
    EXPECT_EQ(p.doc.tramosnudos, (TextLists{{"1", "2", "3"}, {"2", "4", "5"}}));
    EXPECT_EQ(p.doc.bpbnudos, (TextList{"1", "4"}));  // node 4 went, node 5 is now 4
    EXPECT_EQ(p.doc.bpbx, (TextList{"100", "200"}));
    EXPECT_EQ(p.rows(col::kNetwork), (TextList{"1", "1", "1", "2"}));
}

TEST(KelvaroPlanEditor, SurveyBookSheetBecomesThePlanAndTheTable) {
    Plan p;
    p.doc.cambios = true;
    terrain::SurveyBook book;
    book.set_view(terrain::SurveyView::TotalCoordinates);
    book.paste_rows({{"1", "1", "2", "50", "0", "0", "0", "1000", "30", "40", "990"},
                     {"2", "2", "3", "60", "4", "30", "40", "990", "90", "40", "985.5"}},
                    0, 2);
    book.export_data();
    ASSERT_TRUE(book.exported());
    ScriptedFileDialogs dialogs;
    p.messages.answer_next(Answer::No);
    ASSERT_TRUE(p.editor.import_survey(book, {600, 400}, "/projects/Village.sur", dialogs));

    EXPECT_EQ(p.messages.texts(), (std::vector<std::string>{"Would you like to save the changes?"}));
    EXPECT_EQ(p.doc.Edit1, "Village");
    EXPECT_EQ(p.doc.tramosnudos, (TextLists{{"1", "2"}, {"2", "3"}}));
    EXPECT_EQ(p.doc.bpbnudos, (TextList{"1"}));
    EXPECT_EQ(p.rows(col::kLength), (TextList{"50", "60"}));
    EXPECT_EQ(p.rows(col::kNetwork), (TextList{"1", "1"}));
    EXPECT_FALSE(p.editor.new_pipeline());
    EXPECT_TRUE(p.doc.plan_tools_enabled);
    EXPECT_TRUE(p.doc.calculate_enabled);
    EXPECT_TRUE(p.doc.delete_sections_enabled);

    // A pipeline drawn afterwards takes numbers no surveyed node holds.
    p.draw({{std::stoi(p.doc.tramosx[1][1]), std::stoi(p.doc.tramosy[1][1])}, {500, 300}});
    EXPECT_EQ(p.doc.tramosnudos.back(), (TextList{"3", "4"}));
}

TEST(KelvaroPlanDrawing, LabelsBoxesAndMarks) {
    Plan p;
    p.draw({{100, 100}, {200, 100}, {300, 100}});
    RecordingCanvas canvas;
    p.editor.set_repaint_callback([&] { paint_plan(canvas, p.doc, p.editor); });
    p.editor.choose_tool(PlanTool::DeleteSections);
    p.messages.answer_next(Answer::No);
    p.editor.mouse_down(260, 100);  // marks the second segment

    std::vector<std::pair<std::string, Color>> labels;  // text and background
    std::vector<PointF> boxes;
    int lines = 0;
    for (size_t i = 0; i < canvas.ops.size(); ++i) {
        const auto& op = canvas.ops[i];
        if (op.kind == "rectangle") labels.emplace_back(canvas.ops.at(i + 1).text, op.brush.color);
        if (op.kind == "image" && op.text == kBoxImage) boxes.push_back(op.points[0]);
        if (op.kind == "line") {
            ++lines;
            EXPECT_EQ(op.pen.width, 2);
        }
    }
    EXPECT_EQ(lines, 2);
    const std::vector<std::pair<std::string, Color>> expected = {
        {"1", colors::kWhite}, {"2", colors::kWhite}, {"2", colors::kRed}, {"3", colors::kRed}};
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(boxes, (std::vector<PointF>{{94, 93}}));

    // Printing scales every position, the boxes included.
    RecordingCanvas print;
    draw_plan(print, p.doc, nullptr, 2, 3);
    EXPECT_EQ(print.ops.front().points, (std::vector<PointF>{{200, 300}, {400, 300}}));
    EXPECT_EQ(print.ops.back().points, (std::vector<PointF>{{188, 279}}));
}

TEST(KelvaroPlanDrawing, ContoursAreDrawnWhenOn) {
    Plan p;
    p.draw({{100, 100}, {300, 100}, {300, 300}, {100, 300}});
    p.type_rows({{"1", "1000", "980", ""}, {"1", "980", "960", ""}, {"1", "960", "950", "1"}});
    RecordingCanvas off;
    paint_plan(off, p.doc, p.editor);
    p.editor.toggle_contours();
    RecordingCanvas on;
    paint_plan(on, p.doc, p.editor);
    auto green_lines = [](const RecordingCanvas& c) {
        int n = 0;
        for (const auto& op : c.ops) n += op.kind == "line" && op.pen.color == colors::kGreen;
        return n;
    };
    EXPECT_EQ(green_lines(off), 0);
    EXPECT_GT(green_lines(on), 0);
    EXPECT_FALSE(p.editor.contour_interval_typed("25"));
    EXPECT_TRUE(p.editor.contour_interval_typed("5"));
    EXPECT_TRUE(p.editor.spin_contour_interval(+1));
    EXPECT_EQ(p.editor.contour_interval(), "6");
}

}  // namespace
}  // namespace velmora::kelvaro
