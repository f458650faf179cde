#include "kelvaro/engine/options.h"

#include "common/commatext.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"

#include <algorithm>
#include <cmath>

namespace velmora::kelvaro {
namespace fs = std::filesystem;
namespace nt = velmora::numtext;

const char* const kMinMaxDiaFile = "minmaxdia";
const char* const kMinPreFile = "minpre";
const char* const kUsageFile = "usage";
const char* const kUnitsFile = "units.qtx";
const char* const kCatalogueFile = "pipes_branch.csv";

TextList default_minmaxdia() { return {"0", "5", "140"}; }
TextList default_minpre() { return {"10", "50", "0.0157", "0.15"}; }
TextList default_usage() { return {"2.5", "3", "5", "20", "60", "90", "120"}; }

Grid default_units() {
    Grid g(3, 8, 1, 0);
    const char* rows[8][3] = {{"Quantity measured", "Unit", "Symbol"},
                              {"Length (L)", "meter", "m"},
                              {"Internal Diameter (ID)", "milimeter", "mm"},
                              {"Nominal Diameter (ND)", "inch", "\""},
                              {"Working Pressure (P)", "pounds per square inch", "PSI"},
                              {"Friction Head Loss (HF)", "meter", "m"},
                              {"Velocity", "meters per second", "m/s"},
                              {"Flow", "liters per second", "l/s"}};
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 3; ++c) g.set_cell(c, r, rows[r][c]);
    g.set_col_width(0, 134);
    g.set_col_width(1, 136);
    g.set_col_width(2, 64);
    return g;
}

namespace {

// Text lines of a file that must be text: a NUL byte or other control
// characters mean it is not one of ours.
TextList read_text_lines(const fs::path& file) {
    const std::string bytes = textfile::read_bytes(file);
    for (unsigned char c : bytes)
        if (c < 0x20 && c != '\r' && c != '\n' && c != '\t')
            throw FileError(textfile::file_message(file, "is not a text file"));
    return textfile::read_lines(file);
}

std::string line_error(const fs::path& file, size_t line, const std::string& what) {
    return textfile::file_message(file, "line " + std::to_string(line + 1) + ": " + what);
}

double real_at(const fs::path& file, const TextList& lines, size_t line) {
    try {
        return nt::read_strict(lines[line]);
    } catch (const ConversionError& e) {
        throw FileError(line_error(file, line, e.what()));
    }
}

int int_at(const fs::path& file, const TextList& lines, size_t line) {
    try {
        long long v = nt::read_int_strict(lines[line]);
        if (v < -1'000'000 || v > 1'000'000) throw ConversionError("'" + lines[line] + "' is out of range");
        return static_cast<int>(v);
    } catch (const ConversionError& e) {
        throw FileError(line_error(file, line, e.what()));
    }
}

Grid grid_from_lines(const TextList& lines, int cols, int fixed_rows) {
    Grid g(cols, 0, fixed_rows, 0);
    g.load_lines(lines, 0, commatext::Dialect::CommasOnly, true);
    return g;
}

}  // namespace

TextList read_option_file(const fs::path& file, const TextList& defaults, size_t needed) {
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        textfile::write_lines(file, defaults);
        return defaults;
    }
    TextList lines = read_text_lines(file);
    if (lines.size() < needed)
        throw FileError(textfile::file_message(file, "has " + std::to_string(lines.size()) + " lines; " +
                                                         std::to_string(needed) + " are needed"));
    return lines;
}

void ensure_option_files(const fs::path& folder) {
    std::error_code ec;
    if (!fs::exists(folder / kMinMaxDiaFile, ec)) textfile::write_lines(folder / kMinMaxDiaFile, default_minmaxdia());
    if (!fs::exists(folder / kMinPreFile, ec)) textfile::write_lines(folder / kMinPreFile, default_minpre());
    if (!fs::exists(folder / kUsageFile, ec)) textfile::write_lines(folder / kUsageFile, default_usage());
    if (!fs::exists(folder / kUnitsFile, ec)) save_units(folder / kUnitsFile, default_units());
}

Grid load_catalogue(const fs::path& file) {
    Grid g = grid_from_lines(read_text_lines(file), 7, 1);
    const int widths[] = {50, 52, 68, 60, 61, 66, 75};
    for (int c = 0; c < 7; ++c) g.set_col_width(c, widths[c]);
    return g;
}

Grid load_units(const fs::path& file) {
    Grid g = grid_from_lines(read_text_lines(file), 3, 1);
    if (g.row_count() < 8) g.set_row_count(8);
    g.set_col_width(0, 134);
    g.set_col_width(1, 136);
    g.set_col_width(2, 64);
    return g;
}

void save_units(const fs::path& file, const Grid& units) { textfile::write_lines(file, units.to_lines(0)); }

void set_folders(Document& doc, const Folders& folders) {
    doc.carpetadatos = folders.database_dir(Program::Kelvaro);
    doc.carpetaproyectos = folders.projects_dir(Program::Kelvaro);
}

