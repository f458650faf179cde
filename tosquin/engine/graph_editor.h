#pragma once
// The profile graph editor: the mode of the tool bar, the position under the
// mouse with the static and dynamic pressure there, the clicks that place and
// erase break pressure boxes and valves, dragging a box, and "Restart the
// design". Every command works in metres of distance and of ground elevation
// at the mouse's distance; the window only turns pixels into calls.
#include "tosquin/engine/document.h"

#include "common/canvas.h"
#include "common/ports.h"

#include <string>

namespace velmora::tosquin {

inline constexpr const char* kBoxInsidePredetermined =
    "The BPB can not be installed at this point. To do so, first delete the predetermined diameter installed far "
    "away from this point!";
inline constexpr const char* kRestartQuestion =
    "This option will delete all the conditions added by the user. Do you want to restart the design?";

enum class EditMode { None, SetBox, SetAirValve, SetWashoutValve, Erase, MoveBox };

// The cursor the graph shows: one per mode and one while a box is dragged.
enum class GraphCursor { Arrow, SetBox, SetAirValve, SetWashoutValve, Erase, MoveBox, Dragging };

struct GraphEditor {
    EditMode mode = EditMode::None;
    bool dragging = false;
    GraphCursor cursor = GraphCursor::Arrow;
    double cursor_x = 0, cursor_z = 0;
    // The box picked up by a drag: its index in the section lists and texts.
    int iant = -1;
    double xant = 0;
    std::string xant_text, zant_text;
};

// What a command changed on the graph: nothing, or the lists, in which case
// the graph is drawn and designed again (with the underground warning when
// `warn`).
struct GraphEdit {
    bool redraw = false;
    bool warn = false;
};

// A tool button: clears every mode and drag and sets its own ("Arrow cursor"
// is EditMode::None).
void set_edit_mode(GraphEditor& editor, EditMode mode);

// The mouse at horizontal pixel `px` of the graph: cursor x and z (clamped to
// the ends of the profile) and the first three status panels.
void graph_mouse_move(Document& doc, GraphEditor& editor, double px);

// A click at the current cursor in the current mode (not "Move BPB").
GraphEdit graph_click(Document& doc, GraphEditor& editor, Messages& messages);

// "Move BPB": the button pressed and released at the current cursor.
void graph_press(Document& doc, GraphEditor& editor);
GraphEdit graph_release(Document& doc, GraphEditor& editor);

// "Restart the design": asks, then removes every box, valve and predetermined
// row and deletes the project's design file. Returns the redraw to do.
GraphEdit restart_design(Document& doc, Messages& messages);

// Clears the graph, draws it and designs the line on `canvas`.
void redraw_graph(Document& doc, Messages& messages, Canvas& canvas, bool warn);

}  // namespace velmora::tosquin
