#include "kelvaro/engine/plan_editor.h"

#include "common/numtext.h"
#include "kelvaro/engine/input_table.h"
#include "kelvaro/engine/project_files.h"
#include "kelvaro/engine/topology.h"
#include "terrain/survey_import.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace velmora::kelvaro {
namespace nt = velmora::numtext;

namespace {

constexpr int kMinZoomStep = 1;
constexpr int kMaxZoomStep = 6;
constexpr double kSectionReach = 30;
constexpr double kSectionReachRight = 20;

const char* const kDeleteSectionsQuestion = "Do you want to delete the nodes in red? If so, all the data will be reset";
const char* const kInstallBoxQuestion = "Do you want to install a BPB in the selected position?";

bool within(double v, double a, double b) { return v >= std::min(a, b) && v <= std::max(a, b); }

std::string whole(double v) { return nt::format_general(v); }

double lenient_at(const TextLists& lists, size_t k, size_t i) {
    if (k >= lists.size() || i >= lists[k].size()) return 0;
    return nt::read_lenient(lists[k][i]);
}

bool contains(const TextList& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

PlanArea plan_drawing_size(const Document& doc) {
    double mx = 0, my = 0;
    for (const TextList& p : doc.tramosx)
        for (const std::string& v : p) mx = std::max(mx, nt::read_strict(v));
    for (const TextList& p : doc.tramosy)
        for (const std::string& v : p) my = std::max(my, nt::read_strict(v));
    return {static_cast<int>(std::lround(mx)) + 50, static_cast<int>(std::lround(my)) + 50};
}

// ---------------------------------------------------------------------------
// The editor.

PlanEditor::PlanEditor(Document& doc, Messages& messages)
    : doc_(doc), messages_(messages), contours_(terrain::Designer::Kelvaro, &messages) {}

bool PlanEditor::has_pipelines() const {
    for (const TextList& p : doc_.tramosnudos)
        if (!p.empty()) return true;
    return false;
}

void PlanEditor::to_default() {
    cursor_ = PlanCursor::Default;
    marker_visible_ = false;
}

void PlanEditor::choose_tool(PlanTool tool) {
    switch (tool) {
    case PlanTool::SetPipelines:
        cursor_ = PlanCursor::Pipelines;
        elegidoborrar_ = false;
        trazar_ = false;
        new_pipeline_ = true;
        cx_.clear();
        cy_.clear();
        nn_.clear();
        marker_visible_ = false;
        break;
    case PlanTool::DeleteSections:
        if (!doc_.delete_sections_enabled) return;
        cursor_ = PlanCursor::Sections;
        marker_visible_ = false;
        break;
    case PlanTool::OriginalCursor:
        to_default();
        break;
    case PlanTool::InstallBox:
        if (!doc_.plan_tools_enabled) return;
        cursor_ = PlanCursor::Box;
        marker_visible_ = true;
        has_candidate_ = false;  // the plan may have changed since the last one
        break;
    case PlanTool::DeleteBox:
        if (!doc_.plan_tools_enabled) return;
        cursor_ = PlanCursor::Cross;
        marker_visible_ = false;
        break;
    }
}

void PlanEditor::choose_motion(BoxMotion motion) {
    if (doc_.plan_tools_enabled) motion_ = motion;
}

// --- Drawing pipelines -------------------------------------------------------

bool PlanEditor::node_in_use(const std::string& node) const {
    for (const TextList& p : doc_.tramosnudos)
        if (contains(p, node)) return true;
    return contains(nn_, node) || contains(doc_.bpbnudos, node);
}

std::string PlanEditor::next_node_number() {
    // A number already held by a node (a box inserted by free motion, a
    // surveyed node) is passed over, so node numbers stay unique.
    std::string n;
    do n = std::to_string(++doc_.numnudos);
    while (node_in_use(n));
    return n;
}

void PlanEditor::add_point(int x, int y) {
    cx_.push_back(std::to_string(x));
    cy_.push_back(std::to_string(y));
    nn_.push_back(next_node_number());
}

void PlanEditor::draw_click(int x, int y) {
    permitir(doc_, false);
    if (!has_pipelines()) {
        add_point(x, y);
        if (doc_.bpbx.empty()) {
            doc_.bpbx.push_back(cx_.back());
            doc_.bpby.push_back(cy_.back());
            doc_.bpbnudos.push_back(nn_.back());
            doc_.bpblibre.push_back("n");
        }
        return;
    }
    if (!elegidoborrar_) {
        const auto p = nearest_point(doc_.tramosx, doc_.tramosy, x, y);
        if (!p) return;
        cx_ = {doc_.tramosx[p->pipeline][p->index]};
        cy_ = {doc_.tramosy[p->pipeline][p->index]};
        nn_ = {doc_.tramosnudos[p->pipeline][p->index]};
        trazar_ = true;
        elegidoborrar_ = true;
        return;
    }
    add_point(x, y);
    trazar_ = false;
}

void PlanEditor::rewrite_rows_from_pipelines(bool network_one) {
    Grid& g = doc_.ZCSG4;
    int row = kFirstPipeRow;
    for (const TextList& nodes : doc_.tramosnudos) {
        for (size_t i = 0; i + 1 < nodes.size(); ++i, ++row) {
            if (row >= g.row_count()) {
                g.set_row_count(row + 1);
                g.clear_row(row);
            }
            g.set_cell(col::kPipe, row, std::to_string(row - 1));
            g.set_cell(col::kFrom, row, nodes[i]);
            g.set_cell(col::kTo, row, nodes[i + 1]);
            if (network_one) g.set_cell(col::kNetwork, row, "1");
        }
    }
    // The table keeps at least one (empty) pipe row below its headers.
    g.set_row_count(std::max(row, kFirstPipeRow + 1));
    if (row == kFirstPipeRow) g.clear_row(kFirstPipeRow);
}

void PlanEditor::finish_pipeline() {
    if (cursor_ != PlanCursor::Pipelines || !new_pipeline_) return;
    if (nn_.size() >= 2) {
        doc_.tramosx.push_back(cx_);
        doc_.tramosy.push_back(cy_);
        doc_.tramosnudos.push_back(nn_);
        doc_.tramosz.resize(doc_.tramosnudos.size() - 1);
        doc_.tramosz.push_back(TextList(nn_.size()));
        doc_.cambios = true;
        doc_.delete_sections_enabled = true;
        rewrite_rows_from_pipelines(true);
        // The new points take their elevations from the table now, so a box
        // candidate over them reads the same values a key release would give.
        rebuild_plan_elevations(doc_);
    }
    new_pipeline_ = false;
    elegidoborrar_ = false;
    trazar_ = false;
    cx_.clear();
    cy_.clear();
    nn_.clear();
    to_default();
}

void PlanEditor::double_click() { finish_pipeline(); }

// --- Deleting sections -------------------------------------------------------

void PlanEditor::delete_sections(int x, int y) {
    TextLists marks = mark_sections(doc_.tramosx, doc_.tramosy, doc_.tramosnudos, x, y, kSectionReach,
                                    kSectionReachRight);
    const bool any = std::any_of(marks.begin(), marks.end(), [](const TextList& m) { return !m.empty(); });
    if (!any) return;
    tramosborrar_ = std::move(marks);
    if (repaint_) repaint_();
    if (messages_.question(kDeleteSectionsQuestion, "Warning") == Answer::Yes) {
        doc_.cambios = true;
        doc_.tramosz.resize(doc_.tramosnudos.size());
        delete_marked({&doc_.tramosx, &doc_.tramosy, &doc_.tramosz, &doc_.tramosnudos}, tramosborrar_);
        const auto renamed = renumber_nodes(doc_.tramosnudos, doc_.numnudos);
        // Boxes follow their nodes; a box whose node was deleted goes with it.
        std::unordered_map<std::string, std::string> fresh(renamed.begin(), renamed.end());
        TextList bx, by, bn, bl;
        for (size_t b = 0; b < doc_.bpbnudos.size(); ++b) {
            auto it = fresh.find(doc_.bpbnudos[b]);
            if (it == fresh.end()) continue;
            bx.push_back(doc_.bpbx[b]);
            by.push_back(doc_.bpby[b]);
            bn.push_back(it->second);
            bl.push_back(doc_.bpblibre[b]);
        }
        doc_.bpbx = std::move(bx);
        doc_.bpby = std::move(by);
        doc_.bpbnudos = std::move(bn);
        doc_.bpblibre = std::move(bl);
        Grid& g = doc_.ZCSG4;
        g.clear_rows_from(kFirstPipeRow);
        rewrite_rows_from_pipelines(false);
        numerarredes(doc_);
        if (!has_pipelines()) {
            doc_.delete_sections_enabled = false;
            doc_.ZCSG4.clear_row(kFirstPipeRow);
        }
    }
    tramosborrar_.clear();
    to_default();
}

// --- Box candidate -----------------------------------------------------------

bool PlanEditor::find_node_candidate(int x, int y) {
    double best = 1e300;
    PointRef found;
    for (size_t k = 0; k < doc_.tramosx.size(); ++k) {
        for (size_t i = 0; i + 1 < doc_.tramosx[k].size(); ++i) {
            const double dx = nt::read_strict(doc_.tramosx[k][i]) - x;
            const double dy = nt::read_strict(doc_.tramosy.at(k).at(i)) - y;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < best) {
                best = d;
                found = {static_cast<int>(k), static_cast<int>(i)};
            }
        }
    }
    if (found.pipeline < 0) return false;
    xbpb_ = nt::read_strict(doc_.tramosx[found.pipeline][found.index]);
    ybpb_ = nt::read_strict(doc_.tramosy[found.pipeline][found.index]);
    zbpb_ = lenient_at(doc_.tramosz, found.pipeline, found.index);
    nudobpb_ = doc_.tramosnudos[found.pipeline][found.index];
    return true;
}

bool PlanEditor::find_free_candidate(int x, int y) {
    double best = 1e300;
    bool found = false;
    for (size_t k = 0; k < doc_.tramosx.size(); ++k) {
        for (size_t i = 0; i + 1 < doc_.tramosx[k].size(); ++i) {
            const double x1 = nt::read_strict(doc_.tramosx[k][i]), x2 = nt::read_strict(doc_.tramosx[k][i + 1]);
            const double y1 = nt::read_strict(doc_.tramosy[k][i]), y2 = nt::read_strict(doc_.tramosy[k][i + 1]);
            if (!within(x, x1, x2)) continue;
            // Share of the segment from its upstream point to the point
            // straight above or below the mouse; on a vertical segment the
            // mouse y, kept within the segment.
            double t;
            if (x1 == x2)
                t = y1 == y2 ? 0 : (std::clamp<double>(y, std::min(y1, y2), std::max(y1, y2)) - y1) / (y2 - y1);
            else
                t = (x - x1) / (x2 - x1);
            const double py = y1 + (y2 - y1) * t;
            const double d = std::abs(py - y);
            if (d >= best) continue;
            best = d;
            found = true;
            const double z1 = lenient_at(doc_.tramosz, k, i), z2 = lenient_at(doc_.tramosz, k, i + 1);
            xbpb_ = x1 + (x2 - x1) * t;
            ybpb_ = nt::round_to(py, 0);  // plan positions are whole pixels
            zbpb_ = z1 + (z2 - z1) * t;
            nanterior_ = doc_.tramosnudos[k][i];
            nposterior_ = doc_.tramosnudos[k][i + 1];
            fdanterior_ = t;
        }
    }
    if (found) nudobpb_ = std::to_string(doc_.ultimonudo + 1);
    return found;
}

void PlanEditor::nudosred() {
    tred_ = {nudobpb_};
    if (motion_ == BoxMotion::Free) tred_.push_back(nposterior_);
    for (const TextList& nodes : doc_.tramosnudos) {
        for (size_t i = 0; i + 1 < nodes.size(); ++i) {
            if (!contains(tred_, nodes[i])) continue;
            // Nodes past another box are fed by that box.
            if (nodes[i] != nudobpb_ && contains(doc_.bpbnudos, nodes[i])) break;
            if (!contains(tred_, nodes[i + 1])) tred_.push_back(nodes[i + 1]);
        }
    }
}

void PlanEditor::fed_elevations() {
    lowest_ = 1e10;
    highest_ = 0;
    for (size_t k = 0; k < doc_.tramosnudos.size(); ++k) {
        const TextList& nodes = doc_.tramosnudos[k];
        for (size_t i = 1; i < nodes.size(); ++i) {
            // The candidate's own node is where the box would stand, not a
            // node it feeds.
            if (nodes[i] == nudobpb_ || !contains(tred_, nodes[i])) continue;
            const double z = lenient_at(doc_.tramosz, k, i);
            lowest_ = std::min(lowest_, z);
            highest_ = std::max(highest_, z);
        }
    }
}

void PlanEditor::static_pressure_from_prior_box() {
    // In nodes motion the walk starts at the candidate node itself; in free
    // motion at the upstream node of the candidate's segment.
    const std::string start = motion_ == BoxMotion::Nodes ? nudobpb_ : nanterior_;
    const Grid& g = doc_.ZCSG4;
    const int last = g.row_count() - 1;
    const std::string& source = g(col::kFrom, kFirstPipeRow);
    std::unordered_set<std::string> starts;
    for (int r = kFirstPipeRow; r <= last; ++r) starts.insert(g(col::kFrom, r));
    std::optional<double> pressure;
    for (int t = kFirstPipeRow; t <= last && !pressure; ++t) {
        if (g(col::kFrom, t).empty() || starts.count(g(col::kTo, t))) continue;
        // The branch of terminal row t: rows from the terminal end to the source.
        std::vector<int> branch;
        std::string current = g(col::kTo, t);
        while (current != source) {
            const size_t before = branch.size();
            for (int r = kFirstPipeRow; r <= last; ++r)
                if (g(col::kTo, r) == current) {
                    branch.push_back(r);
                    current = g(col::kFrom, r);
                }
            if (branch.size() == before || branch.size() > static_cast<size_t>(last)) break;
        }
        auto at = std::find_if(branch.begin(), branch.end(), [&](int r) { return g(col::kFrom, r) == start; });
        for (; at != branch.end(); ++at) {
            if (g(col::kFrom, *at) == source || contains(doc_.bpbnudos, g(col::kFrom, *at))) {
                pressure = nt::round_to(nt::read_lenient(g(col::kElevFrom, *at)), 2) - nt::round_to(zbpb_, 2);
                break;
            }
        }
    }
    if (pressure) {
        status_[3] = "Static pressure from prior BPB= " + nt::format_general(*pressure);
        rojo1_ = *pressure < doc_.presmin || *pressure > doc_.presmax;
    } else {
        status_[3].clear();
        rojo1_ = false;
    }
}

void PlanEditor::mouse_move(int x, int y) {
    mouse_x_ = x;
    mouse_y_ = y;
    status_[0] = "Screen X:Y=" + std::to_string(x) + " : " + std::to_string(y);
    if (cursor_ != PlanCursor::Box) return;
    const bool found = motion_ == BoxMotion::Nodes ? find_node_candidate(x, y) : find_free_candidate(x, y);
    if (!found) return;
    has_candidate_ = true;
    nudosred();
    fed_elevations();
    static_pressure_from_prior_box();
    const double z = nt::round_to(zbpb_, 2);
    status_[1] = "BPB X:Y:Z [m]= " + whole(xbpb_) + " : " + whole(ybpb_) + " : " + nt::format_general(z);
    const double most = nt::round_to(zbpb_ - lowest_, 2);
    const double least = nt::round_to(zbpb_ - highest_, 2);
    status_[2] = "Static Pressure From BPB-Max:Min [m]=" + nt::format_general(most) + ":" + nt::format_general(least);
    rojo_ = most > doc_.presmax || least < doc_.presmin;
}

void PlanEditor::status_panel_drawn(int panel) {
    if (panel == 2) rojo_ = false;
    if (panel == 3) rojo1_ = false;
}

std::optional<std::array<PointF, 2>> PlanEditor::rubber_band() const {
    if (!trazar_ || cx_.empty()) return std::nullopt;
    return std::array<PointF, 2>{PointF{nt::read_lenient(cx_[0]), nt::read_lenient(cy_[0])},
                                 PointF{static_cast<double>(mouse_x_), static_cast<double>(mouse_y_)}};
}

// --- Installing and deleting boxes --------------------------------------------

void PlanEditor::install_box() {
    if (!has_candidate_) return;
    // A node holds one box: a second one there would number its networks twice.
    if (motion_ == BoxMotion::Nodes && contains(doc_.bpbnudos, nudobpb_)) return;
    if (messages_.question(kInstallBoxQuestion, "Warning") != Answer::Yes) return;
    doc_.cambios = true;
    doc_.bpbx.push_back(whole(xbpb_));
    doc_.bpby.push_back(whole(ybpb_));
    std::string node = nudobpb_;
    if (motion_ == BoxMotion::Nodes) {
        doc_.bpblibre.push_back("n");
    } else {
        // The first number from H + 100 (H = numnudos rounded down to a
        // multiple of 100) that no box and no plan point holds.
        int n = doc_.numnudos / 100 * 100 + 100;
        auto taken = [&](int v) {
            const std::string s = std::to_string(v);
            for (size_t b = 1; b < doc_.bpbnudos.size(); ++b)
                if (doc_.bpbnudos[b] == s) return true;
            return node_in_use(s);
        };
        while (taken(n)) ++n;
        node = std::to_string(n);
        doc_.bpblibre.push_back("y");
        doc_.ultimonudo = std::max(doc_.ultimonudo + 1, n);
        const std::string z = nt::format_general(nt::round_to(zbpb_, 2));
        doc_.tramosz.resize(doc_.tramosnudos.size());
        for (size_t k = 0; k < doc_.tramosnudos.size(); ++k) {
            TextList& nodes = doc_.tramosnudos[k];
            for (size_t i = 0; i + 1 < nodes.size(); ++i) {
                if (nodes[i] != nanterior_ || nodes[i + 1] != nposterior_) continue;
                doc_.tramosx[k].insert(doc_.tramosx[k].begin() + i + 1, whole(xbpb_));
                doc_.tramosy[k].insert(doc_.tramosy[k].begin() + i + 1, whole(ybpb_));
                doc_.tramosz[k].resize(nodes.size());
                doc_.tramosz[k].insert(doc_.tramosz[k].begin() + i + 1, z);
                nodes.insert(nodes.begin() + i + 1, node);
                ++i;
            }
        }
        Grid& g = doc_.ZCSG4;
        for (int r = kFirstPipeRow; r < g.row_count(); ++r) {
            if (g(col::kFrom, r) != nanterior_ || g(col::kTo, r) != nposterior_) continue;
            const double length = nt::read_lenient(g(col::kLength, r));
            const double first = nt::round_to(length * fdanterior_, 2);
            g.insert_row(r + 1);
            g.set_row(r + 1, g.row(r));
            g.set_cell(col::kTo, r, node);
            g.set_cell(col::kElevTo, r, z);
            g.set_cell(col::kLength, r, nt::format_general(first));
            g.set_cell(col::kFrom, r + 1, node);
            g.set_cell(col::kElevFrom, r + 1, z);
            g.set_cell(col::kLength, r + 1, nt::format_general(length - first));
            g.set_cell(col::kHouseholds, r + 1, "0");
            ++r;
        }
    }
    doc_.bpbnudos.push_back(node);
    numerarredes(doc_);
    to_default();
}

void PlanEditor::delete_box(int x, int y) {
    int hit = -1;
    for (size_t b = 0; b < doc_.bpbx.size(); ++b) {
        const double bx = nt::read_strict(doc_.bpbx[b]), by = nt::read_strict(doc_.bpby.at(b));
        if (bx - 15 < x && x < bx + 15 && by - 30 < y && y < by + 30) hit = static_cast<int>(b);
    }
    if (hit <= 0) return;
    const std::string node = doc_.bpbnudos[hit];
    const bool free = doc_.bpblibre[hit] == "y";
    doc_.bpbx.erase(doc_.bpbx.begin() + hit);
    doc_.bpby.erase(doc_.bpby.begin() + hit);
    doc_.bpbnudos.erase(doc_.bpbnudos.begin() + hit);
    doc_.bpblibre.erase(doc_.bpblibre.begin() + hit);
    doc_.cambios = true;
    if (free) {
        // The rows on either side of the inserted node are joined again.
        Grid& g = doc_.ZCSG4;
        int out = -1;
        for (int r = kFirstPipeRow; r < g.row_count(); ++r)
            if (g(col::kFrom, r) == node) out = r;
        const int in = out - 1;
        if (out > kFirstPipeRow && g(col::kTo, in) == node) {
            const double length = nt::read_lenient(g(col::kLength, in)) + nt::read_lenient(g(col::kLength, out));
            g.set_cell(col::kTo, in, g(col::kTo, out));
            g.set_cell(col::kElevTo, in, g(col::kElevTo, out));
            g.set_cell(col::kLength, in, nt::format_general(length));
            g.delete_row(out);
        }
        for (size_t k = 0; k < doc_.tramosnudos.size(); ++k) {
            TextList& nodes = doc_.tramosnudos[k];
            for (size_t i = nodes.size(); i-- > 0;) {
                if (nodes[i] != node) continue;
                nodes.erase(nodes.begin() + i);
                doc_.tramosx[k].erase(doc_.tramosx[k].begin() + i);
                doc_.tramosy[k].erase(doc_.tramosy[k].begin() + i);
                if (k < doc_.tramosz.size() && i < doc_.tramosz[k].size())
                    doc_.tramosz[k].erase(doc_.tramosz[k].begin() + i);
            }
        }
        --doc_.ultimonudo;
    }
    numerarredes(doc_);
    to_default();
}

void PlanEditor::mouse_down(int x, int y, MouseButton) {
    doc_.calculate_enabled = true;
    xc_ = x;
    yc_ = y;
    switch (cursor_) {
    case PlanCursor::Pipelines:
        if (new_pipeline_) draw_click(x, y);
        break;
    case PlanCursor::Sections:
        delete_sections(x, y);
        break;
    case PlanCursor::Box:
        install_box();
        break;
    case PlanCursor::Cross:
        delete_box(x, y);
        break;
    case PlanCursor::Default:
        break;
    }
}

// --- Zoom ----------------------------------------------------------------------

void PlanEditor::set_zoom_step(int step) {
    step = std::clamp(step, kMinZoomStep, kMaxZoomStep);
    if (step == de_) {
        step_ = step;
        return;
    }
    const double factor = static_cast<double>(step) / de_;
    scale_points(doc_.tramosx, factor);
    scale_points(doc_.tramosy, factor);
    // The pipeline being drawn scales with the plan it is drawn on.
    for (TextList* pipeline : {&cx_, &cy_})
        for (std::string& p : *pipeline)
            p = whole(nt::round_to(static_cast<double>(nt::read_int_strict(p)) * factor, 0));
    for (TextList* boxes : {&doc_.bpbx, &doc_.bpby})
        for (std::string& p : *boxes) p = nt::format_general(nt::read_strict(p) * factor);
    area_ = plan_drawing_size(doc_);
    if (curvas_) mesh_pending_ = true;
    step_ = step;
    de_ = step;
}

void PlanEditor::wheel(bool forward, bool over_plan) {
    const bool up = over_plan ? forward : !forward;
    set_zoom_step(step_ + (up ? 1 : -1));
}

void PlanEditor::becoming_active() {
    // The previous step stays equal to the track bar position, so the next
    // change scales by new step / shown step.
    de_ = step_;
}

void PlanEditor::project_opened() {
    new_pipeline_ = false;
    elegidoborrar_ = false;
    trazar_ = false;
    tramosborrar_.clear();
}

// --- Contours --------------------------------------------------------------------

void PlanEditor::toggle_contours() {
    curvas_ = !curvas_;
    mesh_pending_ = curvas_;
}

bool PlanEditor::contour_interval_typed(const std::string& text) {
    interval_ = text;
    return curvas_ && terrain::interval_redraws(text, terrain::Designer::Kelvaro);
}

bool PlanEditor::spin_contour_interval(int delta) {
    const long long v = nt::is_integer(interval_) ? nt::read_int_lenient(interval_) : 10;
    interval_ = std::to_string(std::clamp<long long>(v + delta, 1, terrain::max_contour_interval(terrain::Designer::Kelvaro)));
    return curvas_;
}

void PlanEditor::draw_contours(Canvas& canvas, int SX, int SY) {
    if (!curvas_) return;
    terrain::PlanLists plan;
    plan.tramosx = doc_.tramosx;
    plan.tramosy = doc_.tramosy;
    plan.tramosz = doc_.tramosz;
    plan.tramosnudos = doc_.tramosnudos;
    if (mesh_pending_) {
        RecordingCanvas scratch;
        contours_.definirmalla(plan, scratch, interval_);
        mesh_pending_ = false;
    }
    contours_.dibujarcurvas(canvas, SX, SY, plan, interval_);
}

// --- Survey import -----------------------------------------------------------------

bool PlanEditor::import_survey(const terrain::SurveyBook& book, PlanArea client_area,
                               const std::filesystem::path& last_file, FileDialogs& dialogs) {
    if (!book.exported()) return false;
    doc_.Edit1 = last_file.stem().string();
    new_command(doc_, dialogs, messages_);
    terrain::PlanLists plan;
    terrain::BoxLists boxes;
    if (!terrain::import_survey_kelvaro(book.ZCSG1, book.exported_view(), client_area, doc_.ZCSG4, plan, boxes))
        return false;
    doc_.tramosx = std::move(plan.tramosx);
    doc_.tramosy = std::move(plan.tramosy);
    doc_.tramosz = std::move(plan.tramosz);
    doc_.tramosnudos = std::move(plan.tramosnudos);
    doc_.bpbx = std::move(boxes.bpbx);
    doc_.bpby = std::move(boxes.bpby);
    doc_.bpbnudos = std::move(boxes.bpbnudos);
    doc_.bpblibre = std::move(boxes.bpblibre);
    new_pipeline_ = false;
    elegidoborrar_ = false;
    trazar_ = false;
    cx_.clear();
    cy_.clear();
    nn_.clear();
    doc_.calculate_enabled = true;
    doc_.delete_sections_enabled = has_pipelines();
    permitir(doc_, true);
    return true;
}

}  // namespace velmora::kelvaro
