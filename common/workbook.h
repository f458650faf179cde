#pragma once
// A workbook of sheets of cells with merges and borders, written as .xlsx.
// Rows and columns count from 0 here (A1 is row 0, column 0).
#include "common/grid.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

struct WorkbookCell {
    std::string text;
    bool is_number = false;
    double number = 0;
    bool bold = false;
};

struct CellRange {
    int first_row = 0, first_col = 0, last_row = 0, last_col = 0;
};

class Worksheet {
public:
    explicit Worksheet(std::string name) : name_(std::move(name)) {}
    const std::string& name() const { return name_; }

    void set_text(int row, int col, std::string text, bool bold = false);
    void set_number(int row, int col, double value, bool bold = false);
    // A number when the text is one ("." decimals), otherwise text.
    void set_value(int row, int col, const std::string& text, bool bold = false);
    // Every cell of the grid from (first_col, first_row), skipping hidden
    // columns when asked, placed from (row0, col0).
    void put_grid(const Grid& grid, int row0 = 0, int col0 = 0, bool skip_hidden = false, bool as_values = true);
    void merge(const CellRange& r) { merges_.push_back(r); }
    // "A1:C2" style address.
    void merge(const std::string& address);
    void border(const CellRange& r) { borders_.push_back(r); }
    void border(const std::string& address);
    void set_col_width(int col, double chars) { widths_[col] = chars; }

    const std::map<std::pair<int, int>, WorkbookCell>& cells() const { return cells_; }
    const std::vector<CellRange>& merges() const { return merges_; }
    const std::vector<CellRange>& borders() const { return borders_; }
    const std::map<int, double>& widths() const { return widths_; }

private:
    std::string name_;
    std::map<std::pair<int, int>, WorkbookCell> cells_;  // (row, col)
    std::vector<CellRange> merges_;
    std::vector<CellRange> borders_;
    std::map<int, double> widths_;
};

class Workbook {
public:
    Worksheet& add_sheet(const std::string& name);
    const std::vector<Worksheet>& sheets() const { return sheets_; }
    // Writes atomically; throws FileError naming the file on failure.
    void save(const std::filesystem::path& file) const;

private:
    std::vector<Worksheet> sheets_;
};

// "B3" -> (row 2, col 1); "A1:C2" -> range. Throws std::invalid_argument.
CellRange parse_range(const std::string& address);

}  // namespace velmora