void build_catalogue_slices(Document& doc) {
    doc.diamnominal.clear();
    doc.diaminterno.clear();
    doc.costounitario.clear();
    doc.chwlista.clear();
    const Grid& cat = doc.catalogue;
    const int first = std::max(1, doc.diammin + 1);
    const int last = std::min(cat.row_count() - 1, doc.diammax + 1);
    for (int r = first; r <= last; ++r) {
        doc.diamnominal.push_back(cat(2, r));
        doc.diaminterno.push_back(cat(4, r));
        doc.costounitario.push_back(cat(5, r));
        doc.chwlista.push_back(std::to_string(doc.chw));
    }
}

void becoming_active(Document& doc) {
    const fs::path& dir = doc.carpetadatos;
    // Everything is read first, so a faulty file leaves the document as it was.
    Grid catalogue = load_catalogue(dir / kCatalogueFile);
    std::error_code ec;
    if (!fs::exists(dir / kUnitsFile, ec)) save_units(dir / kUnitsFile, default_units());
    Grid units = load_units(dir / kUnitsFile);
    const fs::path minmax_file = dir / kMinMaxDiaFile;
    const TextList minmax = read_option_file(minmax_file, default_minmaxdia(), 3);
    const int diammin = int_at(minmax_file, minmax, 0);
    const int diammax = int_at(minmax_file, minmax, 1);
    const int chw = int_at(minmax_file, minmax, 2);
    const fs::path minpre_file = dir / kMinPreFile;
    const TextList minpre = read_option_file(minpre_file, default_minpre(), 4);
    double values[4];
    for (size_t i = 0; i < 4; ++i) values[i] = real_at(minpre_file, minpre, i);
    if (!fs::exists(dir / kUsageFile, ec)) textfile::write_lines(dir / kUsageFile, default_usage());

    doc.ultimonudo = (doc.numnudos / 100) * 100 + 99;
    doc.catalogue = std::move(catalogue);
    doc.units = std::move(units);
    doc.unidaddiametro = doc.units(2, 3);
    doc.ZCSG5.set_cell(9, 0, "Diameter [" + doc.unidaddiametro + "]");
    doc.diammin = diammin;
    doc.diammax = diammax;
    doc.chw = chw;
    build_catalogue_slices(doc);
    doc.presmin = values[0];
    doc.presmax = values[1];
    doc.caudalunitario = values[2];
    doc.IQF = values[3];
    doc.Edit3 = nt::format_general(doc.caudalunitario);
    doc.Edit2 = nt::format_general(doc.presmin);
}

// ---- Options window --------------------------------------------------------

void OptionsEditor::fill(const Document& doc) {
    folder_ = doc.carpetadatos;
    consumptions_.clear();
    picked_.clear();
    choices_.clear();
    for (int r = 1; r < doc.catalogue.row_count(); ++r) {
        const std::string& v = doc.catalogue(2, r);
        if (std::find(choices_.begin(), choices_.end(), v) == choices_.end()) choices_.push_back(v);
    }
    TextList minmax = read_option_file(folder_ / kMinMaxDiaFile, default_minmaxdia(), 3);
    TextList minpre = read_option_file(folder_ / kMinPreFile, default_minpre(), 4);
    TextList usage = read_option_file(folder_ / kUsageFile, default_usage(), 4);
    std::error_code ec;
    if (!fs::exists(folder_ / kUnitsFile, ec)) save_units(folder_ / kUnitsFile, default_units());
    Grid units = load_units(folder_ / kUnitsFile);

    minmaxdia_ = std::move(minmax);
    minpre_ = std::move(minpre);
    usage_ = std::move(usage);
    consumptions_.assign(usage_.begin() + 4, usage_.end());
    selected_ = doc.consumosel >= 0 && doc.consumosel < static_cast<int>(consumptions_.size()) ? doc.consumosel : -1;
    table_.set_cell(0, 0, "Description");
    table_.set_cell(1, 0, "Quantity");
    table_.set_cell(2, 0, "Unit");
    table_.set_col_width(0, 110);
    table_.set_col_width(1, 60);
    table_.set_col_width(2, 100);
    compute_table();
    QUE = max_hour_flow();
    units_ = std::move(units);
    diameters_changed = pressures_changed = parameters_changed = units_changed = false;
}

int OptionsEditor::min_index() const { return static_cast<int>(nt::read_int_lenient(minmaxdia_.at(0))); }
int OptionsEditor::max_index() const { return static_cast<int>(nt::read_int_lenient(minmaxdia_.at(1))); }

void OptionsEditor::choose_min(int index) {
    minmaxdia_.at(0) = std::to_string(index);
    diameters_changed = true;
}

void OptionsEditor::choose_max(int index) {
    minmaxdia_.at(1) = std::to_string(index);
    diameters_changed = true;
}

void OptionsEditor::set_hwc(const std::string& text) {
    minmaxdia_.at(2) = text;
    diameters_changed = true;
}

