#include "budget/engine/report_export.h"

#include "budget/engine/catalogues.h"
#include "common/textfile.h"
#include "common/workbook.h"

namespace velmora::budget {
namespace fs = std::filesystem;

std::vector<std::pair<std::string, const Grid*>> report_sheets(const Document& doc) {
    return {{"Components", &doc.SG11},         {"Main Pipeline", &doc.SG12}, {"Distribution Network", &doc.SG13},
            {"Budget", &doc.SG14},             {"Funding", &doc.SG15},       {"Bill per component", &doc.SG16},
            {"Bill of quantities", &doc.SG17}};
}

std::vector<fs::path> write_report_csv(const Document& doc, const fs::path& dir) {
    textfile::AtomicGroup group;
    std::vector<fs::path> files;
    for (const auto& [name, grid] : report_sheets(doc)) {
        files.push_back(dir / (name + ".csv"));
        group.add_lines(files.back(), table_file_lines(*grid));
    }
    group.commit();
    return files;
}

fs::path report_workbook_name(const Document& doc) {
    std::string project = doc.project_file.stem().string();
    return doc.projects_dir / ("Budget Report - " + project + " - " + doc.SG1(1, 0) + ".xlsx");
}

void write_report_workbook(const Document& doc, const fs::path& file) {
    Workbook book;
    for (const auto& [name, grid] : report_sheets(doc)) {
        Worksheet& sheet = book.add_sheet(name);
        sheet.put_grid(*grid);
        if (grid->row_count() > 0 && grid->col_count() > 0)
            sheet.border(CellRange{0, 0, grid->row_count() - 1, grid->col_count() - 1});
    }
    book.save(file);
}

bool export_report(const Document& doc, const fs::path& file, Messages& messages) {
    std::error_code ec;
    if (fs::exists(file, ec) &&
        messages.confirm("File " + file.string() + " already exists\rOk to overwrite ?") != Answer::Ok)
        return false;
    write_report_workbook(doc, file);
    messages.notice("The report has been exported to Excel File " + file.string());
    return true;
}

}  // namespace velmora::budget
