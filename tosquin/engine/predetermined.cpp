#include "tosquin/engine/predetermined.h"

#include "common/numtext.h"
#include "tosquin/engine/design.h"
#include "tosquin/engine/graph.h"

#include <algorithm>
#include <cctype>

namespace velmora::tosquin {
namespace {

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool starts_with(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

std::string incomplete_diameters(const Document& doc) {
    const Grid& g = doc.predeterminados;
    for (int r = 1; r < g.row_count(); ++r) {
        bool to = !g(2, r).empty(), diameter = !g(3, r).empty() || !g(4, r).empty();
        if (to != diameter) return kIncompleteData;
    }
    return {};
}

}  // namespace

DiameterLists diameter_lists(const ReferenceData& ref) {
    DiameterLists l;
    const Grid& c = ref.catalogo;
    for (int r = 1; r < c.row_count(); ++r) {
        if (c(2, r).empty() || std::find(l.dpul.begin(), l.dpul.end(), c(2, r)) != l.dpul.end()) continue;
        l.dpul.push_back(c(2, r));
        l.dmm.push_back(c(6, r));
    }
    return l;
}

void open_predetermined_diameters(Document& doc) {
    Grid& g = doc.predeterminados;
    g.set_row_count(doc.nsecciones + 1);
    for (int j = 1; j <= doc.nsecciones + 1; ++j) {
        size_t k = static_cast<size_t>(j - 1);
        if (j <= doc.nsecciones) g.set_cell(0, j, std::to_string(j - 1));
        g.set_cell(1, j, k < doc.seccionesx.size() ? doc.seccionesx[k] : std::string());
    }
}

void predetermined_key_released(Document& doc, int row) {
    doc.cambios = true;
    if (doc.predeterminados(2, row).empty()) {
        doc.predeterminados.set_cell(3, row, "");
        doc.predeterminados.set_cell(4, row, "");
    }
}

void pick_predetermined_diameter(Document& doc, const DiameterLists& lists, int col, int row, int index) {
    if (index < 0 || static_cast<size_t>(index) >= lists.dpul.size() || (col != 3 && col != 4)) return;
    doc.predeterminados.set_cell(3, row, lists.dpul[static_cast<size_t>(index)]);
    doc.predeterminados.set_cell(4, row, lists.dmm[static_cast<size_t>(index)]);
    doc.cambios = true;
}

std::string check_predetermined_diameters(const Document& doc) {
    if (auto m = incomplete_diameters(doc); !m.empty()) return m;
    const Grid& g = doc.predeterminados;
    const double last = doc.listacam.empty() ? 0 : numtext::val(doc.listacam.back());
    for (int r = 1; r < g.row_count(); ++r) {
        if (g(2, r).empty()) continue;
        double to = numtext::read_lenient(g(2, r));
        double next_from = numtext::read_lenient(g(1, r + 1));
        if (!(to < next_from) || !(to < last)) return kBeyondBox;
    }
    return {};
}

std::string close_predetermined_diameters(const Document& doc) { return incomplete_diameters(doc); }

std::string type_in_fixed_section(Document& doc, int col, int row, const std::string& prefix, char typed) {
    doc.cambios = true;
    Grid& g = doc.tramosfijos;
    const Grid& c = doc.ref.catalogo;
    auto find = [&](const std::string& p) {
        for (int r = 1; r < c.row_count(); ++r) {
            bool match = col == 2 ? starts_with(upper(c(1, r)), upper(p)) : starts_with(c(3, r), p);
            if (match) return r;
        }
        return -1;
    };
    auto write = [&](int r) {
        g.set_cell(2, row, c(1, r));
        g.set_cell(3, row, c(3, r));
    };
    std::string p = prefix + typed;
    if (int r = find(p); r >= 0) {
        write(r);
        return p;
    }
    g.set_cell(col, row, "");
    if (col == 2) return {};
    p = std::string(1, typed);
    if (int r = find(p); r >= 0) {
        write(r);
        return p;
    }
    return {};
}

void delete_fixed_section(Document& doc, int row) {
    Grid& g = doc.tramosfijos;
    if (row < 1 || row >= g.row_count()) return;
    int rows = g.row_count();
    g.delete_row(row);
    g.set_row_count(rows);
    doc.cambios = true;
}

void insert_fixed_section(Document& doc, int row) {
    Grid& g = doc.tramosfijos;
    if (row < 1 || row >= g.row_count()) return;
    g.insert_row(row);
    doc.cambios = true;
}

void clear_fixed_sections(Document& doc) {
    doc.tramosfijos.clear_rows_from(1);
    doc.cambios = true;
}

std::string check_fixed_sections(const Document& doc) {
    const Grid& g = doc.tramosfijos;
    for (int r = 1; r < g.row_count(); ++r) {
        bool some_empty = false;
        double sum = 0;
        for (int c = 0; c < 4; ++c) {
            some_empty = some_empty || g(c, r).empty();
            sum += numtext::read_lenient(g(c, r));
        }
        if (some_empty && sum > 0) return kIncompleteData;
    }
    return {};
}

std::string close_fixed_sections(const Document& doc) {
    const Grid& g = doc.tramosfijos;
    for (int r = 1; r < g.row_count(); ++r)
        if (g(2, r).empty() != g(3, r).empty()) return kIncompleteData;
    return {};
}

int count_fixed_sections(const Document& doc) {
    int n = 0;
    for (int r = 1; r < doc.tramosfijos.row_count(); ++r)
        if (!doc.tramosfijos(0, r).empty()) ++n;
    return n;
}

bool after_predetermined_dialog(Document& doc, Messages& messages, Canvas& canvas) {
    doc.ntramosfijos = count_fixed_sections(doc);
    if (!doc.cambios) return false;
    clear_graph(doc);
    dibujargrafica(doc, canvas);
    calcular(doc, messages, &canvas, true);
    return true;
}

}  // namespace velmora::tosquin
