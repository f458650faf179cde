#include "common/grid.h"

#include <algorithm>

namespace velmora {
namespace {
const std::string kEmpty;
const ColumnEditor kTextEditor;
}  // namespace

Grid::Grid(int cols, int rows, int fixed_rows, int fixed_cols)
    : fixed_rows_(fixed_rows), fixed_cols_(fixed_cols) {
    set_col_count(cols);
    set_row_count(rows);
}

void Grid::set_col_count(int cols) {
    cols_ = std::max(0, cols);
    ++revision_;
}

void Grid::set_row_count(int rows) {
    rows_ = std::max(0, rows);
    if (static_cast<int>(cells_.size()) > rows_) cells_.resize(static_cast<size_t>(rows_));
    ++revision_;
}

const std::string& Grid::cell(int col, int row) const {
    if (row < 0 || col < 0 || row >= static_cast<int>(cells_.size())) return kEmpty;
    const auto& r = cells_[static_cast<size_t>(row)];
    if (col >= static_cast<int>(r.size())) return kEmpty;
    return r[static_cast<size_t>(col)];
}

void Grid::ensure(int col, int row) {
    if (row >= static_cast<int>(cells_.size())) cells_.resize(static_cast<size_t>(row) + 1);
    auto& r = cells_[static_cast<size_t>(row)];
    if (col >= static_cast<int>(r.size())) r.resize(static_cast<size_t>(col) + 1);
}

void Grid::set_cell(int col, int row, std::string text) {
    if (col < 0 || row < 0) return;
    if (text.empty() && cell(col, row).empty()) return;
    ensure(col, row);
    cells_[static_cast<size_t>(row)][static_cast<size_t>(col)] = std::move(text);
    ++revision_;
}

std::vector<std::string> Grid::row(int row, int first_col, int count) const {
    if (count < 0) count = cols_ - first_col;
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(std::max(0, count)));
    for (int c = first_col; c < first_col + count; ++c) out.push_back(cell(c, row));
    return out;
}

void Grid::set_row(int row, const std::vector<std::string>& cells, int first_col) {
    for (size_t k = 0; k < cells.size(); ++k) set_cell(first_col + static_cast<int>(k), row, cells[k]);
}

std::vector<std::string> Grid::column(int col, int first_row) const {
    std::vector<std::string> out;
    for (int r = first_row; r < rows_; ++r) out.push_back(cell(col, r));
    return out;
}

void Grid::clear_row(int row) {
    if (row >= 0 && row < static_cast<int>(cells_.size())) {
        cells_[static_cast<size_t>(row)].clear();
        ++revision_;
    }
}

void Grid::clear_rows_from(int first_row) {
    for (int r = std::max(0, first_row); r < static_cast<int>(cells_.size()); ++r) cells_[static_cast<size_t>(r)].clear();
    ++revision_;
}

void Grid::clear() {
    cells_.clear();
    ++revision_;
}

void Grid::insert_row(int row) {
    if (row < 0) row = 0;
    if (row > rows_) row = rows_;
    ++rows_;
    if (row <= static_cast<int>(cells_.size())) cells_.insert(cells_.begin() + row, std::vector<std::string>{});
    ++revision_;
}

void Grid::delete_row(int row) {
    if (row < 0 || row >= rows_) return;
    if (row < static_cast<int>(cells_.size())) cells_.erase(cells_.begin() + row);
    --rows_;
    ++revision_;
}

int Grid::col_width(int col) const {
    if (col >= 0 && col < static_cast<int>(widths_.size()) && widths_[static_cast<size_t>(col)] >= 0)
        return widths_[static_cast<size_t>(col)];
    return default_width_;
}

void Grid::set_col_width(int col, int width) {
    if (col < 0) return;
    if (col >= static_cast<int>(widths_.size())) widths_.resize(static_cast<size_t>(col) + 1, -1);
    widths_[static_cast<size_t>(col)] = width;
    ++revision_;
}

bool Grid::is_hidden(int col) const {
    return col >= 0 && col < static_cast<int>(hidden_.size()) && hidden_[static_cast<size_t>(col)];
}

void Grid::set_hidden(int col, bool hidden) {
    if (col < 0) return;
    if (col >= static_cast<int>(hidden_.size())) hidden_.resize(static_cast<size_t>(col) + 1, false);
    hidden_[static_cast<size_t>(col)] = hidden;
    ++revision_;
}

const ColumnEditor& Grid::editor(int col) const {
    if (col >= 0 && col < static_cast<int>(editors_.size())) return editors_[static_cast<size_t>(col)];
    return kTextEditor;
}

void Grid::set_editor(int col, ColumnEditor editor) {
    if (col < 0) return;
    if (col >= static_cast<int>(editors_.size())) editors_.resize(static_cast<size_t>(col) + 1);
    editors_[static_cast<size_t>(col)] = std::move(editor);
    ++revision_;
}

void Grid::merge(int col, int row, int cols, int rows) {
    Merge m{col, row, std::max(1, cols), std::max(1, rows)};
    // A new merge replaces any merge it overlaps.
    std::erase_if(merges_, [&](const Merge& o) {
        return o.col < m.col + m.cols && m.col < o.col + o.cols && o.row < m.row + m.rows && m.row < o.row + o.rows;
    });
    if (m.cols > 1 || m.rows > 1) merges_.push_back(m);
    ++revision_;
}

const Merge* Grid::merge_at(int col, int row) const {
    for (const auto& m : merges_)
        if (m.contains(col, row)) return &m;
    return nullptr;
}

std::vector<std::string> Grid::to_lines(int first_row, bool include_extra) const {
    std::vector<std::string> lines;
    for (int r = first_row; r < rows_; ++r) {
        int n = cols_;
        if (include_extra && r < static_cast<int>(cells_.size()))
            n = std::max(n, static_cast<int>(cells_[static_cast<size_t>(r)].size()));
        lines.push_back(commatext::write_line(row(r, 0, n)));
    }
    return lines;
}

void Grid::load_lines(const std::vector<std::string>& lines, int first_row, commatext::Dialect dialect,
                      bool grow_cols) {
    set_row_count(first_row + static_cast<int>(lines.size()));
    for (size_t k = 0; k < lines.size(); ++k) {
        int r = first_row + static_cast<int>(k);
        clear_row(r);
        auto items = commatext::read_line(lines[k], dialect);
        if (grow_cols && static_cast<int>(items.size()) > cols_) set_col_count(static_cast<int>(items.size()));
        set_row(r, items);
    }
}

std::string Grid::block_text(int left, int top, int right, int bottom) const {
    std::string out;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            if (c > left) out.push_back('\t');
            out += cell(c, r);
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace velmora
