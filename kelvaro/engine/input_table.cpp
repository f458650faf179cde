#include "kelvaro/engine/input_table.h"

#include "common/numtext.h"

#include <unordered_map>
#include <unordered_set>

namespace velmora::kelvaro {
namespace nt = velmora::numtext;

namespace {

void renumber_if_used(Grid& g, int r) {
    if (!g(col::kFrom, r).empty()) g.set_cell(col::kPipe, r, std::to_string(r - 1));
}

}  // namespace

void add_row(Document& doc) {
    Grid& g = doc.ZCSG4;
    g.set_row_count(g.row_count() + 1);
    g.clear_row(g.row_count() - 1);
}

void insert_row(Document& doc) {
    Grid& g = doc.ZCSG4;
    const int at = doc.current_row;
    if (at < kFirstPipeRow || at >= g.row_count()) return;
    g.insert_row(at);
    for (int r = at + 1; r < g.row_count(); ++r) renumber_if_used(g, r);
    g.clear_row(at);
    doc.calculate_enabled = true;
}

void delete_row(Document& doc) {
    Grid& g = doc.ZCSG4;
    const int at = doc.current_row;
    if (at < kFirstPipeRow || at >= g.row_count()) return;
    g.delete_row(at);
    for (int r = at; r < g.row_count(); ++r) renumber_if_used(g, r);
    doc.calculate_enabled = true;
}

void paste(Document& doc, const std::string& clipboard, int left, int top) {
    Grid& g = doc.ZCSG4;
    // Lines end at carriage returns; text after the last one is ignored.
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < clipboard.size(); ++i) {
        if (clipboard[i] == '\r') {
            lines.push_back(clipboard.substr(start, i - start));
            if (i + 1 < clipboard.size() && clipboard[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (lines.empty()) return;
    int last_row = -1;
    for (size_t k = 0; k < lines.size(); ++k) {
        const int row = top + static_cast<int>(k);
        if (row > 255) break;  // rows and columns of a paste are 8-bit counts
        std::vector<std::string> cells;
        size_t s = 0;
        const std::string& line = lines[k];
        for (size_t i = 0; i <= line.size(); ++i) {
            if (i == line.size() || line[i] == '\t') {
                cells.push_back(line.substr(s, i - s));
                s = i + 1;
            }
        }
        for (size_t c = 0; c < cells.size(); ++c) {
            const int column = left + static_cast<int>(c);
            if (column > 255) break;
            if (column < g.col_count() && row < g.row_count()) g.set_cell(column, row, cells[c]);
        }
        last_row = row;
    }
    if (last_row >= 0) g.set_row_count(last_row + 1);
    for (int r = kFirstPipeRow; r < g.row_count(); ++r) renumber_if_used(g, r);
    doc.calculate_enabled = true;
}

void rebuild_plan_elevations(Document& doc) {
    const Grid& g = doc.ZCSG4;
    std::unordered_map<std::string, const std::string*> elevation;
    for (int r = kFirstPipeRow; r < g.row_count(); ++r) {
        elevation[g(col::kFrom, r)] = &g(col::kElevFrom, r);
        elevation[g(col::kTo, r)] = &g(col::kElevTo, r);
    }
    TextLists z = doc.tramosz;
    z.resize(doc.tramosnudos.size());
    for (size_t k = 0; k < doc.tramosnudos.size(); ++k) {
        z[k].resize(doc.tramosnudos[k].size());
        for (size_t i = 0; i < doc.tramosnudos[k].size(); ++i) {
            auto it = elevation.find(doc.tramosnudos[k][i]);
            if (it != elevation.end()) z[k][i] = *it->second;
        }
    }
    doc.tramosz = std::move(z);
}

bool table_ready(const Document& doc) {
    const Grid& g = doc.ZCSG4;
    std::unordered_set<std::string> starts;
    for (int r = kFirstPipeRow; r < g.row_count(); ++r) starts.insert(g(col::kFrom, r));
    for (int r = kFirstPipeRow; r < g.row_count(); ++r) {
        if (g(col::kLength, r).empty() || g(col::kElevFrom, r).empty() || g(col::kElevTo, r).empty()) return false;
        if (!starts.count(g(col::kTo, r)) && nt::read_lenient(g(col::kHouseholds, r)) == 0) return false;
    }
    return true;
}

void key_released(Document& doc) {
    Grid& g = doc.ZCSG4;
    doc.cambios = true;
    const int r = doc.current_row;
    if (doc.current_col == col::kFrom && !g(col::kFrom, r).empty()) {
        g.set_cell(col::kPipe, r, std::to_string(r - 1));
        doc.calculate_enabled = true;
        for (int s = kFirstPipeRow; s < r; ++s)
            if (g(col::kTo, s) == g(col::kFrom, r)) g.set_cell(col::kElevFrom, r, g(col::kElevTo, s));
    }
    if (doc.current_col == col::kElevTo) {
        for (int s = 3; s < g.row_count(); ++s)
            if (g(col::kFrom, s) == g(col::kTo, r)) g.set_cell(col::kElevFrom, s, g(col::kElevTo, r));
    }
    rebuild_plan_elevations(doc);
    if (table_ready(doc)) permitir(doc, true);
}

}  // namespace velmora::kelvaro
