#include "kelvaro/engine/results_export.h"

#include "common/commatext.h"
#include "common/errors.h"
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

const char* const kExportFilter =
    "Excel file 97-2003 Excel file (*.xls)|*.xls|Commas separated values (*.csv)|*.csv";

bool export_command(Document& doc, FileDialogs& dialogs, Messages& messages) {
    FileDialogRequest request;
    request.filter = kExportFilter;
    request.filter_index = doc.export_filter == 2 ? 2 : 1;
    request.initial_dir = doc.carpetaproyectos;
    request.default_ext = request.filter_index == 2 ? "csv" : "xls";
    request.file_name = doc.last_file.stem().string() + " -SpreadSheet";
    auto choice = dialogs.save(request);
    if (!choice) return false;
    doc.export_filter = choice->filter_index == 2 ? 2 : 1;
    try {
        if (doc.export_filter == 1) {
            write_results_workbook(doc, choice->path);
            messages.notice("The file has been saved");
        } else {
            write_results_csv(doc, choice->path);
            std::filesystem::path last = choice->path;
            doc.last_file = last.replace_extension(".csv");
        }
    } catch (const FileError& e) {
        messages.error(e.what());
        return false;
    }
    return true;
}

}  // namespace velmora::kelvaro
