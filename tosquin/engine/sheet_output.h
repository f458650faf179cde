#pragma once
// The result sheet leaves the program: printed (graph on a landscape page,
// sheet on a portrait page), written as a workbook with one worksheet
// "Spreadsheet", or written as comma lines.
#include "tosquin/engine/document.h"

#include "common/canvas.h"
#include "common/ports.h"
#include "common/workbook.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::tosquin {

inline constexpr const char* kSheetFilter =
    "Excel file (*.xlsx)|*.xlsx |97-2003 Excel file (*.xls)|*.xls|Commas separated values (*.csv)|*.csv";
inline constexpr const char* kCsvFilter = "Commas separated values (*.csv)|*.csv";
inline constexpr const char* kNotSaved = "Not saved";
inline constexpr const char* kOverProjectFile =
    "The spreadsheet cannot be written over the project's own files. Choose another name.";

// The proposed name: the project file's name without its extension and
// " -SpreadSheet".
std::string sheet_file_name(const Document& doc);

// The sheet as a workbook: one worksheet named `sheet_name`, every cell as
// text from A1.
Workbook sheet_workbook(const Grid& grid, const std::string& sheet_name);
// `exportarexcel`: writes that workbook; false when it could not be saved.
bool exportarexcel(const Grid& grid, const std::string& sheet_name, const std::filesystem::path& file);

// Whether `file` is one of the project's own files (".lin", ".des", ".top").
bool is_project_file(const Document& doc, const std::filesystem::path& file);

// "Excel" and "Export to Excel": the save dialog with the three filters;
// returns whether a file was written.
bool export_sheet(Document& doc, FileDialogs& dialogs, Messages& messages);
// "CSV": the save dialog for comma lines only.
bool save_sheet_csv(Document& doc, FileDialogs& dialogs, Messages& messages);

// The sheet printed on one page of printer pixels: the title, then every row
// in its columns laid out from the screen widths of the sheet's columns (five
// printer pixels per screen pixel, narrowed to fit `page_width` when given).
void print_sheet(const Grid& sheet, Canvas& canvas, const std::string& title, const std::vector<int>& screen_widths,
                 double page_width = 0);

// Factors of the printed graph: printer dots per inch over screen pixels per
// inch (integer division, at least 1), made smaller when the graph would
// otherwise run off the page (`page` and `graph` sizes in their own pixels,
// 0 when unknown).
int print_factor(int printer_dpi, int screen_dpi, int page = 0, int graph = 0);

}  // namespace velmora::tosquin
