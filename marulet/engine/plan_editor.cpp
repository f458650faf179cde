#include "marulet/engine/plan_editor.h"

#include "common/numtext.h"
#include "marulet/engine/pipe_table.h"
#include "terrain/plan_mechanics.h"
#include "terrain/survey_import.h"

#include <algorithm>
#include <cmath>

namespace velmora::marulet {
namespace nt = velmora::numtext;

namespace {

constexpr double kDirectionReach = 20;
constexpr double kSectionReach = 30;
constexpr double kSectionReachRight = 20;
constexpr double kArrowBack = 10;
constexpr double kArrowStroke = 15;
const char* const kDeleteQuestion = "Do you want to delete the nodes in red? If so, all the data will be reinitiated";

double at(const TextLists& lists, size_t k, size_t i) {
    if (k >= lists.size() || i >= lists[k].size()) return 0;
    return nt::read_lenient(lists[k][i]);
}

bool reversed(const PlanLists& plan, size_t k, size_t i) {
    return k < plan.tramossentido.size() && i < plan.tramossentido[k].size() && plan.tramossentido[k][i] == "f";
}

void write_row(Document& doc, int row, int pipe, const TextList& nodes, size_t i, bool flow_reversed) {
    Grid& g = doc.SG4;
    g.set_cell(kPipeNumber, row, std::to_string(pipe));
    g.set_cell(kFrom, row, flow_reversed ? nodes[i + 1] : nodes[i]);
    g.set_cell(kTo, row, flow_reversed ? nodes[i] : nodes[i + 1]);
}

}  // namespace

void rows_from_drawing(Document& doc) {
    int k = 0;
    for (size_t p = 0; p < doc.plan.tramosnudos.size(); ++p) {
        const TextList& nodes = doc.plan.tramosnudos[p];
        for (size_t i = 0; i + 1 < nodes.size(); ++i) {
            ++k;
            if (k + 1 >= doc.SG4.row_count()) doc.SG4.set_row_count(k + 2);
            write_row(doc, k + 1, k, nodes, i, reversed(doc.plan, p, i));
        }
    }
    doc.SG4.set_row_count(k + 2);
}

std::vector<int> change_direction(Document& doc, int X, int Y) {
    std::vector<int> changed;
    PlanLists& plan = doc.plan;
    int k = 0;
    for (size_t p = 0; p < plan.tramosnudos.size(); ++p) {
        const TextList& nodes = plan.tramosnudos[p];
        if (plan.tramossentido.size() <= p) plan.tramossentido.resize(p + 1);
        TextList& flags = plan.tramossentido[p];
        if (flags.size() < nodes.size()) flags.resize(nodes.size(), "i");
        for (size_t i = 0; i + 1 < nodes.size(); ++i) {
            ++k;
            const bool hit = terrain::segment_hit(at(plan.tramosx, p, i), at(plan.tramosy, p, i),
                                                  at(plan.tramosx, p, i + 1), at(plan.tramosy, p, i + 1), X, Y,
                                                  kDirectionReach, kDirectionReach);
            if (!hit) continue;
            flags[i].assign(1, flags[i] == "i" ? 'f' : 'i');
            const int row = k + 1;
            if (row >= doc.SG4.row_count()) doc.SG4.set_row_count(row + 1);
            const std::string from_z = doc.SG4(kGroundFrom, row);
            doc.SG4.set_cell(kGroundFrom, row, doc.SG4(kGroundTo, row));
            doc.SG4.set_cell(kGroundTo, row, from_z);
            write_row(doc, row, k, nodes, i, flags[i] == "f");
            changed.push_back(k);
        }
    }
    doc.calcular_enabled = true;
    doc.progress_counter = 0;
    if (!changed.empty()) doc.cambios = true;
    return changed;
}

terrain::PlanArea plan_drawing_size(const Document& doc) {
    double w = 0, h = 0;
    for (size_t p = 0; p < doc.plan.tramosx.size(); ++p)
        for (size_t i = 0; i < doc.plan.tramosx[p].size(); ++i) {
            w = std::max(w, at(doc.plan.tramosx, p, i));
            h = std::max(h, at(doc.plan.tramosy, p, i));
        }
    return {static_cast<int>(w) + 50, static_cast<int>(h) + 50};
}

// --- The editor ----------------------------------------------------------------

PlanEditor::PlanEditor(Document& doc, Messages& messages)
    : doc_(doc), messages_(messages), contours_(terrain::Designer::Marulet, &messages) {}

bool PlanEditor::has_pipelines() const {
    return std::any_of(doc_.plan.tramosnudos.begin(), doc_.plan.tramosnudos.end(),
                       [](const TextList& p) { return !p.empty(); });
}

void PlanEditor::choose_tool(PlanTool tool) {
    switch (tool) {
    case PlanTool::SetPipelines:
        cursor_ = PlanCursor::Pipelines;
        new_pipeline_ = true;
        elegidoborrar_ = false;
        cx_.clear();
        cy_.clear();
        nn_.clear();
        flecha_.clear();
        break;
    case PlanTool::DeleteSections:
        if (has_pipelines()) cursor_ = PlanCursor::Sections;
        break;
    case PlanTool::ChangeDirection:
        if (has_pipelines()) cursor_ = PlanCursor::Direction;
        break;
    case PlanTool::OriginalCursor:
        cursor_ = PlanCursor::Default;
        break;
    }
}

void PlanEditor::plan_replaced() {
    choose_tool(PlanTool::SetPipelines);  // clears the pipeline being drawn
    cursor_ = PlanCursor::Default;
    tramosborrar_.clear();
    mesh_pending_ = true;
}

std::string PlanEditor::next_node_name() {
    auto used = [&](const std::string& n) {
        for (const TextList& p : doc_.plan.tramosnudos)
            if (std::find(p.begin(), p.end(), n) != p.end()) return true;
        return std::find(nn_.begin(), nn_.end(), n) != nn_.end();
    };
    std::string n;
    do n = std::to_string(++doc_.numnudos);
    while (used(n));
    return n;
}

void PlanEditor::add_point(int x, int y) {
    cx_.push_back(std::to_string(x));
    cy_.push_back(std::to_string(y));
    nn_.push_back(next_node_name());
    flecha_.push_back("i");
}

void PlanEditor::draw_click(int x, int y) {
    if (!new_pipeline_) return;
    if (!has_pipelines()) {
        add_point(x, y);
        return;
    }
    if (!elegidoborrar_) {
        // A later pipeline starts at the existing node nearest to the click.
        const auto p = terrain::nearest_point(doc_.plan.tramosx, doc_.plan.tramosy, x, y);
        if (!p) return;
        cx_ = {doc_.plan.tramosx[p->pipeline][p->index]};
        cy_ = {doc_.plan.tramosy[p->pipeline][p->index]};
        nn_ = {doc_.plan.tramosnudos[p->pipeline][p->index]};
        flecha_ = {"i"};
        elegidoborrar_ = true;
        return;
    }
    add_point(x, y);
}

void PlanEditor::mouse_down(int x, int y) {
    doc_.calcular_enabled = true;
    doc_.progress_counter = 0;
    switch (cursor_) {
    case PlanCursor::Pipelines: draw_click(x, y); break;
    case PlanCursor::Sections: delete_sections(x, y); break;
    case PlanCursor::Direction: change_direction(doc_, x, y); break;
    case PlanCursor::Default: break;
    }
}

bool PlanEditor::mouse_move(int x, int y) {
    mouse_x_ = x;
    mouse_y_ = y;
    status_[0] = "Screen X:Y=" + std::to_string(x) + " : " + std::to_string(y);
    return rubber_band().has_value();
}

std::optional<std::array<PointF, 2>> PlanEditor::rubber_band() const {
    if (cursor_ != PlanCursor::Pipelines || !new_pipeline_ || !elegidoborrar_ || cx_.size() != 1) return std::nullopt;
    return std::array<PointF, 2>{PointF{nt::read_lenient(cx_[0]), nt::read_lenient(cy_[0])},
                                 PointF{static_cast<double>(mouse_x_), static_cast<double>(mouse_y_)}};
}

void PlanEditor::finish_pipeline() {
    if (nn_.size() >= 2) {
        PlanLists& plan = doc_.plan;
        plan.tramosz.resize(plan.tramosnudos.size());
        plan.tramosx.push_back(cx_);
        plan.tramosy.push_back(cy_);
        plan.tramossentido.resize(plan.tramosnudos.size());
        plan.tramossentido.push_back(flecha_);
        plan.tramosnudos.push_back(nn_);
        plan.tramosz.push_back(TextList(nn_.size()));
        doc_.cambios = true;
        mesh_pending_ = true;
    }
    new_pipeline_ = false;
    elegidoborrar_ = false;
    cx_.clear();
    cy_.clear();
    nn_.clear();
    flecha_.clear();
    cursor_ = PlanCursor::Default;
}

void PlanEditor::double_click() {
    if (cursor_ == PlanCursor::Pipelines && new_pipeline_) finish_pipeline();
    else if (cursor_ == PlanCursor::Default) set_zoom_step(step_ + 1);
    rows_from_drawing(doc_);
}

void PlanEditor::set_zoom_step(int step) {
    step = std::clamp(step, 1, 6);
    if (step != de_) {
        const double factor = static_cast<double>(step) / de_;
        terrain::scale_points(doc_.plan.tramosx, factor);
        terrain::scale_points(doc_.plan.tramosy, factor);
        TextLists drawing{cx_, cy_};
        terrain::scale_points(drawing, factor);
        cx_ = drawing[0];
        cy_ = drawing[1];
        if (curvas_) mesh_pending_ = true;
    }
    step_ = step;
    de_ = step;
}

void PlanEditor::wheel(bool forward, bool over_plan) {
    const bool up = over_plan ? forward : !forward;
    set_zoom_step(step_ + (up ? 1 : -1));
}

void PlanEditor::delete_sections(int x, int y) {
    PlanLists& plan = doc_.plan;
    TextLists marks = terrain::mark_sections(plan.tramosx, plan.tramosy, plan.tramosnudos, x, y, kSectionReach,
                                             kSectionReachRight);
    if (std::all_of(marks.begin(), marks.end(), [](const TextList& m) { return m.empty(); })) return;
    tramosborrar_ = std::move(marks);
    if (repaint_) repaint_();
    if (messages_.question(kDeleteQuestion, "Warning") == Answer::Yes) {
        doc_.cambios = true;
        plan.tramosz.resize(plan.tramosnudos.size());
        plan.tramossentido.resize(plan.tramosnudos.size());
        terrain::delete_marked({&plan.tramosx, &plan.tramosy, &plan.tramosz, &plan.tramossentido, &plan.tramosnudos},
                               tramosborrar_);
        terrain::renumber_nodes(plan.tramosnudos, doc_.numnudos);
        doc_.SG4.clear_rows_from(2);
        rows_from_drawing(doc_);
        mesh_pending_ = true;
        if (!has_pipelines()) {
            doc_.SG4.set_row_count(3);
            doc_.SG4.clear_row(2);
        }
    }
    tramosborrar_.clear();
    cursor_ = PlanCursor::Default;
}

terrain::PlanLists PlanEditor::terrain_plan() const {
    terrain::PlanLists plan;
    plan.tramosx = doc_.plan.tramosx;
    plan.tramosy = doc_.plan.tramosy;
    plan.tramosz = doc_.plan.tramosz;
    plan.tramosnudos = doc_.plan.tramosnudos;
    plan.tramossentido = doc_.plan.tramossentido;
    return plan;
}

bool PlanEditor::import_survey(const Grid& survey, terrain::SurveyView view, terrain::PlanArea area) {
    if (view == terrain::SurveyView::Altimetry) return false;
    terrain::PlanLists plan;
    if (!terrain::import_survey_marulet(survey, view, area, doc_.SG4, plan)) return false;
    doc_.plan.tramosx = std::move(plan.tramosx);
    doc_.plan.tramosy = std::move(plan.tramosy);
    doc_.plan.tramosz = std::move(plan.tramosz);
    doc_.plan.tramosnudos = std::move(plan.tramosnudos);
    doc_.plan.tramossentido = std::move(plan.tramossentido);
    doc_.mostrarresultados = false;
    doc_.calcular_enabled = true;
    doc_.contours_enabled = true;
    doc_.progress_counter = 0;
    mesh_pending_ = true;
    return true;
}

void PlanEditor::toggle_contours() {
    if (!doc_.contours_enabled) return;
    curvas_ = !curvas_;
    if (curvas_) mesh_pending_ = true;
}

void PlanEditor::set_contour_interval(const std::string& text) { interval_ = text; }

void PlanEditor::draw_contours(Canvas& canvas, int SX, int SY) {
    if (!curvas_) return;
    const terrain::PlanLists plan = terrain_plan();
    if (mesh_pending_) {
        RecordingCanvas scratch;
        contours_.definirmalla(plan, scratch, interval_);
        mesh_pending_ = false;
    }
    contours_.dibujarcurvas(canvas, SX, SY, plan, interval_);
}

// --- Drawing -------------------------------------------------------------------

std::vector<PointF> arrow_strokes(double ux, double uy, double dx, double dy) {
    const double len = std::hypot(dx - ux, dy - uy);
    if (len == 0) return {};
    const double bx = (ux - dx) / len, by = (uy - dy) / len;  // backwards, unit
    const PointF P{dx + bx * kArrowBack, dy + by * kArrowBack};
    if (dx == ux) {
        const double back = by > 0 ? kArrowBack : -kArrowBack;
        return {P, {P.x - kArrowBack, P.y + back}, P, {P.x + kArrowBack, P.y + back}};
    }
    const double c = std::cos(M_PI / 4), s = std::sin(M_PI / 4);
    const PointF e1{P.x + kArrowStroke * (bx * c - by * s), P.y + kArrowStroke * (bx * s + by * c)};
    const PointF e2{P.x + kArrowStroke * (bx * c + by * s), P.y + kArrowStroke * (-bx * s + by * c)};
    return {P, e1, P, e2};
}

namespace {

void draw_nodes(Canvas& canvas, const TextList& xs, const TextList& ys, const TextList& names,
                const TextLists& marks, int SX, int SY) {
    for (size_t i = 0; i < names.size() && i < xs.size() && i < ys.size(); ++i) {
        const double x = nt::read_lenient(xs[i]), y = nt::read_lenient(ys[i]);
        bool marked = false;
        for (const TextList& m : marks)
            if (std::find(m.begin(), m.end(), names[i]) != m.end()) marked = true;
        canvas.set_pen({colors::kBlack, 1, PenStyle::Solid});
        canvas.set_brush({marked ? colors::kRed : colors::kWhite, false});
        canvas.ellipse({(x - 10) * SX, (y - 10) * SY, (x + 10) * SX, (y + 10) * SY});
        Font f;
        f.size = 7;
        canvas.set_font(f);
        canvas.text((x - 5) * SX, (y - 6) * SY, names[i]);
    }
}

}  // namespace

void trazargrafica(PlanEditor& editor, const Document& doc, Canvas& canvas, int SX, int SY) {
    editor.draw_contours(canvas, SX, SY);
    const PlanLists& plan = doc.plan;
    for (size_t p = 0; p < plan.tramosx.size(); ++p) {
        const size_t n = std::min(plan.tramosx[p].size(), p < plan.tramosy.size() ? plan.tramosy[p].size() : 0);
        for (size_t i = 0; i + 1 < n; ++i) {
            const double x1 = at(plan.tramosx, p, i), y1 = at(plan.tramosy, p, i);
            const double x2 = at(plan.tramosx, p, i + 1), y2 = at(plan.tramosy, p, i + 1);
            canvas.set_pen({colors::kBlack, 2, PenStyle::Solid});
            canvas.line(x1 * SX, y1 * SY, x2 * SX, y2 * SY);
            const bool back = reversed(plan, p, i);
            const auto strokes = back ? arrow_strokes(x2, y2, x1, y1) : arrow_strokes(x1, y1, x2, y2);
            for (size_t s = 0; s + 1 < strokes.size(); s += 2)
                canvas.line(strokes[s].x * SX, strokes[s].y * SY, strokes[s + 1].x * SX, strokes[s + 1].y * SY);
        }
    }
    // The pipeline being drawn.
    canvas.set_pen({colors::kBlack, 2, PenStyle::Solid});
    for (size_t i = 0; i + 1 < editor.cx().size(); ++i)
        canvas.line(nt::read_lenient(editor.cx()[i]) * SX, nt::read_lenient(editor.cy()[i]) * SY,
                    nt::read_lenient(editor.cx()[i + 1]) * SX, nt::read_lenient(editor.cy()[i + 1]) * SY);
    for (size_t p = 0; p < plan.tramosnudos.size(); ++p)
        if (p < plan.tramosx.size() && p < plan.tramosy.size())
            draw_nodes(canvas, plan.tramosx[p], plan.tramosy[p], plan.tramosnudos[p], editor.tramosborrar(), SX, SY);
    draw_nodes(canvas, editor.cx(), editor.cy(), editor.nn(), {}, SX, SY);
}

}  // namespace velmora::marulet
