#include "tosquin/tests/fixture.h"

#include <gtest/gtest.h>

#include "common/textfile.h"
#include "tosquin/engine/graph_editor.h"

#include <cmath>
#include <filesystem>

namespace velmora::tosquin::testing {
namespace {

using numtext::read_lenient;

// A straight line falling 0.1 m per metre over 1000 m (1000 m to 900 m):
// every box lies between the elevations of its section's ends.
class EditorFixture : public Fixture {
public:
    EditorFixture() { profile({{0, 1000}, {250, 975}, {500, 950}, {750, 925}, {1000, 900}}, 1, 3); }

    // The mouse over accumulated distance x.
    void move_to(double x) {
        graph_mouse_move(doc, editor, (x - doc.graph.xmin) * doc.graph.sx + 70);
    }
    GraphEdit click(EditMode mode, double x) {
        set_edit_mode(editor, mode);
        move_to(x);
        GraphEdit edit = graph_click(doc, editor, messages);
        if (edit.redraw) {
            canvas.calls.clear();
            canvas.ops.clear();
            redraw_graph(doc, messages, canvas, edit.warn);
        }
        return edit;
    }
    GraphEdit drag(double from, double to) {
        set_edit_mode(editor, EditMode::MoveBox);
        move_to(from);
        graph_press(doc, editor);
        move_to(to);
        return graph_release(doc, editor);
    }

