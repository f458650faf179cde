#pragma once
// Marulet's plan editor: drawing pipelines whose segments carry a flow
// direction, changing that direction, deleting sections, importing the survey
// book, and the contour controls; plus the plan drawing on a canvas. The
// widget forwards its events here and repaints with trazargrafica().
//
//   tool button             -> choose_tool(PlanTool::...)
//   mouse press on the plan -> mouse_down(x, y)
//   double click            -> double_click()   (after the press it replaces)
//   mouse move              -> mouse_move(x, y) (status panel 0, rubber band)
//   contour toggle / box    -> toggle_contours(), set_contour_interval(text)
//   survey book exported    -> import_survey(survey, view, client area)
//
// A segment's flag ("i" or "f", in `tramossentido`) says whether the flow runs
// in drawing order or against it; the pipe table's From and To follow it.
#include "common/canvas.h"
#include "common/grid.h"
#include "common/ports.h"
#include "marulet/engine/document.h"
#include "terrain/contours.h"
#include "terrain/plan_lists.h"
#include "terrain/survey_book.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::marulet {

enum class PlanTool { SetPipelines, DeleteSections, ChangeDirection, OriginalCursor };
enum class PlanCursor { Default, Pipelines, Sections, Direction };

using TextList = std::vector<std::string>;
using TextLists = std::vector<TextList>;

// Rewrites column 0, From and To of the pipe table from the drawing: the k-th
// segment is pipe k in row k+1, From/To in drawing order for "i", reversed for
// "f"; the table gets as many rows as there are segments (plus the headers).
void rows_from_drawing(Document& doc);

// Flips the direction of every segment the click at (X, Y) hits (reach 20)
// and rewrites its row: ground elevations swapped, From and To from the new
// flag. Returns the pipe numbers changed.
std::vector<int> change_direction(Document& doc, int X, int Y);

// (largest x + 50) x (largest y + 50) over every drawn point.
terrain::PlanArea plan_drawing_size(const Document& doc);

class PlanEditor {
public:
    PlanEditor(Document& doc, Messages& messages);
    // Called before the deletion question so the red marks are on screen.
    void set_repaint_callback(std::function<void()> repaint) { repaint_ = std::move(repaint); }

    void choose_tool(PlanTool tool);
    // The plan lists were replaced ("Open", "New"): back to the default
    // cursor, nothing being drawn, the contour mesh rebuilt at the next paint.
    void plan_replaced();
    void mouse_down(int x, int y);
    // Finishes the pipeline being drawn; in the default cursor zooms in one
    // step. The pipe table is then rebuilt from the drawing.
    void double_click();

    // Zoom: the track bar step (1 to 6, 3 at start) scales every point by
    // new step / previous step, rounded to whole pixels. The wheel moves the
    // step: over the plan forward is up, elsewhere forward is down.
    void set_zoom_step(int step);
    void wheel(bool forward, bool over_plan);
    int zoom_step() const { return step_; }
    // The main window became active: the previous step is the one shown, so
    // the next change scales by new step / shown step.
    void becoming_active() { de_ = step_; }

    // "Survey Book Sheet" after an export from the planimetry or the total
    // coordinates view. False (nothing changed) for any other view.
    bool import_survey(const Grid& survey, terrain::SurveyView view, terrain::PlanArea area);

    // Contour lines.
    void toggle_contours();
    bool contours_on() const { return curvas_; }
    void set_contour_interval(const std::string& text);
    const std::string& contour_interval() const { return interval_; }
    void draw_contours(Canvas& canvas, int SX, int SY);

    // The mouse moved over the plan: status panel 0 reads "Screen X:Y=" + X +
    // " : " + Y. True when the plan is to be redrawn because the pipeline just
    // started at an existing node follows the mouse.
    bool mouse_move(int x, int y);
    // Texts of the plan's four status panels (only the first is used: there
    // are no boxes whose pressures the others would show).
    const std::string& status(int panel) const { return status_.at(static_cast<size_t>(panel)); }
    // The line from the existing node a new pipeline starts at to the mouse,
    // until its first new point is set.
    std::optional<std::array<PointF, 2>> rubber_band() const;

    PlanCursor cursor() const { return cursor_; }
    // Both tools work once a pipeline exists (drawn, opened or imported).
    bool delete_sections_enabled() const { return has_pipelines(); }
    bool change_direction_enabled() const { return has_pipelines(); }
    // The pipeline being drawn.
    const TextList& cx() const { return cx_; }
    const TextList& cy() const { return cy_; }
    const TextList& nn() const { return nn_; }
    const TextList& flecha() const { return flecha_; }
    const TextLists& tramosborrar() const { return tramosborrar_; }

private:
    bool has_pipelines() const;
    std::string next_node_name();
    void add_point(int x, int y);
    void draw_click(int x, int y);
    void finish_pipeline();
    void delete_sections(int x, int y);
    terrain::PlanLists terrain_plan() const;

    Document& doc_;
    Messages& messages_;
    std::function<void()> repaint_;
    PlanCursor cursor_ = PlanCursor::Default;
    bool new_pipeline_ = true;
    bool elegidoborrar_ = false;
    TextList cx_, cy_, nn_, flecha_;
    TextLists tramosborrar_;
    int step_ = 3;
    int de_ = 3;
    bool curvas_ = false;
    int mouse_x_ = 0;
    int mouse_y_ = 0;
    std::array<std::string, 4> status_;
    std::string interval_ = "1";
    bool mesh_pending_ = false;
    terrain::ContourMap contours_;
};

// `trazargrafica`: contours (when on), pipelines with their flow arrows, the
// pipeline being drawn, nodes as circles (red when marked for deletion) and
// their names, every coordinate multiplied by SX, SY.
void trazargrafica(PlanEditor& editor, const Document& doc, Canvas& canvas, int SX, int SY);

// The two strokes of the arrowhead of the segment from (ux, uy) (upstream) to
// (dx, dy) (downstream), in drawing units: {P, end1, P, end2}.
std::vector<PointF> arrow_strokes(double ux, double uy, double dx, double dy);

}  // namespace velmora::marulet
