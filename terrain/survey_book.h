#pragma once
// The survey book: the field book of a stadia survey (three stadia wires,
// zenith and azimuth angles, instrument height) or total coordinates taken
// with other instruments, reduced to slope distances, elevations and plan
// coordinates; saved and opened as ".sur" files; handed to a designer's input
// table and plan (see survey_import.h).
//
// Kelvaro and Marulet share the book; `Designer` selects their differences:
// Marulet captions the third view "Coordenadas totales", has no "Save as
// Excel", its view buttons only switch the view, a paste does not grow the
// table, and its export sets `exported` (planimetry) or `exportedctotales`
// (total coordinates).
//
// The table keeps its cells where they are when the view changes: a view only
// sets the column count and the headers. Rows from 2 are shots, one per pipe;
// the end of the data is the first row from 2 whose "To #" reads as 0.
#include "common/grid.h"
#include "common/workbook.h"
#include "terrain/plan_lists.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora {
class Messages;
class FileDialogs;
}  // namespace velmora

namespace velmora::terrain {

enum class SurveyView { Planimetry, Altimetry, TotalCoordinates };

// Column of each quantity in a view; -1 when the view has no such column.
struct SurveyColumns {
    int pipe = 0, from = 1, to = 2;
    int lower = -1, middle = -1, upper = -1;
    int zenith = -1;   // degrees; minutes and seconds follow
    int azimuth = -1;  // degrees; minutes and seconds follow
    int hi = -1, households = -1;
    int elevation_from = -1, elevation_to = -1, distance = -1;
    int partial_x = -1, partial_y = -1, total_x = -1, total_y = -1;
    // Total coordinates view: "From" X, Y, Z and "to" X, Y, Z.
    int from_x = -1, from_y = -1, from_z = -1, to_x = -1, to_y = -1, to_z = -1;
    int count = 0;
};
const SurveyColumns& survey_columns(SurveyView view);

// Angle in degrees from its degree, minute and second cells.
double angle_degrees(double deg, double min, double sec);

// Texts of the window.
inline constexpr const char* kSurveyCaption = "Survey Book";
inline constexpr const char* kLengthFactorCaption = "Length Factor";
inline constexpr const char* kInitialElevationCaption = "Initial Elevation [M]=";
inline constexpr const char* kOpenHint = "Open a Survey Book File";
inline constexpr const char* kSaveHint = "Save Survey Book";
inline constexpr const char* kSaveAsExcelHint = "Save as Excel";
inline constexpr const char* kExportHint = "Export Data to Data/Drawing Tab";

inline constexpr const char* kSurveyOpenFilter = "Survey Book files (*.sur)|*.sur|All Files (*.*)|*.*";
inline constexpr const char* kSurveySaveFilter = "Survey Book Files (*.sur)|*.sur|All Files (*.*)|*.*";
inline constexpr const char* kSurveyExcelFilter = "Excel files (*.xlsx)|*.xlsx|All Files (*.*)|*.*";
inline constexpr const char* kSurveySaveQuestion = "Do you want to save the changes";

// The name a save writes to: ".sur" (or ".xlsx") is appended when the name's
// extension is another one (Village.txt -> Village.txt.sur). Extensions are
// compared without regard to case.
std::filesystem::path with_extension_rule(const std::filesystem::path& chosen, const std::string& ext);

class SurveyBook {
public:
    explicit SurveyBook(Designer designer = Designer::Kelvaro);

    Designer designer() const { return designer_; }

    // The survey table: two header rows, five rows at creation.
    Grid ZCSG1;
    // "Length Factor" (read strictly when a distance is computed) and
    // "Initial Elevation [M]=" (copied as text into Elevation From of row 2).
    const std::string& LFE() const { return lfe_; }
    const std::string& initial_elevation() const { return initial_elevation_; }
    // Editing either box counts as an unsaved change.
    void set_LFE(std::string text);
    void set_initial_elevation(std::string text);

