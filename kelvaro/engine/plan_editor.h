#pragma once
// The plan view editor: drawing pipelines, deleting sections, placing and
// removing break pressure boxes (BPB), zoom and contour controls, as a state
// machine over the Kelvaro document. Every rule lives here; the plan widget
// only forwards events and shows what the editor exposes.
//
// How a plan widget drives it
// ---------------------------
//   PlanEditor editor(doc, messages);            // one per main window
//   tool button clicked      -> editor.choose_tool(PlanTool::...)
//   "Nodes Motion"/"Free Motion" -> editor.choose_motion(BoxMotion::...)
//   mouse pressed on the plan -> editor.mouse_down(x, y, button)
//        (a press on the visible box marker: translate it to plan
//         coordinates and call mouse_down with them)
//   mouse double click        -> editor.double_click()   (Qt sends it in place
//        of the second press, so a double click is mouse_down + double_click)
//   mouse moved on the plan   -> editor.mouse_move(x, y)
//   track bar moved           -> editor.set_zoom_step(position)
//   wheel on the window / over the plan -> editor.wheel(forward, over_plan)
//   contour toggle, interval box, spinner -> toggle_contours(),
//        contour_interval_typed(text), spin_contour_interval(+1 / -1)
//   "Survey Book Sheet", after the survey book closed -> import_survey(...)
//   main window became active -> editor.becoming_active()
//   a project was opened      -> editor.project_opened()
// After each call the widget reads:
//   cursor()                  which cursor to show on the plan
//   marker_visible(), marker_position()  the box marker (12 x 15 image; its
//                             top left is the candidate position - (6, 7))
//   status(i), i = 0..3       status panel texts; red(i) tells to draw panel
//                             i in red; status_panel_drawn(i) clears the flag
//   drawing_area()            size of the scrollable drawing area after zoom
//   zoom_step()               the track bar position
//   and repaints with paint_plan() (plan_drawing.h).
// Questions ("Warning", Yes/No) go through Messages. Before the deletion
// question the editor calls the repaint callback so the red labels are on
// screen while the question is shown.
//
// Plan coordinates are whole pixels at the current zoom step, y downwards.
// A plan coordinate that is not a number stops drawing and zooming with the
// number reader's ConversionError; the widget shows it as an error.
#include "common/canvas.h"
#include "common/ports.h"
#include "kelvaro/engine/document.h"
#include "terrain/contours.h"
#include "terrain/plan_mechanics.h"
#include "terrain/survey_book.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace velmora::kelvaro {

// The plan mechanics shared with the other designer (nearest point, segment
// hit, marking and cutting sections, renumbering, zoom scaling).
using terrain::delete_marked;
using terrain::mark_sections;
using terrain::marked_segment;
using terrain::nearest_point;
using terrain::PointRef;
using terrain::renumber_nodes;
using terrain::scale_points;
using terrain::segment_hit;

// ---------------------------------------------------------------------------
// Kelvaro's plan editor.

enum class PlanTool { SetPipelines, DeleteSections, OriginalCursor, InstallBox, DeleteBox };
// The plan cursor: default; 1 drawing pipelines; 2 deleting sections; 5
// placing a box; the cross deleting a box.
enum class PlanCursor { Default, Pipelines, Sections, Box, Cross };
enum class BoxMotion { Nodes, Free };
enum class MouseButton { Left, Right, Middle };

using terrain::PlanArea;

// (largest x + 50) x (largest y + 50) over every pipeline point.
PlanArea plan_drawing_size(const Document& doc);

class PlanEditor {
public:
    PlanEditor(Document& doc, Messages& messages);

    // Called before a question when the plan must show new marks.
    void set_repaint_callback(std::function<void()> repaint) { repaint_ = std::move(repaint); }

    // Events.
    void choose_tool(PlanTool tool);
    void choose_motion(BoxMotion motion);
    void mouse_down(int x, int y, MouseButton button = MouseButton::Left);
    void double_click();
    void mouse_move(int x, int y);
    void set_zoom_step(int step);
    void wheel(bool forward, bool over_plan);
    void becoming_active();
    // A project was opened: the pipeline being drawn is dropped (the
    // new-pipeline flag goes off and no line follows the mouse).
    void project_opened();