void OptionsEditor::set_min_pressure(Document& doc, const std::string& text) {
    minpre_.at(0) = text;
    pressures_changed = true;
    doc.presmin = nt::read_lenient(text);
}

void OptionsEditor::set_max_pressure(const std::string& text) {
    minpre_.at(1) = text;
    pressures_changed = true;
}

void OptionsEditor::set_instantaneous_factor(const std::string& text) {
    minpre_.at(3) = text;
    pressures_changed = true;
}

void OptionsEditor::set_parameter(int line, const std::string& text) {
    if (line < 0 || line > 3) return;
    usage_.at(static_cast<size_t>(line)) = text;
    parameters_changed = true;
    compute_table();
}

void OptionsEditor::add_consumption(const std::string& text) {
    consumptions_.push_back(text);
    usage_.push_back(text);
    parameters_changed = true;
}

void OptionsEditor::click_consumption(int index) {
    if (index < 0 || index >= static_cast<int>(consumptions_.size())) return;
    selected_ = index;
    compute_table();
    picked_ = consumptions_[static_cast<size_t>(index)];
    QUE = max_hour_flow();
}

void OptionsEditor::delete_consumption() {
    if (selected_ < 0 || selected_ >= static_cast<int>(consumptions_.size())) return;
    consumptions_.erase(consumptions_.begin() + selected_);
    usage_.erase(usage_.begin() + 4 + selected_);
    if (selected_ >= static_cast<int>(consumptions_.size())) selected_ = -1;
    parameters_changed = true;
}

void OptionsEditor::compute_table() {
    const double q = selected_ >= 0 ? nt::read_lenient(consumptions_[static_cast<size_t>(selected_)]) : 0.0;
    const double f = nt::read_lenient(usage_.size() > 0 ? usage_[0] : "");
    const double r = nt::read_lenient(usage_.size() > 1 ? usage_[1] : "");
    const double h = nt::read_lenient(usage_.size() > 2 ? usage_[2] : "");
    const double n = nt::read_lenient(usage_.size() > 3 ? usage_[3] : "");
    const double future = h * std::pow(1 + r / 100, n);
    const double flow = f * q * future / 86400;
    table_.set_cell(0, 1, "Future Population");
    table_.set_cell(1, 1, nt::format_pattern(future, "#,##0.00"));
    table_.set_cell(2, 1, "People/Household");
    table_.set_cell(0, 2, "Max Hour Flow");
    table_.set_cell(1, 2, nt::format_pattern(flow, "#,##0.0000"));
    table_.set_cell(2, 2, "L/S/Household");
}

void OptionsEditor::choose_diameter_unit(const std::string& unit) {
    if (units_.row_count() < 4) units_.set_row_count(4);
    units_.set_cell(1, 3, unit);
    units_.set_cell(2, 3, unit == "milimeter" ? "mm" : "\"");
    units_changed = true;
}

void OptionsEditor::close(const Document& doc, Messages& messages) {
    const fs::path dir = doc.carpetadatos;
    const char* kSave = "Do you want to save the changes?";
    if (diameters_changed && messages.question(kSave, "Warning") == Answer::Yes)
        textfile::write_lines(dir / kMinMaxDiaFile, minmaxdia_);
    if (pressures_changed && messages.question(kSave, "Warning") == Answer::Yes)
        textfile::write_lines(dir / kMinPreFile, minpre_);
    if (parameters_changed && messages.question(kSave, "Warning") == Answer::Yes)
        textfile::write_lines(dir / kUsageFile, usage_);
    if (units_changed && messages.question(kSave, "Warning") == Answer::Yes) save_units(dir / kUnitsFile, units_);
    diameters_changed = pressures_changed = parameters_changed = units_changed = false;
}

void OptionsEditor::reset(const Document& doc, Messages& messages) {
    if (messages.question("Do you want to reset the options to the original conditions? If yes all the changes will "
                          "be lost",
                          "Warning") != Answer::Yes)
        return;
    std::error_code ec;
    for (const char* name : {kMinMaxDiaFile, kMinPreFile, kUsageFile, kUnitsFile})
        fs::remove(doc.carpetadatos / name, ec);
    fill(doc);
}

void project_box_key_released(Document& doc, int box, Messages& messages) {
    messages.notice("To change this value, double click on the box");
    if (box == 2) doc.Edit2 = nt::format_general(doc.presmin);
    if (box == 3) doc.Edit3 = nt::format_general(doc.caudalunitario);
}

void after_unit_flow_options(Document& doc, const OptionsEditor& editor, Messages& messages) {
    if (editor.picked_consumption().empty()) return;
    if (messages.question("The consumption has changed to " + editor.picked_consumption() +
                              " L/person/day. Do you want to change the unit flow in nodes?",
                          "Warning") == Answer::Yes)
        doc.Edit3 = editor.max_hour_flow();
}

}  // namespace velmora::kelvaro
