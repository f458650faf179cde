#include "marulet/engine/pipe_table.h"

#include "common/numtext.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace velmora::marulet {
namespace {

// Column 0 of every data row with a From node: its pipe number.
void renumber(Document& doc, int first_row) {
    for (int r = std::max(2, first_row); r < doc.SG4.row_count(); ++r)
        if (!denudo(doc, r).empty()) doc.SG4.set_cell(kPipeNumber, r, std::to_string(r - 1));
}

void edited(Document& doc) {
    doc.calcular_enabled = true;
    doc.cambios = true;
}

bool is_data_row(const Document& doc, int row) { return row >= 2 && row < doc.SG4.row_count(); }

}  // namespace

void select_cell(Document& doc, int col, int row) {
    doc.selected_col = col;
    doc.selected_row = row;
    doc.dplglist.clear();
    doc.dmmlist.clear();
    doc.dreallist.clear();
    const std::string& material = doc.SG4(kMaterial, row);
    for (int c = 1; c < doc.catalogue.row_count(); ++c) {
        if (doc.catalogue(1, c) != material) continue;
        doc.dplglist.push_back(doc.catalogue(2, c));
        doc.dmmlist.push_back(doc.catalogue(3, c));
        doc.dreallist.push_back(doc.catalogue(4, c));
    }
    doc.SG4.set_editor(kMaterial, ColumnEditor{EditorKind::DropDown, doc.materiallist});
    doc.SG4.set_editor(kNominalInch, ColumnEditor{EditorKind::DropDown, doc.dplglist});
    doc.SG4.set_editor(kNominalMm, ColumnEditor{EditorKind::DropDown, doc.dmmlist});
}

void choose_item(Document& doc, int col, int index) {
    const int row = doc.selected_row;
    if (!is_data_row(doc, row) || index < 0) return;
    const size_t i = static_cast<size_t>(index);
    if (col == kMaterial) {
        if (i >= doc.materiallist.size()) return;
        doc.SG4.set_cell(kMaterial, row, doc.materiallist[i]);
    } else if (col == kNominalInch || col == kNominalMm) {
        if (i >= doc.dplglist.size()) return;
        doc.SG4.set_cell(kNominalInch, row, doc.dplglist[i]);
        doc.SG4.set_cell(kNominalMm, row, doc.dmmlist[i]);
        doc.SG4.set_cell(kInternalInch, row, doc.dreallist[i]);
    } else {
        return;
    }
    edited(doc);
}

void key_released(Document& doc) {
    const int c = doc.selected_col, r = doc.selected_row;
    edited(doc);
    if (!is_data_row(doc, r)) return;
    Grid& g = doc.SG4;
    const int rows = g.row_count();
    if (c == kFrom && !denudo(doc, r).empty()) g.set_cell(kPipeNumber, r, std::to_string(r - 1));
    if (c == kGroundFrom) {
        for (int q = 2; q < rows; ++q)
            if (anudo(doc, q) == denudo(doc, r)) g.set_cell(kGroundTo, q, g(kGroundFrom, r));
    }
    if (c == kGroundTo) {
        for (int q = 2; q < rows; ++q) {
            if (denudo(doc, q) != anudo(doc, r)) continue;
            g.set_cell(kGroundFrom, q, g(kGroundTo, r));
            if (doc.ZCSG5.row_count() <= q) doc.ZCSG5.set_row_count(q + 1);
            doc.ZCSG5.set_cell(kResStartLevel, q,
                               numtext::format_general(valor(g, kGroundTo, r) - doc.parameters.trench_depth));
        }
    }
    if (c == kGroundFrom || c == kGroundTo) rebuild_tramosz(doc);

    std::unordered_set<std::string> froms;
    for (int q = 2; q < rows; ++q) froms.insert(denudo(doc, q));
    bool complete = true;
    for (int q = 2; q < rows && complete; ++q) {
        for (int col : {kLength, kGroundFrom, kGroundTo}) complete = complete && !g(col, q).empty();
        bool outlet = !froms.count(anudo(doc, q));
        if (outlet && valor(g, kLength, q) == 0) complete = false;
    }
    if (complete) doc.contours_enabled = true;
}

void add_row(Document& doc) { doc.SG4.set_row_count(doc.SG4.row_count() + 1); }