    // Current cell, recorded on every cell selection.
    int Row = 2;
    int Col = 1;
    void select_cell(int col, int row) { Col = col; Row = row; }

    SurveyView view() const { return view_; }
    // The radio buttons: sets the column count, headers and merges. Kelvaro
    // also numbers every row's "Pipe #" and disables the export button until
    // the next edit, paste or open; Marulet's buttons only switch the view.
    void set_view(SurveyView view);
    // Caption of a view's radio button for this designer.
    std::string view_caption(SurveyView view) const;

    bool salvado() const { return salvado_; }
    bool export_enabled() const { return export_enabled_; }
    bool has_save_as_excel() const { return designer_ == Designer::Kelvaro; }

    // The cell as a number; 0 when empty or not a number.
    double Celda(int ACol, int ARow) const;
    // First row from 2 whose "To #" reads as 0 (the row count when none).
    int end_of_data() const;

    // A key released in the table at the current cell: enables the export
    // button, marks the table unsaved, and reduces as the view asks.
    // Throws ConversionError when the length factor is not a number.
    void key_released();

    // Paste of clipboard text (lines at carriage returns, cells at tabs) with
    // the top-left of the selection at (left, top); then the pasted rows are
    // reduced. Throws ConversionError when the length factor is not a number.
    void paste(const std::string& clipboard_text, int left, int top);
    // The same with the cells already split into lines.
    void paste_rows(const std::vector<std::vector<std::string>>& lines, int left, int top);

    // ".sur" file: the rows from 2 to the last, as comma text of the current
    // view's columns, CR LF, Windows-1252.
    std::vector<std::string> sur_lines() const;
    void write_sur(const std::filesystem::path& file) const;
    // Replaces the data rows by the file's lines (header rows kept); the table
    // counts as saved and the export button is enabled.
    void read_sur(const std::filesystem::path& file);

    // The buttons. Return true when something was read or written.
    bool open(FileDialogs& dialogs);
    bool save(FileDialogs& dialogs);
    bool save_as_excel(FileDialogs& dialogs);
    // The table as one sheet: header rows as bold text with their merges,
    // cells that read as numbers as numbers.
    Workbook workbook() const;
    void write_workbook(const std::filesystem::path& file) const;

    // "Export Data to Data/Drawing Tab": sets the export flag of the view
    // (none from the altimetry view). The window closes in every view.
    void export_data();
    // The designer opens the window: the export flags of the previous visit
    // are cleared.
    void begin_visit();
    bool exported() const { return exported_; }
    bool exportedctotales() const { return exportedctotales_; }
    // The view the last export was made from.
    SurveyView exported_view() const { return exported_view_; }

    // Closing the window: with unsaved changes asks kSurveySaveQuestion;
    // Yes runs save.
    void close(Messages& messages, FileDialogs& dialogs);

    // Folder the open, save and "Save as Excel" dialogs start in (the
    // designer's Projects folder); empty lets the dialog choose.
    std::filesystem::path dialog_dir;

    // The last file read or written by the book (empty when none).
    const std::filesystem::path& last_file() const { return last_file_; }

private:
    void write_headers();
    void write_number(int col, int row, double value);
    double length_factor() const;
    void write_upper(int r);
    void write_distance(int r);
    void write_elevation_to(int r);
    void write_elevation_from(int r, int search_first, int search_last);
    void write_coordinates(int r, int data_end);

    Designer designer_;
    SurveyView view_ = SurveyView::Planimetry;
    std::string lfe_ = "1.03";
    std::string initial_elevation_ = "1000";
    bool salvado_ = true;
    bool export_enabled_ = false;
    bool exported_ = false;
    bool exportedctotales_ = false;
    SurveyView exported_view_ = SurveyView::Planimetry;
    std::filesystem::path last_file_;
};

}  // namespace velmora::terrain
