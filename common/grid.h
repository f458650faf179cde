#pragma once
// A table of text cells: the model behind every table of every program.
//
// Cells are addressed (column, row) from 0. The grid has a visible column count
// and a row count; cells beyond the visible columns may be written and read
// (they are kept but neither shown nor saved by default). Shrinking the row
// count drops the rows beyond it; shrinking the column count keeps the cells of
// the columns beyond it as such extra cells. A cell may be written below the
// last row (a command that fills rows and sets the row count afterwards); it
// shows once the row count reaches it. Reading outside the stored cells gives
// "".
//
// Presentation facts that the engine owns because files and commands depend
// on them: fixed (header) rows and columns, merged cells, hidden columns,
// column widths in pixels and the editor of each column.
#include "common/commatext.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum class EditorKind { Text, DropDown, ReadOnly };

struct Merge {
    int col = 0;
    int row = 0;
    int cols = 1;  // span in columns
    int rows = 1;  // span in rows
    bool contains(int c, int r) const { return c >= col && c < col + cols && r >= row && r < row + rows; }
    bool operator==(const Merge&) const = default;
};

struct ColumnEditor {
    EditorKind kind = EditorKind::Text;
    std::vector<std::string> items;  // for DropDown
};

class Grid {
public:
    Grid() = default;
    Grid(int cols, int rows, int fixed_rows = 0, int fixed_cols = 0);

    int col_count() const { return cols_; }
    int row_count() const { return rows_; }
    void set_col_count(int cols);
    void set_row_count(int rows);
    void set_size(int cols, int rows) { set_col_count(cols); set_row_count(rows); }

    int fixed_rows() const { return fixed_rows_; }
    int fixed_cols() const { return fixed_cols_; }
    void set_fixed_rows(int n) { fixed_rows_ = n; }
    void set_fixed_cols(int n) { fixed_cols_ = n; }

    const std::string& cell(int col, int row) const;
    void set_cell(int col, int row, std::string text);
    // Shorthand used all over the engines: grid(c, r).
    const std::string& operator()(int col, int row) const { return cell(col, row); }

    // Whole rows and columns.
    std::vector<std::string> row(int row, int first_col = 0, int count = -1) const;
    void set_row(int row, const std::vector<std::string>& cells, int first_col = 0);
    std::vector<std::string> column(int col, int first_row = 0) const;
    void clear_row(int row);
    // Empties every cell of rows from first_row to the end (row count kept).
    void clear_rows_from(int first_row);
    void clear();  // every cell empty, sizes kept

    // Insert an empty row before `row` (row count grows by one) / delete a row
    // (row count shrinks by one). Cells below move.
    void insert_row(int row);
    void delete_row(int row);

    // Presentation.
    int col_width(int col) const;
    void set_col_width(int col, int width);
    bool is_hidden(int col) const;
    void set_hidden(int col, bool hidden);
    const ColumnEditor& editor(int col) const;
    void set_editor(int col, ColumnEditor editor);
    const std::vector<Merge>& merges() const { return merges_; }
    void merge(int col, int row, int cols, int rows);
    void clear_merges() { merges_.clear(); }
    // The merge that covers the cell, or nullptr.
    const Merge* merge_at(int col, int row) const;
    int default_col_width() const { return default_width_; }
    void set_default_col_width(int w) { default_width_ = w; }

    // Comma text: one line per row from first_row, cols [0, col_count) (or all
    // stored columns when include_extra).
    std::vector<std::string> to_lines(int first_row = 0, bool include_extra = false) const;
    // Replaces rows from first_row by the lines (row count = first_row + lines;
    // the column count grows to the widest line when grow_cols).
    void load_lines(const std::vector<std::string>& lines, int first_row = 0,
                    commatext::Dialect dialect = commatext::Dialect::SpacesSeparate, bool grow_cols = true);

    // Tab-separated text of a block, as copied to the clipboard.
    std::string block_text(int left, int top, int right, int bottom) const;

    // Bumped by every change of cells or sizes, so views can refresh lazily.
    unsigned long long revision() const { return revision_; }

private:
    void ensure(int col, int row);

    int cols_ = 0;
    int rows_ = 0;
    int fixed_rows_ = 0;
    int fixed_cols_ = 0;
    int default_width_ = 64;
    std::vector<std::vector<std::string>> cells_;  // [row][col], ragged
    std::vector<int> widths_;
    std::vector<bool> hidden_;
    std::vector<ColumnEditor> editors_;
    std::vector<Merge> merges_;
    unsigned long long revision_ = 0;
};

}  // namespace velmora
