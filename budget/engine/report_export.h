#pragma once
// The report written out: one comma-text file per report table, and the
// seven-sheet workbook.
#include "budget/engine/document.h"
#include "common/ports.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace velmora::budget {

// (sheet name, table) in workbook order.
std::vector<std::pair<std::string, const Grid*>> report_sheets(const Document& doc);

// "<sheet>.csv" files in `dir` ("Components.csv", ..., "Bill of quantities.csv").
// The CSV names follow the sub-tab captions.
std::vector<std::filesystem::path> write_report_csv(const Document& doc, const std::filesystem::path& dir);

// The workbook's file name in the projects folder:
// "Budget Report - <project name> - <community>", with the extension of
// the workbook format written (.xlsx).
std::filesystem::path report_workbook_name(const Document& doc);
void write_report_workbook(const Document& doc, const std::filesystem::path& file);
// Reports, "Export Budget Report to Excel": asks before replacing an existing
// file, writes it and tells the user. Returns true when written.
bool export_report(const Document& doc, const std::filesystem::path& file, Messages& messages);

}  // namespace velmora::budget
