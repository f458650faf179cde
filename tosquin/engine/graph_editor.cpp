#include "tosquin/engine/graph_editor.h"

#include "common/numtext.h"
#include "tosquin/engine/design.h"
#include "tosquin/engine/graph.h"

#include <cmath>
#include <filesystem>

namespace velmora::tosquin {
namespace {

using numtext::format_fixed;
using numtext::val;

std::string whole(double x) { return format_fixed(std::nearbyint(x) + 0.0, 0); }

int box_count(const Document& doc) {
    int n = std::min<int>(static_cast<int>(doc.seccionesx.size()), static_cast<int>(doc.seccionesz.size())) - 2;
    return std::max(0, n);
}

// Index (1 ... boxes) of the first box whose erase window holds the cursor;
// -1 when none.
int box_at(const Document& doc, double cx, double cz) {
    for (int i = 1; i <= box_count(doc); ++i) {
        double x = val(doc.seccionesx[static_cast<size_t>(i)]);
        double z = val(doc.seccionesz[static_cast<size_t>(i)]);
        if (x - 30 <= cx && cx <= x + 30 && z - 15 <= cz && cz < z + 16) return i;
    }
    return -1;
}

// Removes the first valve whose window (metres left, right, below, above
// the valve) holds the cursor. Returns whether one was removed.
bool erase_valve(std::vector<std::string>& xs, std::vector<std::string>& zs, int& count, double cx, double cz,
                 double left, double right, double below, double above) {
    for (size_t k = 0; k < xs.size() && k < zs.size(); ++k) {
        double x = val(xs[k]), z = val(zs[k]);
        if (x - left <= cx && cx <= x + right && z - below <= cz && cz < z + above) {
            xs.erase(xs.begin() + static_cast<long>(k));
            zs.erase(zs.begin() + static_cast<long>(k));
            --count;
            return true;
        }
    }
    return false;
}

// Inserts a box at the cursor before the end of the section that holds it,
// when it lies between the elevations of the section's ends.
bool place_box(Document& doc, double cx, double cz) {
    const int sections = static_cast<int>(std::min(doc.seccionesx.size(), doc.seccionesz.size())) - 1;
    if (sections < 1) return false;
    int k = sections - 1;
    for (int j = 0; j < sections; ++j)
        if (val(doc.seccionesx[static_cast<size_t>(j + 1)]) > cx) {
            k = j;
            break;
        }
    const double z_start = val(doc.seccionesz[static_cast<size_t>(k)]);
    const double z_end = val(doc.seccionesz[static_cast<size_t>(k + 1)]);
    if (!(z_start > cz && z_end < cz)) return false;
    doc.seccionesx.insert(doc.seccionesx.begin() + k + 1, format_fixed(cx, 2));
    doc.seccionesz.insert(doc.seccionesz.begin() + k + 1, format_fixed(cz, 2));
    ++doc.nsecciones;
    return true;
}

bool inside_predetermined_stretch(const Document& doc, double cx) {
    const Grid& g = doc.predeterminados;
    for (int r = 1; r < g.row_count(); ++r)
        if (!g(0, r).empty() && numtext::read_lenient(g(1, r)) < cx && cx < numtext::read_lenient(g(2, r)))
            return true;
    return false;
}

void finish_mode(Document& doc, GraphEditor& e) {
    doc.cambios = true;
    e.cursor = GraphCursor::Arrow;
    e.mode = EditMode::None;
}

}  // namespace

void set_edit_mode(GraphEditor& e, EditMode mode) {
    e.mode = mode;
    e.dragging = false;
    switch (mode) {
        case EditMode::None: e.cursor = GraphCursor::Arrow; break;
        case EditMode::SetBox: e.cursor = GraphCursor::SetBox; break;
        case EditMode::SetAirValve: e.cursor = GraphCursor::SetAirValve; break;
        case EditMode::SetWashoutValve: e.cursor = GraphCursor::SetWashoutValve; break;
        case EditMode::Erase: e.cursor = GraphCursor::Erase; break;
        case EditMode::MoveBox: e.cursor = GraphCursor::MoveBox; break;
    }
}

void graph_mouse_move(Document& doc, GraphEditor& e, double px) {
    const GraphState& g = doc.graph;
    if (!g.present || g.sx == 0) return;
    double cx = (px - 70) / g.sx + g.xmin;
    double cz;
    if (cx <= g.xmin) {
        cx = g.xmin;
        cz = g.zfirst;
    } else if (cx >= g.xmax) {
        cx = g.xmax;
        cz = g.zlast;
    } else {
        cz = calculocota(doc, cx);
    }
    e.cursor_x = cx;
    e.cursor_z = cz;
    doc.status_panels[0] = "x:y=" + whole(cx) + ":" + whole(cz);

    const Grid& s = doc.StringGrid1;
    for (int r = 2; r < s.row_count(); ++r) {
        const double from = numtext::read_lenient(s(0, r)), to = numtext::read_lenient(s(1, r));
        const double dist = numtext::read_lenient(s(2, r));
        if (!(from <= cx && cx < to) || dist == 0) continue;
        const double slope = numtext::read_lenient(s(6, r)) / dist;
        const double pressure = numtext::read_lenient(s(10, r)) - (cx - from) * slope - cz;
        doc.status_panels[2] = "Dynamic pressure=" + whole(pressure) + " " + doc.ref.units.head_loss;
    }
    const int sections = static_cast<int>(std::min(doc.seccionesx.size(), doc.seccionesz.size())) - 1;
    for (int j = 0; j < sections; ++j) {
        const double start = val(doc.seccionesx[static_cast<size_t>(j)]);
        const double end = val(doc.seccionesx[static_cast<size_t>(j + 1)]);
        if (start <= cx && cx < end) {
            doc.status_panels[1] = "Static pressure=" + whole(val(doc.seccionesz[static_cast<size_t>(j)]) - cz) + " m";
            break;
        }
    }
}

GraphEdit graph_click(Document& doc, GraphEditor& e, Messages& messages) {
    if (!doc.graph.present) return {};
    const double cx = e.cursor_x, cz = e.cursor_z;
    switch (e.mode) {
        case EditMode::None:
        case EditMode::MoveBox: return {};
        case EditMode::SetBox:
            if (inside_predetermined_stretch(doc, cx)) {
                e.cursor = GraphCursor::Arrow;
                messages.notice(kBoxInsidePredetermined);
                return {};
            }
            finish_mode(doc, e);
            if (place_box(doc, cx, cz)) return {true, false};
            return {};
        case EditMode::SetAirValve:
        case EditMode::SetWashoutValve: {
            const bool air = e.mode == EditMode::SetAirValve;
            finish_mode(doc, e);
            (air ? doc.xva : doc.xvl).push_back(format_fixed(cx, 2));
            (air ? doc.yva : doc.yvl).push_back(format_fixed(cz, 2));
            ++(air ? doc.nvalvulasaire : doc.nvalvulaslavado);
            return {true, false};
        }
        case EditMode::Erase: {
            finish_mode(doc, e);
            GraphEdit edit;
            if (int i = box_at(doc, cx, cz); i > 0) {
                doc.seccionesx.erase(doc.seccionesx.begin() + i);
                doc.seccionesz.erase(doc.seccionesz.begin() + i);
                --doc.nsecciones;
                if (i < doc.predeterminados.row_count()) doc.predeterminados.delete_row(i);
                edit = {true, true};
            }
            if (erase_valve(doc.xva, doc.yva, doc.nvalvulasaire, cx, cz, 10, 70, 15, 16)) edit.redraw = true;
            if (erase_valve(doc.xvl, doc.yvl, doc.nvalvulaslavado, cx, cz, 10, 100, 10, 10)) edit.redraw = true;
            return edit;
        }
    }
    return {};
}

void graph_press(Document& doc, GraphEditor& e) {
    if (!doc.graph.present || e.mode != EditMode::MoveBox) return;
    doc.cambios = true;
    set_edit_mode(e, EditMode::None);
    e.cursor = GraphCursor::Dragging;
    e.dragging = true;
    e.iant = box_at(doc, e.cursor_x, e.cursor_z);
    if (e.iant < 0) return;
    const auto i = static_cast<size_t>(e.iant);
    e.xant_text = doc.seccionesx[i];
    e.zant_text = doc.seccionesz[i];
    e.xant = val(e.xant_text);
    doc.seccionesx.erase(doc.seccionesx.begin() + e.iant);
    doc.seccionesz.erase(doc.seccionesz.begin() + e.iant);
    --doc.nsecciones;
}

GraphEdit graph_release(Document& doc, GraphEditor& e) {
    if (!e.dragging) return {};
    e.dragging = false;
    e.cursor = GraphCursor::Arrow;
    const int iant = e.iant;
    e.iant = -1;
    if (iant < 0) return {};
    if (place_box(doc, e.cursor_x, e.cursor_z)) {
        if (iant + 1 < doc.predeterminados.row_count()) doc.predeterminados.set_cell(2, iant + 1, "");
        return {true, true};
    }
    // The box goes back exactly where it was.
    doc.seccionesx.insert(doc.seccionesx.begin() + iant, e.xant_text);
    doc.seccionesz.insert(doc.seccionesz.begin() + iant, e.zant_text);
    ++doc.nsecciones;
    return {};
}

GraphEdit restart_design(Document& doc, Messages& messages) {
    if (!doc.graph.present) return {};
    if (messages.question(kRestartQuestion, "Warning") != Answer::Yes) return {};
    // Only the design file of a project that was opened or saved: a project
    // still named after its title must not delete another project's file.
    if (doc.has_file && !doc.archivoproyecto.empty()) {
        std::error_code ec;
        std::filesystem::remove(std::filesystem::path(doc.archivoproyecto).replace_extension(".des"), ec);
    }
    single_section(doc);
    doc.ntramosfijos = 0;
    doc.predeterminados.clear_rows_from(1);
    doc.tramosfijos.clear_rows_from(1);
    doc.commands.open = false;
    return {true, true};
}

void redraw_graph(Document& doc, Messages& messages, Canvas& canvas, bool warn) {
    clear_graph(doc);
    dibujargrafica(doc, canvas);
    calcular(doc, messages, &canvas, warn);
}

}  // namespace velmora::tosquin
