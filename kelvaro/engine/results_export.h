#pragma once
// Export of the result tables: comma-separated text and a two-sheet workbook.
#include "common/ports.h"
#include "kelvaro/engine/document.h"

#include <filesystem>

namespace velmora::kelvaro {

// "Pipelines design", every ZCSG5 row from row 0 as comma text, "Nodes
// hydraulic conditions", every ZCSG6 row.
TextList results_csv_lines(const Document& doc);
void write_results_csv(const Document& doc, const std::filesystem::path& file);
// Sheets "Spreadsheet" (ZCSG5) and "Nodes conditions" (ZCSG6), with borders.
void write_results_workbook(const Document& doc, const std::filesystem::path& file);

extern const char* const kExportFilter;  // workbook "(*.xls)" first, comma-separated "(*.csv)" second

// "Export to EXCEL": the save dialog (proposed name "<last file> -SpreadSheet",
// the filter chosen last time), then the workbook with its message or the
// comma-separated file, which becomes the last file. Returns true when a file
// was written.
bool export_command(Document& doc, FileDialogs& dialogs, Messages& messages);

}  // namespace velmora::kelvaro
