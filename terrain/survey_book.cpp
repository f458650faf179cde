#include "terrain/survey_book.h"

#include "common/errors.h"
#include "common/numtext.h"
#include "common/ports.h"
#include "common/textfile.h"
#include "common/workbook.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

namespace velmora::terrain {
namespace {

SurveyColumns planimetry_columns() {
    SurveyColumns c;
    c.lower = 3;
    c.middle = 4;
    c.upper = 5;
    c.zenith = 6;
    c.azimuth = 9;
    c.hi = 12;
    c.households = 13;
    c.elevation_from = 14;
    c.elevation_to = 15;
    c.distance = 16;
    c.partial_x = 17;
    c.partial_y = 18;
    c.total_x = 19;
    c.total_y = 20;
    c.count = 21;
    return c;
}

SurveyColumns altimetry_columns() {
    SurveyColumns c;
    c.lower = 3;
    c.middle = 4;
    c.upper = 5;
    c.zenith = 6;
    c.hi = 9;
    c.elevation_from = 10;
    c.elevation_to = 11;
    c.distance = 12;
    c.count = 13;
    return c;
}

SurveyColumns total_columns() {
    SurveyColumns c;
    c.distance = 3;
    c.households = 4;
    c.from_x = 5;
    c.from_y = 6;
    c.from_z = 7;
    c.to_x = 8;
    c.to_y = 9;
    c.to_z = 10;
    c.count = 11;
    return c;
}

double radians(double degrees) { return degrees * (std::numbers::pi / 180.0); }

// Header of one column spanning both header rows.
void tall(Grid& g, int col, const char* text) {
    g.set_cell(col, 0, text);
    g.merge(col, 0, 1, 2);
}

// Header over several columns, with the sub-headers in row 1.
void group(Grid& g, int col, const char* text, std::initializer_list<const char*> subs) {
    g.set_cell(col, 0, text);
    int c = col;
    for (const char* s : subs) g.set_cell(c++, 1, s);
    g.merge(col, 0, static_cast<int>(subs.size()), 1);
}

std::string lower_case(std::string s) {
    for (auto& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

}  // namespace

const SurveyColumns& survey_columns(SurveyView view) {
    static const SurveyColumns planimetry = planimetry_columns();
    static const SurveyColumns altimetry = altimetry_columns();
    static const SurveyColumns total = total_columns();
    switch (view) {
        case SurveyView::Planimetry: return planimetry;
        case SurveyView::Altimetry: return altimetry;
        case SurveyView::TotalCoordinates: return total;
    }
    return planimetry;
}

double angle_degrees(double deg, double min, double sec) { return deg + min / 60 + sec / 3600; }

std::filesystem::path with_extension_rule(const std::filesystem::path& chosen, const std::string& ext) {
    if (lower_case(chosen.extension().string()) == lower_case(ext)) return chosen;
    return std::filesystem::path(chosen.string() + ext);
}

SurveyBook::SurveyBook(Designer designer) : ZCSG1(21, 5, 2, 0), designer_(designer) {
    write_headers();
    for (int r = 2; r < ZCSG1.row_count(); ++r) ZCSG1.set_cell(0, r, numtext::format_int(r - 1));
}

void SurveyBook::set_LFE(std::string text) {
    lfe_ = std::move(text);
    salvado_ = false;
}

void SurveyBook::set_initial_elevation(std::string text) {
    initial_elevation_ = std::move(text);
    salvado_ = false;
}

std::string SurveyBook::view_caption(SurveyView view) const {
    switch (view) {
        case SurveyView::Planimetry: return "Show Planimetry Columns";
        case SurveyView::Altimetry: return "Hide Planimetry Columns";
        case SurveyView::TotalCoordinates:
            return designer_ == Designer::Marulet ? "Coordenadas totales" : "Total coordinates";
    }
    return {};
}

void SurveyBook::write_headers() {
    Grid& g = ZCSG1;
    g.clear_row(0);
    g.clear_row(1);
    g.clear_merges();
    g.set_col_count(survey_columns(view_).count);
    tall(g, 0, "Pipe #");
    group(g, 1, "Node", {"From #", "To #"});
    switch (view_) {
        case SurveyView::Planimetry:
            group(g, 3, "Stadia Wires", {"Lower", "Middle", "Upper"});
            group(g, 6, "Zenith", {"Deg", "Min", "Sec"});
            group(g, 9, "Azimuth", {"Deg", "Min", "Sec"});
            tall(g, 12, "H.I.");
            tall(g, 13, "Households");
            group(g, 14, "Elevation", {"From", "To"});
            tall(g, 16, "Distance");
            group(g, 17, "Partial Coordinates", {"X", "Y"});
            group(g, 19, "Total Coordinates", {"X", "Y"});
            break;
        case SurveyView::Altimetry:
            group(g, 3, "Stadia Wires", {"Lower", "Middle", "Upper"});
            group(g, 6, "Zenith", {"Deg", "Min", "Sec"});
            tall(g, 9, "H.I.");
            group(g, 10, "Elevation", {"From", "To"});
            tall(g, 12, "Distance");
            break;
        case SurveyView::TotalCoordinates:
            tall(g, 3, "Distance");
            tall(g, 4, "Households");
            group(g, 5, "Total coordinates - From", {"X", "Y", "Z"});
            group(g, 8, "Total coordinates - to", {"X", "Y", "Z"});
            break;
    }
}

void SurveyBook::set_view(SurveyView view) {
    view_ = view;
    write_headers();
    if (designer_ == Designer::Marulet) return;
    for (int r = 2; r < ZCSG1.row_count(); ++r) ZCSG1.set_cell(0, r, numtext::format_int(r - 1));
    export_enabled_ = false;
}

double SurveyBook::Celda(int ACol, int ARow) const { return numtext::read_lenient(ZCSG1.cell(ACol, ARow)); }

int SurveyBook::end_of_data() const {
    const int to = survey_columns(view_).to;
    for (int r = 2; r < ZCSG1.row_count(); ++r)
        if (Celda(to, r) == 0) return r;
    return ZCSG1.row_count();
}

void SurveyBook::write_number(int col, int row, double value) {
    ZCSG1.set_cell(col, row, numtext::format_general(value));
}

double SurveyBook::length_factor() const { return numtext::read_strict(lfe_); }

void SurveyBook::write_upper(int r) {
    const auto& c = survey_columns(view_);
    write_number(c.upper, r, 2 * Celda(c.middle, r) - Celda(c.lower, r));
}

void SurveyBook::write_distance(int r) {
    const auto& c = survey_columns(view_);
    double f = length_factor();
    double s = Celda(c.upper, r) - Celda(c.middle, r);
    double z = radians(angle_degrees(Celda(c.zenith, r), Celda(c.zenith + 1, r), Celda(c.zenith + 2, r)));
    write_number(c.distance, r, numtext::round_to(f * 200 * s * std::sin(z), 2));
}

void SurveyBook::write_elevation_to(int r) {
    const auto& c = survey_columns(view_);
    double s = Celda(c.upper, r) - Celda(c.middle, r);
    double z = radians(angle_degrees(Celda(c.zenith, r), Celda(c.zenith + 1, r), Celda(c.zenith + 2, r)));
    double e = Celda(c.elevation_from, r) + Celda(c.hi, r) - Celda(c.middle, r) + 100 * s * std::sin(2 * z);
    write_number(c.elevation_to, r, numtext::round_to(e, 2));
}

void SurveyBook::write_elevation_from(int r, int search_first, int search_last) {
    const auto& c = survey_columns(view_);
    if (r == 2) {
        ZCSG1.set_cell(c.elevation_from, 2, initial_elevation_);
        return;
    }
    // The last row whose "To #" text is this row's "From #" text; none: the
    // typed value stays.
    const std::string from = ZCSG1.cell(c.from, r);
    int found = -1;
    for (int k = search_first; k <= search_last; ++k)
        if (ZCSG1.cell(c.to, k) == from) found = k;
    if (found >= 0) ZCSG1.set_cell(c.elevation_from, r, ZCSG1.cell(c.elevation_to, found));
}

void SurveyBook::write_coordinates(int r, int data_end) {
    const auto& c = survey_columns(view_);
    double d = Celda(c.distance, r);
    double a = radians(angle_degrees(Celda(c.azimuth, r), Celda(c.azimuth + 1, r), Celda(c.azimuth + 2, r)));
    write_number(c.partial_x, r, d * std::sin(a));
    write_number(c.partial_y, r, d * std::cos(a));
    double base_x = 0, base_y = 0;
    if (r != 2) {
        const double from = Celda(c.from, r);
        for (int k = 2; k < data_end; ++k)
            if (Celda(c.to, k) == from) {
                base_x = Celda(c.total_x, k);
                base_y = Celda(c.total_y, k);
            }
    }
    write_number(c.total_x, r, Celda(c.partial_x, r) + base_x);
    write_number(c.total_y, r, Celda(c.partial_y, r) + base_y);
}

void SurveyBook::key_released() {
    export_enabled_ = true;
    salvado_ = false;
    const int r = Row;
    if (r < 2) return;
    const auto& c = survey_columns(view_);
    switch (view_) {
        case SurveyView::Planimetry: {
            if (Celda(c.to, r) == 0) return;
            ZCSG1.set_cell(c.elevation_from, 2, initial_elevation_);
            write_upper(r);
            write_distance(r);
            write_elevation_to(r);
            const int end = end_of_data();
            write_elevation_from(r, 2, end - 1);
            for (int k = 2; k < end; ++k) write_coordinates(k, end);
            break;
        }
        case SurveyView::Altimetry:
            ZCSG1.set_cell(c.elevation_from, 2, initial_elevation_);
            write_upper(r);
            write_distance(r);
            write_elevation_to(r);
            write_elevation_from(r, 2, r);
            break;
        case SurveyView::TotalCoordinates:
            break;
    }
}

void SurveyBook::paste(const std::string& clipboard_text, int left, int top) {
    // Lines end at carriage returns (a line feed right after one is dropped);
    // text after the last carriage return is not a line.
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> cells(1);
    for (size_t k = 0; k < clipboard_text.size(); ++k) {
        char ch = clipboard_text[k];
        if (ch == '\r') {
            lines.push_back(std::move(cells));
            cells.assign(1, std::string());
            if (k + 1 < clipboard_text.size() && clipboard_text[k + 1] == '\n') ++k;
        } else if (ch == '\t') {
            cells.emplace_back();
        } else {
            cells.back().push_back(ch);
        }
    }
    paste_rows(lines, left, top);
}

void SurveyBook::paste_rows(const std::vector<std::vector<std::string>>& lines, int left, int top) {
    const auto& c = survey_columns(view_);
    if (view_ != SurveyView::TotalCoordinates) ZCSG1.set_cell(c.elevation_from, 2, initial_elevation_);
    export_enabled_ = true;
    // Pasted data is an unsaved change: closing the window asks to save it.
    salvado_ = false;

    // Positions are full integers: a long field book is pasted whole, never
    // wrapped back over the first rows.
    int last_row = -1;
    for (size_t l = 0; l < lines.size(); ++l) {
        const int row = top + static_cast<int>(l);
        if (row >= ZCSG1.row_count()) {
            if (designer_ == Designer::Marulet) break;
            ZCSG1.set_row_count(row + 1);
        }
        for (size_t k = 0; k < lines[l].size(); ++k) {
            const int col = left + static_cast<int>(k);
            if (col >= 0 && col < ZCSG1.col_count()) ZCSG1.set_cell(col, row, lines[l][k]);
        }
        last_row = row;
    }

    for (int r = 2; r < ZCSG1.row_count(); ++r)
        if (!ZCSG1.cell(c.from, r).empty()) ZCSG1.set_cell(c.pipe, r, numtext::format_int(r - 1));

    if (view_ == SurveyView::TotalCoordinates) return;
    const int data_end = end_of_data();
    for (int r = 2; r <= last_row; ++r) {
        write_distance(r);
        write_elevation_from(r, 2, last_row);
        write_elevation_to(r);
        if (view_ == SurveyView::Planimetry) write_coordinates(r, data_end);
    }
}

std::vector<std::string> SurveyBook::sur_lines() const { return ZCSG1.to_lines(2); }

void SurveyBook::write_sur(const std::filesystem::path& file) const { textfile::write_lines(file, sur_lines()); }

void SurveyBook::read_sur(const std::filesystem::path& file) {
    std::vector<std::string> lines = textfile::read_lines(file);
    ZCSG1.load_lines(lines, 2, commatext::Dialect::SpacesSeparate, false);
    salvado_ = true;
    export_enabled_ = true;
    last_file_ = file;
}

bool SurveyBook::open(FileDialogs& dialogs) {
    FileDialogRequest request;
    request.initial_dir = dialog_dir;
    request.title = kOpenHint;
    request.filter = kSurveyOpenFilter;
    request.default_ext = "sur";
    auto choice = dialogs.open(request);
    if (!choice || choice->filter_index != 1 || !std::filesystem::is_regular_file(choice->path)) return false;
    read_sur(choice->path);
    return true;
}

bool SurveyBook::save(FileDialogs& dialogs) {
    FileDialogRequest request;
    request.initial_dir = dialog_dir;
    request.title = kSaveHint;
    request.filter = kSurveySaveFilter;
    request.default_ext = "sur";
    auto choice = dialogs.save(request);
    if (!choice) return false;
    auto file = with_extension_rule(choice->path, ".sur");
    write_sur(file);
    salvado_ = true;
    last_file_ = file;
    return true;
}

bool SurveyBook::save_as_excel(FileDialogs& dialogs) {
    if (!has_save_as_excel()) return false;
    FileDialogRequest request;
    request.initial_dir = dialog_dir;
    request.title = kSaveAsExcelHint;
    request.filter = kSurveyExcelFilter;
    request.default_ext = "xlsx";
    auto choice = dialogs.save(request);
    if (!choice) return false;
    auto file = with_extension_rule(choice->path, ".xlsx");
    write_workbook(file);
    last_file_ = file;
    return true;
}

void SurveyBook::write_workbook(const std::filesystem::path& file) const { workbook().save(file); }

Workbook SurveyBook::workbook() const {
    Workbook book;
    Worksheet& sheet = book.add_sheet("Survey Book");
    for (int r = 0; r < ZCSG1.row_count(); ++r)
        for (int col = 0; col < ZCSG1.col_count(); ++col) {
            const std::string& text = ZCSG1.cell(col, r);
            if (text.empty()) continue;
            if (r < ZCSG1.fixed_rows())
                sheet.set_text(r, col, text, true);
            else
                sheet.set_value(r, col, text);
        }
    for (const Merge& m : ZCSG1.merges()) sheet.merge(CellRange{m.row, m.col, m.row + m.rows - 1, m.col + m.cols - 1});
    return book;
}

void SurveyBook::export_data() {
    if (!export_enabled_) return;
    exported_view_ = view_;
    if (view_ == SurveyView::Planimetry) exported_ = true;
    if (view_ == SurveyView::TotalCoordinates) {
        if (designer_ == Designer::Marulet)
            exportedctotales_ = true;
        else
            exported_ = true;
    }
}

void SurveyBook::begin_visit() {
    exported_ = false;
    exportedctotales_ = false;
}

void SurveyBook::close(Messages& messages, FileDialogs& dialogs) {
    if (salvado_) return;
    if (messages.question(kSurveySaveQuestion, "Warning") == Answer::Yes) save(dialogs);
}

}  // namespace velmora::terrain
