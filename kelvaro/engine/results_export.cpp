#include "kelvaro/engine/results_export.h"

#include "common/commatext.h"
#include "common/textfile.h"
#include "common/workbook.h"

namespace velmora::kelvaro {

TextList results_csv_lines(const Document& doc) {
    TextList lines{"Pipelines design"};
    for (int r = 0; r < doc.ZCSG5.row_count(); ++r) lines.push_back(commatext::write_line(doc.ZCSG5.row(r)));
    lines.push_back("Nodes hydraulic conditions");
    for (int r = 0; r < doc.ZCSG6.row_count(); ++r) lines.push_back(commatext::write_line(doc.ZCSG6.row(r)));
    return lines;
}

void write_results_csv(const Document& doc, const std::filesystem::path& file) {
    textfile::write_lines(file, results_csv_lines(doc));
}

namespace {

void put_sheet(Worksheet& sheet, const Grid& grid) {
    sheet.put_grid(grid);
    for (const auto& m : grid.merges())
        sheet.merge(CellRange{m.row, m.col, m.row + m.rows - 1, m.col + m.cols - 1});
    if (grid.row_count() > 0 && grid.col_count() > 0)
        sheet.border(CellRange{0, 0, grid.row_count() - 1, grid.col_count() - 1});
}

}  // namespace

void write_results_workbook(const Document& doc, const std::filesystem::path& file) {
    Workbook book;
    put_sheet(book.add_sheet("Spreadsheet"), doc.ZCSG5);
    put_sheet(book.add_sheet("Nodes conditions"), doc.ZCSG6);
    book.save(file);
}

}  // namespace velmora::kelvaro