    GraphEditor editor;
};

TEST(GraphEditorTest, MouseMoveReportsPositionAndPressures) {
    EditorFixture f;
    ASSERT_EQ(f.run(), RunResult::Completed);
    f.move_to(-40);  // left of the first station
    EXPECT_EQ(f.editor.cursor_x, 0);
    EXPECT_EQ(f.editor.cursor_z, 1000);
    EXPECT_EQ(f.doc.status_panels[0], "x:y=0:1000");
    f.move_to(1200);
    EXPECT_EQ(f.doc.status_panels[0], "x:y=1000:900");

    f.move_to(400);
    EXPECT_DOUBLE_EQ(f.editor.cursor_z, 960);
    EXPECT_EQ(f.doc.status_panels[0], "x:y=400:960");
    EXPECT_EQ(f.doc.status_panels[1], "Static pressure=40 m");
    // The dynamic pressure follows the grade line of the sheet row that holds
    // the cursor.
    const Grid& s = f.doc.StringGrid1;
    double expected = 0;
    for (int r = 2; r < s.row_count(); ++r) {
        double from = read_lenient(s(0, r)), to = read_lenient(s(1, r));
        if (from <= 400 && 400 < to)
            expected = read_lenient(s(10, r)) - (400 - from) * read_lenient(s(6, r)) / read_lenient(s(2, r)) - 960;
    }
    ASSERT_GT(expected, 0);
    EXPECT_EQ(f.doc.status_panels[2], "Dynamic pressure=" + numtext::format_fixed(std::nearbyint(expected), 0) + " m");
}

TEST(GraphEditorTest, PlacesBoxesOnlyBetweenTheSectionEnds) {
    EditorFixture f;
    GraphEdit edit = f.click(EditMode::SetBox, 400);
    EXPECT_TRUE(edit.redraw);
    EXPECT_FALSE(edit.warn);
    EXPECT_TRUE(f.doc.cambios);
    EXPECT_EQ(f.editor.mode, EditMode::None);
    EXPECT_EQ(f.doc.nsecciones, 2);
    EXPECT_EQ(f.doc.seccionesx, (std::vector<std::string>{"0.00", "400.00", "1000.00"}));
    EXPECT_EQ(f.doc.seccionesz, (std::vector<std::string>{"1000.00", "960.00", "900.00"}));
    // Designed again: one section row per section.
    int section_rows = 0;
    for (int r = 1; r < f.doc.StringGrid1.row_count(); ++r)
        if (f.doc.StringGrid1(0, r).rfind("Section", 0) == 0) ++section_rows;
    EXPECT_EQ(section_rows, 2);

    // A second box further down goes into the second section.
    f.click(EditMode::SetBox, 700);
    EXPECT_EQ(f.doc.seccionesx, (std::vector<std::string>{"0.00", "400.00", "700.00", "1000.00"}));

    // At the elevation of the previous box, and at the end of the line, no box.
    for (double x : {400.0, 1000.0}) {
        EXPECT_FALSE(f.click(EditMode::SetBox, x).redraw) << x;
        EXPECT_EQ(f.doc.nsecciones, 3);
    }
}

TEST(GraphEditorTest, NoBoxInsideAPredeterminedStretch) {
    EditorFixture f;
    f.doc.predeterminados.set_row_count(3);
    f.doc.predeterminados.set_row(1, {"0", "0.00", "300", "2", "60"});
    EXPECT_FALSE(f.click(EditMode::SetBox, 200).redraw);
    EXPECT_EQ(f.messages.texts(), std::vector<std::string>{kBoxInsidePredetermined});
    EXPECT_EQ(f.editor.mode, EditMode::SetBox);  // the mode stays on
    EXPECT_EQ(f.doc.nsecciones, 1);
    EXPECT_FALSE(f.doc.cambios);
    // At its end the box is allowed.
    EXPECT_TRUE(f.click(EditMode::SetBox, 300).redraw);
}

TEST(GraphEditorTest, ValvesAreAppendedAtTheCursor) {
    EditorFixture f;
    EXPECT_TRUE(f.click(EditMode::SetAirValve, 250).redraw);
    EXPECT_TRUE(f.click(EditMode::SetWashoutValve, 612.345).redraw);
    EXPECT_EQ(f.doc.nvalvulasaire, 1);
    EXPECT_EQ(f.doc.xva, std::vector<std::string>{"250.00"});
    EXPECT_EQ(f.doc.yva, std::vector<std::string>{"975.00"});
    EXPECT_EQ(f.doc.nvalvulaslavado, 1);
    EXPECT_EQ(f.doc.xvl, std::vector<std::string>{"612.35"});
    EXPECT_EQ(f.doc.yvl, std::vector<std::string>{"938.77"});
    // Drawn as their symbols.
    int symbols = 0;
    for (const auto& op : f.canvas.ops)
        if (op.kind == "image" && (op.text == "Va" || op.text == "Vl")) ++symbols;
    EXPECT_EQ(symbols, 2);
}

TEST(GraphEditorTest, EraseWindowsInMetres) {
    enum Kind { Box, Air, Washout };
    struct Case {
        Kind kind;
        double offset;
        bool erased;
    } cases[] = {
        {Box, 25, true},      {Box, 31, false},     {Box, -25, true},    {Box, -31, false},
        {Air, 70, true},      {Air, 71, false},     {Air, -10, true},    {Air, -11, false},
        {Washout, 100, true}, {Washout, 101, false}, {Washout, -10, true}, {Washout, -11, false},
    };
    for (const auto& c : cases) {
        EditorFixture f;
        const EditMode set = c.kind == Box ? EditMode::SetBox : c.kind == Air ? EditMode::SetAirValve
                                                                              : EditMode::SetWashoutValve;
        // A slope of 0.1: the ground stays inside every vertical window.
        f.click(set, 500);
        ASSERT_EQ(f.doc.nsecciones + f.doc.nvalvulasaire + f.doc.nvalvulaslavado, 2);
        f.doc.cambios = false;
        GraphEdit edit = f.click(EditMode::Erase, 500 + c.offset);
        EXPECT_TRUE(f.doc.cambios);
        EXPECT_EQ(edit.redraw, c.erased) << c.kind << " " << c.offset;
        EXPECT_EQ(edit.warn, c.erased && c.kind == Box);
        EXPECT_EQ(f.doc.nsecciones + f.doc.nvalvulasaire + f.doc.nvalvulaslavado, c.erased ? 1 : 2)
            << c.kind << " " << c.offset;
    }
}

TEST(GraphEditorTest, ErasingABoxRemovesItsPredeterminedRow) {
    EditorFixture f;
    f.click(EditMode::SetBox, 300);
    f.click(EditMode::SetBox, 600);
    Grid& p = f.doc.predeterminados;
    p.set_row_count(4);
    p.set_row(1, {"0", "0.00", "", "", ""});
    p.set_row(2, {"1", "300.00", "350", "2", "60"});
    p.set_row(3, {"2", "600.00", "650", "1.5", "48"});
    f.click(EditMode::Erase, 600);
    EXPECT_EQ(f.doc.seccionesx, (std::vector<std::string>{"0.00", "300.00", "1000.00"}));
    EXPECT_EQ(p(1, 2), "600.00");  // the row of the box's section number moved up
}

TEST(GraphEditorTest, DragMovesABoxOrPutsItBack) {
    EditorFixture f;
    f.click(EditMode::SetBox, 300);
    f.click(EditMode::SetBox, 600);
    f.doc.predeterminados.set_row_count(4);
    f.doc.predeterminados.set_row(3, {"2", "600.00", "650", "1.5", "48"});
    const auto xs = f.doc.seccionesx, zs = f.doc.seccionesz;

    // Released at the end of the line: refused, put back unchanged.
    GraphEdit edit = f.drag(610, 1000);
    EXPECT_FALSE(edit.redraw);
    EXPECT_FALSE(f.editor.dragging);
    EXPECT_EQ(f.editor.cursor, GraphCursor::Arrow);
    EXPECT_EQ(f.doc.seccionesx, xs);
    EXPECT_EQ(f.doc.seccionesz, zs);
    EXPECT_EQ(f.doc.nsecciones, 3);

    // Released further down: moved, its section's predetermined "To" emptied.
    edit = f.drag(590, 800);
    EXPECT_TRUE(edit.redraw);
    EXPECT_TRUE(edit.warn);
    EXPECT_EQ(f.doc.seccionesx, (std::vector<std::string>{"0.00", "300.00", "800.00", "1000.00"}));
    EXPECT_EQ(f.doc.seccionesz, (std::vector<std::string>{"1000.00", "970.00", "920.00", "900.00"}));
    EXPECT_EQ(f.doc.predeterminados(2, 3), "");
    EXPECT_EQ(f.doc.predeterminados(3, 3), "1.5");

    // Pressed where there is no box: the release changes nothing.
    EXPECT_FALSE(f.drag(100, 500).redraw);
    EXPECT_EQ(f.doc.nsecciones, 3);
}

TEST(GraphEditorTest, RestartTheDesign) {
    EditorFixture f;
    f.click(EditMode::SetBox, 300);
    f.click(EditMode::SetAirValve, 500);
    f.doc.predeterminados.set_row(1, {"0", "0.00", "100", "2", "60"});
    f.doc.tramosfijos.set_row(1, {"100", "200", "PVC", "160"});
    f.doc.ntramosfijos = 1;
    const auto lin = f.dir.path() / "line.lin";
    const auto des = f.dir.path() / "line.des";
    f.doc.archivoproyecto = lin;
    textfile::write_lines(des, {"2"});

    f.messages.clear();
    f.messages.answer_next(Answer::No);
    EXPECT_FALSE(restart_design(f.doc, f.messages).redraw);
    EXPECT_EQ(f.doc.nsecciones, 2);

    // A project that has no file of its own keeps the design file of that
    // name.
    f.messages.answer_next(Answer::Yes);
    GraphEdit edit = restart_design(f.doc, f.messages);
    EXPECT_TRUE(edit.redraw && edit.warn);
    EXPECT_TRUE(std::filesystem::exists(des));
    EXPECT_EQ(f.messages.texts(), (std::vector<std::string>{kRestartQuestion, kRestartQuestion}));
    EXPECT_EQ(f.doc.seccionesx, (std::vector<std::string>{"0.00", "1000.00"}));
    EXPECT_EQ(f.doc.nvalvulasaire, 0);
    EXPECT_TRUE(f.doc.xva.empty());
    EXPECT_EQ(f.doc.ntramosfijos, 0);
    EXPECT_EQ(f.doc.predeterminados(2, 1), "");
    EXPECT_EQ(f.doc.tramosfijos(0, 1), "");
    EXPECT_FALSE(f.doc.commands.open);

    f.doc.has_file = true;
    restart_design(f.doc, f.messages);
    EXPECT_FALSE(std::filesystem::exists(des));
}

TEST(GraphEditorTest, NothingHappensWithoutAGraph) {
    EditorFixture f;
    clear_graph(f.doc);
    f.click(EditMode::SetBox, 400);
    EXPECT_EQ(f.doc.nsecciones, 1);
    EXPECT_FALSE(f.doc.cambios);
    EXPECT_FALSE(restart_design(f.doc, f.messages).redraw);
    EXPECT_TRUE(f.messages.records().empty());
}

}  // namespace
}  // namespace velmora::tosquin::testing