    // Contour controls ("Turn On/Off Contour Lines", "Contour Lines
    // Frequency" box and spinner). They return whether the plan is repainted.
    void toggle_contours();
    bool contour_interval_typed(const std::string& text);
    bool spin_contour_interval(int delta);
    bool contours_on() const { return curvas_; }
    const std::string& contour_interval() const { return interval_; }
    // Draws the contour lines of the last mesh, rebuilding the mesh first when
    // the contours were switched on or the plan was zoomed since.
    void draw_contours(Canvas& canvas, int SX, int SY);

    // "Survey Book Sheet", after the survey book window closed: when the book
    // reports an export, the project takes the name of `last_file` (the last
    // file the program read or wrote), "New" runs with its save question, and
    // the survey becomes the plan and the input table.
    bool import_survey(const terrain::SurveyBook& book, PlanArea client_area, const std::filesystem::path& last_file,
                       FileDialogs& dialogs);

    // What the widget shows.
    PlanCursor cursor() const { return cursor_; }
    BoxMotion motion() const { return motion_; }
    bool marker_visible() const { return marker_visible_; }
    PointF marker_position() const { return {xbpb_, ybpb_}; }
    const std::string& status(int panel) const { return status_.at(panel); }
    bool red(int panel) const { return panel == 2 ? rojo_ : panel == 3 ? rojo1_ : false; }
    void status_panel_drawn(int panel);
    int zoom_step() const { return step_; }
    PlanArea drawing_area() const { return area_; }
    // The line that follows the mouse from the first point of a branch being
    // started (`trazar`).
    std::optional<std::array<PointF, 2>> rubber_band() const;

    // Editing state.
    bool new_pipeline() const { return new_pipeline_; }
    bool elegidoborrar() const { return elegidoborrar_; }
    bool trazar() const { return trazar_; }
    const TextList& cx() const { return cx_; }
    const TextList& cy() const { return cy_; }
    const TextList& nn() const { return nn_; }
    int xc() const { return xc_; }
    int yc() const { return yc_; }
    const TextLists& tramosborrar() const { return tramosborrar_; }
    const TextList& tred() const { return tred_; }
    bool has_candidate() const { return has_candidate_; }
    double xbpb() const { return xbpb_; }
    double ybpb() const { return ybpb_; }
    double zbpb() const { return zbpb_; }
    const std::string& nudobpb() const { return nudobpb_; }
    const std::string& nanterior() const { return nanterior_; }
    const std::string& nposterior() const { return nposterior_; }
    double fdanterior() const { return fdanterior_; }
    // Lowest and highest elevation fed from the candidate.
    double lowest_fed() const { return lowest_; }
    double highest_fed() const { return highest_; }

private:
    bool has_pipelines() const;
    std::string next_node_number();
    bool node_in_use(const std::string& node) const;
    void add_point(int x, int y);
    void draw_click(int x, int y);
    void finish_pipeline();
    void delete_sections(int x, int y);
    void install_box();
    void delete_box(int x, int y);
    bool find_node_candidate(int x, int y);
    bool find_free_candidate(int x, int y);
    void nudosred();
    void fed_elevations();
    void static_pressure_from_prior_box();
    void rewrite_rows_from_pipelines(bool network_one);
    void to_default();

    Document& doc_;
    Messages& messages_;
    std::function<void()> repaint_;

    PlanCursor cursor_ = PlanCursor::Default;
    BoxMotion motion_ = BoxMotion::Nodes;
    bool new_pipeline_ = true;
    bool elegidoborrar_ = false;
    bool trazar_ = false;
    bool marker_visible_ = false;
    TextList cx_, cy_, nn_;
    int xc_ = 0, yc_ = 0;
    int mouse_x_ = 0, mouse_y_ = 0;
    TextLists tramosborrar_;
    TextList tred_;

    bool has_candidate_ = false;
    double xbpb_ = 0, ybpb_ = 0, zbpb_ = 0;
    std::string nudobpb_;
    std::string nanterior_, nposterior_;
    double fdanterior_ = 0;
    double lowest_ = 1e10, highest_ = 0;

    std::array<std::string, 4> status_;
    bool rojo_ = false, rojo1_ = false;

    int step_ = 3;
    int de_ = 3;
    PlanArea area_;

    bool curvas_ = false;
    std::string interval_ = "10";
    bool mesh_pending_ = false;
    terrain::ContourMap contours_;
};

}  // namespace velmora::kelvaro
