#pragma once
// "Export to EXCEL": the pipe table and the results table written as a
// two-sheet workbook ("Data", "Spreadsheet") with the header merges and
// borders, or as one comma-separated text file.
#include "common/ports.h"
#include "common/workbook.h"
#include "marulet/engine/document.h"

#include <filesystem>

namespace velmora::marulet {

inline constexpr const char* kExportFilter =
    "Excel file (*.xlsx)|*.xlsx |97-2003 Excel file (*.xls)|*.xls|Commas separated values (*.csv)|*.csv";

// The workbook of the two tables as shown (hidden columns left out).
Workbook results_workbook(const Document& doc);
// Writes it; false when the file could not be saved.
bool write_workbook(const Document& doc, const std::filesystem::path& file);

// The command: the save dialog (filter index and default extension from the
// last choice, proposed name "<project> -SpreadSheet"), then the text file for
// the third filter or the workbook for the first two; "not saved" when the
// workbook could not be written. Returns true when a file was written.
bool export_command(Document& doc, Messages& messages, FileDialogs& dialogs,
                    const std::filesystem::path& projects_dir);

}  // namespace velmora::marulet