void insert_row(Document& doc) {
    const int r = doc.selected_row;
    if (!is_data_row(doc, r)) return;
    doc.SG4.insert_row(r);
    renumber(doc, r + 1);
    doc.calcular_enabled = true;
    doc.progress_counter = 0;
}

void delete_row(Document& doc) {
    const int r = doc.selected_row;
    if (!is_data_row(doc, r)) return;
    doc.SG4.delete_row(r);
    renumber(doc, r);
    doc.calcular_enabled = true;
    doc.progress_counter = 0;
}

void paste(Document& doc, const std::string& text, int left, int top) {
    // Complete lines only: a last line without a carriage return is ignored.
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    // The row and column counters address at most 255 lines and fields.
    constexpr size_t kMaxAddressed = 255;
    if (lines.size() > kMaxAddressed) lines.resize(kMaxAddressed);
    Grid& g = doc.SG4;
    int last_row = -1;
    for (size_t k = 0; k < lines.size(); ++k) {
        int row = top + static_cast<int>(k);
        if (row >= g.row_count()) break;
        size_t field_start = 0;
        for (size_t j = 0; j < kMaxAddressed; ++j) {
            size_t tab = lines[k].find('\t', field_start);
            int col = left + static_cast<int>(j);
            if (col < g.col_count())
                g.set_cell(col, row, lines[k].substr(field_start, tab == std::string::npos ? std::string::npos
                                                                                          : tab - field_start));
            if (tab == std::string::npos) break;
            field_start = tab + 1;
        }
        last_row = row;
    }
    if (last_row >= 0) g.set_row_count(last_row + 1);
    renumber(doc, 2);
    doc.calcular_enabled = true;
    doc.progress_counter = 0;
}

bool DatosOK(Document& doc, Messages& messages) {
    const Grid& g = doc.SG4;
    const int rows = g.row_count();
    const int shown_diameter = doc.unidaddiametro == kInchSign ? kNominalInch : kNominalMm;
    std::unordered_map<std::string, int> from_count;
    std::unordered_set<std::string> to_nodes;
    for (int r = 2; r < rows; ++r) {
        ++from_count[denudo(doc, r)];
        to_nodes.insert(anudo(doc, r));
    }
    std::vector<std::string> branching;
    std::vector<int> incomplete;
    for (int r = 2; r < rows; ++r) {
        bool empty = false;
        for (int c : {int{kFrom}, int{kTo}, int{kLength}, int{kGroundFrom}, int{kGroundTo}, int{kMaterial}, shown_diameter})
            empty = empty || g(c, r).empty();
        if (empty) incomplete.push_back(r - 1);
        const std::string& node = denudo(doc, r);
        if (from_count[node] > 1 && to_nodes.count(node) &&
            std::find(branching.begin(), branching.end(), node) == branching.end())
            branching.push_back(node);
    }
    if (!branching.empty()) {
        std::string text = "Nodes with one inlet and more than one oulet: ";
        for (size_t i = 0; i < branching.size(); ++i) text += (i ? "," : "") + branching[i];
        messages.warning("Warning", text);
    }
    if (!incomplete.empty()) {
        std::string text = "Pipes with incomplete Data: ";
        for (size_t i = 0; i < incomplete.size(); ++i) text += (i ? "," : "") + std::to_string(incomplete[i]);
        messages.warning("Warning", text);
    }
    return branching.empty() && incomplete.empty();
}

void rebuild_tramosz(Document& doc) {
    std::unordered_map<std::string, std::string> elevation;
    for (int r = 2; r < doc.SG4.row_count(); ++r) {
        elevation[denudo(doc, r)] = doc.SG4(kGroundFrom, r);
        elevation[anudo(doc, r)] = doc.SG4(kGroundTo, r);
    }
    PlanLists& plan = doc.plan;
    plan.tramosz.resize(plan.tramosnudos.size());
    for (size_t t = 0; t < plan.tramosnudos.size(); ++t) {
        auto& z = plan.tramosz[t];
        z.assign(plan.tramosnudos[t].size(), "");
        std::string previous;
        for (size_t s = 0; s < plan.tramosnudos[t].size(); ++s) {
            auto it = elevation.find(plan.tramosnudos[t][s]);
            if (it != elevation.end()) previous = it->second;
            z[s] = previous;
        }
    }
}

}  // namespace velmora::marulet
