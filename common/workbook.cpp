#include "common/workbook.h"

#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"

#include <xlsxwriter.h>

#include <cctype>
#include <cstdio>
#include <random>
#include <stdexcept>

namespace velmora {
namespace {

std::pair<int, int> parse_cell(const std::string& a) {
    size_t i = 0;
    int col = 0;
    while (i < a.size() && std::isalpha(static_cast<unsigned char>(a[i]))) {
        col = col * 26 + (std::toupper(static_cast<unsigned char>(a[i])) - 'A' + 1);
        ++i;
    }
    if (i == 0 || i == a.size()) throw std::invalid_argument("bad cell address: " + a);
    int row = 0;
    for (; i < a.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(a[i]))) throw std::invalid_argument("bad cell address: " + a);
        row = row * 10 + (a[i] - '0');
    }
    return {row - 1, col - 1};
}

bool inside(const CellRange& r, int row, int col) {
    return row >= r.first_row && row <= r.last_row && col >= r.first_col && col <= r.last_col;
}

}  // namespace

CellRange parse_range(const std::string& address) {
    size_t colon = address.find(':');
    auto [r1, c1] = parse_cell(address.substr(0, colon));
    if (colon == std::string::npos) return {r1, c1, r1, c1};
    auto [r2, c2] = parse_cell(address.substr(colon + 1));
    return {std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)};
}

void Worksheet::set_text(int row, int col, std::string text, bool bold) {
    cells_[{row, col}] = WorkbookCell{std::move(text), false, 0, bold};
}

void Worksheet::set_number(int row, int col, double value, bool bold) {
    cells_[{row, col}] = WorkbookCell{numtext::format_general(value), true, value, bold};
}

void Worksheet::set_value(int row, int col, const std::string& text, bool bold) {
    if (numtext::is_number(text)) {
        cells_[{row, col}] = WorkbookCell{text, true, numtext::read_strict(text), bold};
    } else {
        set_text(row, col, text, bold);
    }
}

void Worksheet::put_grid(const Grid& grid, int row0, int col0, bool skip_hidden, bool as_values) {
    for (int r = 0; r < grid.row_count(); ++r) {
        int out_col = col0;
        for (int c = 0; c < grid.col_count(); ++c) {
            if (skip_hidden && grid.is_hidden(c)) continue;
            const std::string& t = grid.cell(c, r);
            if (!t.empty()) {
                if (as_values) set_value(row0 + r, out_col, t);
                else set_text(row0 + r, out_col, t);
            }
            ++out_col;
        }
    }
}

void Worksheet::merge(const std::string& address) { merge(parse_range(address)); }
void Worksheet::border(const std::string& address) { border(parse_range(address)); }

Worksheet& Workbook::add_sheet(const std::string& name) {
    sheets_.emplace_back(name);
    return sheets_.back();
}

void Workbook::save(const std::filesystem::path& file) const {
    static std::mt19937_64 rng{std::random_device{}()};
    std::filesystem::path tmp = file.string() + "." + std::to_string(rng() % 1000000000ULL) + ".tmp";
    lxw_workbook* wb = workbook_new(tmp.c_str());
    if (!wb) throw FileError(textfile::file_message(file, "cannot be created"));

    // Formats: plain, bold, bordered, bordered bold.
    lxw_format* fmt[4];
    for (int k = 0; k < 4; ++k) {
        fmt[k] = workbook_add_format(wb);
        if (k & 1) format_set_bold(fmt[k]);
        if (k & 2) format_set_border(fmt[k], LXW_BORDER_THIN);
    }
    auto format_for = [&](bool bold, bool bordered) { return fmt[(bold ? 1 : 0) | (bordered ? 2 : 0)]; };

    for (const auto& sheet : sheets_) {
        lxw_worksheet* ws = workbook_add_worksheet(wb, sheet.name().c_str());
        if (!ws) {
            workbook_close(wb);
            std::remove(tmp.c_str());
            throw FileError(textfile::file_message(file, "invalid sheet name \"" + sheet.name() + "\""));
        }
        for (const auto& [col, w] : sheet.widths())
            worksheet_set_column(ws, static_cast<lxw_col_t>(col), static_cast<lxw_col_t>(col), w, nullptr);
        auto bordered = [&](int r, int c) {
            for (const auto& b : sheet.borders())
                if (inside(b, r, c)) return true;
            return false;
        };
        auto write = [&](int r, int c, const WorkbookCell* cell) {
            lxw_format* f = format_for(cell && cell->bold, bordered(r, c));
            auto row = static_cast<lxw_row_t>(r);
            auto col = static_cast<lxw_col_t>(c);
            if (!cell) worksheet_write_blank(ws, row, col, f);
            else if (cell->is_number) worksheet_write_number(ws, row, col, cell->number, f);
            else worksheet_write_string(ws, row, col, cell->text.c_str(), f);
        };
        for (const auto& [pos, cell] : sheet.cells()) write(pos.first, pos.second, &cell);
        // Bordered cells without content still get their border.
        for (const auto& b : sheet.borders())
            for (int r = b.first_row; r <= b.last_row; ++r)
                for (int c = b.first_col; c <= b.last_col; ++c)
                    if (!sheet.cells().count({r, c})) write(r, c, nullptr);
        for (const auto& m : sheet.merges()) {
            auto it = sheet.cells().find({m.first_row, m.first_col});
            const WorkbookCell* cell = it == sheet.cells().end() ? nullptr : &it->second;
            lxw_format* f = format_for(cell && cell->bold, bordered(m.first_row, m.first_col));
            worksheet_merge_range(ws, static_cast<lxw_row_t>(m.first_row), static_cast<lxw_col_t>(m.first_col),
                                  static_cast<lxw_row_t>(m.last_row), static_cast<lxw_col_t>(m.last_col),
                                  cell ? cell->text.c_str() : "", f);
            if (cell && cell->is_number)
                worksheet_write_number(ws, static_cast<lxw_row_t>(m.first_row), static_cast<lxw_col_t>(m.first_col),
                                       cell->number, f);
        }
    }
    lxw_error err = workbook_close(wb);
    if (err != LXW_NO_ERROR) {
        std::remove(tmp.c_str());
        throw FileError(textfile::file_message(file, lxw_strerror(err)));
    }
    std::error_code ec;
    std::filesystem::rename(tmp, file, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        throw FileError(textfile::file_message(file, "cannot replace the file"));
    }
}

}  // namespace velmora
