#include "marulet/engine/results_export.h"

#include "common/errors.h"
#include "marulet/engine/project_files.h"

#include <string>

namespace velmora::marulet {
namespace fs = std::filesystem;

namespace {

// The 1-based number of the last row, from `from` (1-based) on, whose first
// cell is not empty; `fallback` when there is none.
int last_filled_row(const Grid& g, int from, int fallback) {
    int found = fallback;
    for (int r = from - 1; r < g.row_count(); ++r)
        if (!g(0, r).empty()) found = r + 1;
    return found;
}

void put_table(Worksheet& sheet, const Grid& g) { sheet.put_grid(g, 0, 0, true, true); }

}  // namespace

Workbook results_workbook(const Document& doc) {
    Workbook book;
    Worksheet& data = book.add_sheet("Data");
    put_table(data, doc.SG4);
    for (const char* m : {"A1:A2", "B1:C1", "D1:D2", "E1:F1", "G1:G2", "H1:H2", "I1:I2"}) data.merge(m);
    data.border("A1:I" + std::to_string(last_filled_row(doc.SG4, 4, 3)));

    Worksheet& sheet = book.add_sheet("Spreadsheet");
    put_table(sheet, doc.ZCSG5);
    for (const char* m : {"A1:A2", "B1:C1", "D1:E1", "F1:F2", "G1:G2", "H1:H2", "I1:N1", "O1:O2", "P1:P2", "Q1:Q2",
                          "R1:R2", "S1:S2", "T1:T2", "U1:U2", "V1:V2", "W1:W2"})
        sheet.merge(m);
    const int first = last_filled_row(doc.ZCSG5, 3, 2);
    const int rows = doc.ZCSG5.row_count();
    // A merge of a single cell is no merge at all.
    if (first < rows) sheet.merge("A" + std::to_string(first) + ":A" + std::to_string(rows));
    sheet.border("A1:W" + std::to_string(rows));
    return book;
}

bool write_workbook(const Document& doc, const fs::path& file) {
    try {
        results_workbook(doc).save(file);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

bool export_command(Document& doc, Messages& messages, FileDialogs& dialogs, const fs::path& projects_dir) {
    static const char* const kExtensions[] = {"xlsx", "xls", "csv"};
    FileDialogRequest request;
    request.filter = kExportFilter;
    request.filter_index = doc.export_filter;
    request.default_ext = kExtensions[doc.export_filter - 1];
    request.initial_dir = doc.project_file.empty() ? projects_dir : doc.project_file.parent_path();
    fs::path base = doc.project_file;
    request.file_name = base.replace_extension().filename().string() + " -SpreadSheet";
    const auto choice = dialogs.save(request);
    if (!choice) return false;
    doc.export_filter = choice->filter_index >= 1 && choice->filter_index <= 3 ? choice->filter_index : 1;
    if (doc.export_filter == 3) {
        write_text_export(doc, choice->path);
        return true;
    }
    if (!write_workbook(doc, choice->path)) {
        messages.notice("not saved");
        return false;
    }
    return true;
}

}  // namespace velmora::marulet
