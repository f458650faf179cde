#include "tosquin/engine/sheet_output.h"

#include "common/errors.h"
#include "common/textfile.h"
#include "tosquin/engine/design.h"

#include <algorithm>
#include <cmath>

namespace fs = std::filesystem;

namespace velmora::tosquin {
namespace {

bool same_file(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// Writes the comma lines unless the file is one of the project's.
bool write_csv(const Document& doc, const fs::path& file, Messages& messages) {
    if (is_project_file(doc, file)) {
        messages.warning("Warning", kOverProjectFile);
        return false;
    }
    try {
        textfile::write_lines(file, sheet_lines(doc));
    } catch (const FileError& e) {
        messages.error(e.what());
        return false;
    }
    return true;
}

}  // namespace

std::string sheet_file_name(const Document& doc) { return doc.archivoproyecto.stem().string() + " -SpreadSheet"; }

Workbook sheet_workbook(const Grid& grid, const std::string& sheet_name) {
    Workbook book;
    book.add_sheet(sheet_name).put_grid(grid, 0, 0, false, false);
    return book;
}

bool exportarexcel(const Grid& grid, const std::string& sheet_name, const fs::path& file) {
    try {
        sheet_workbook(grid, sheet_name).save(file);
    } catch (const FileError&) {
        return false;
    }
    return true;
}

bool is_project_file(const Document& doc, const fs::path& file) {
    if (doc.archivoproyecto.empty()) return false;
    for (const char* ext : {".lin", ".des", ".top"})
        if (same_file(file, fs::path(doc.archivoproyecto).replace_extension(ext))) return true;
    return false;
}

bool export_sheet(Document& doc, FileDialogs& dialogs, Messages& messages) {
    static const char* const kExtensions[] = {"xlsx", "xls", "csv"};
    FileDialogRequest request{"Save Spreadsheet As", kSheetFilter, 1, doc.carpetaproyectos, sheet_file_name(doc),
                              kExtensions[0]};
    auto choice = dialogs.save(request);
    if (!choice) return false;
    if (choice->filter_index == 3) return write_csv(doc, choice->path, messages);
    if (is_project_file(doc, choice->path)) {
        messages.warning("Warning", kOverProjectFile);
        return false;
    }
    if (!exportarexcel(doc.StringGrid1, "Spreadsheet", choice->path)) {
        messages.notice(kNotSaved);
        return false;
    }
    return true;
}

bool save_sheet_csv(Document& doc, FileDialogs& dialogs, Messages& messages) {
    FileDialogRequest request{"Save Spreadsheet As", kCsvFilter, 1, doc.carpetaproyectos, sheet_file_name(doc) + ".csv",
                              "csv"};
    auto choice = dialogs.save(request);
    if (!choice) return false;
    return write_csv(doc, choice->path, messages);
}

void print_sheet(const Grid& sheet, Canvas& canvas, const std::string& title, const std::vector<int>& widths,
                 double page_width) {
    canvas.set_pen(Pen{colors::kBlack, 1, PenStyle::Solid});
    Font font;
    font.name = "Times New Roman";
    font.size = 12;
    font.bold = true;
    font.underline = true;
    canvas.set_font(font);
    canvas.text(0, 100, title);

    std::vector<double> left(static_cast<size_t>(sheet.col_count()) + 1, 0);
    for (int c = 0; c < sheet.col_count(); ++c) {
        const int w = c < static_cast<int>(widths.size()) ? widths[static_cast<size_t>(c)] : sheet.col_width(c);
        left[static_cast<size_t>(c) + 1] = left[static_cast<size_t>(c)] + 5.0 * w;
    }
    if (page_width > 0 && left.back() > page_width) {
        const double k = page_width / left.back();
        for (double& x : left) x = std::floor(x * k);
    }
    font.size = 7;
    font.underline = false;
    for (int r = 0; r < sheet.row_count(); ++r) {
        font.bold = r == 0;
        canvas.set_font(font);
        const double top = 300.0 + 150.0 * r;
        for (int c = 0; c < sheet.col_count(); ++c) {
            const std::string& text = sheet(c, r);
            if (text.empty()) continue;
            const double x0 = left[static_cast<size_t>(c)];
            const RectF clip{x0, top, left[static_cast<size_t>(c) + 1] - 30, top + 150};
            canvas.text_clipped(clip, x0 + 50, top + 50, text);
        }
    }
}

int print_factor(int printer_dpi, int screen_dpi, int page, int graph) {
    if (screen_dpi <= 0) return 1;
    int factor = std::max(1, printer_dpi / screen_dpi);
    if (page > 0 && graph > 0 && factor * graph > page) factor = std::max(1, page / graph);
    return factor;
}

}  // namespace velmora::tosquin
