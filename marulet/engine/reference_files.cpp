#include "marulet/engine/reference_files.h"

#include "common/commatext.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace velmora::marulet {
namespace {

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Reads `count` numbers, one a line; a short or non-numeric file is malformed.
std::vector<double> read_numbers(const fs::path& file, size_t count) {
    auto lines = textfile::read_lines(file);
    if (lines.size() < count)
        throw FileError(textfile::file_message(
            file, "expected " + std::to_string(count) + " lines with one number each, found " +
                      std::to_string(lines.size()) + " lines"));
    std::vector<double> values;
    for (size_t i = 0; i < count; ++i) {
        if (!numtext::is_number(lines[i]))
            throw FileError(textfile::file_message(
                file, "line " + std::to_string(i + 1) + " \"" + lines[i] + "\" is not a number"));
        values.push_back(numtext::read_strict(lines[i]));
    }
    return values;
}

void apply_parameters(DesignParameters& p, const std::vector<double>& v) {
    p.design_period = v[0];
    p.growth_rate = v[1];
    p.daily_usage = v[2];
    p.contribution = v[3];
    p.illegal_flow = v[4];
    p.manhole_infiltration = v[5];
    p.min_slope = v[6];
    p.trench_depth = v[7];
    p.min_tractive_force = v[8];
}

std::vector<double> numbers_of(const std::vector<std::string>& lines) {
    std::vector<double> v;
    for (const auto& l : lines) v.push_back(numtext::read_strict(l));
    return v;
}

// Lines of a table file read into a grid from `first_row`, split on commas only.
void load_table(Grid& grid, const std::vector<std::string>& lines, int first_row) {
    grid.load_lines(lines, first_row, commatext::Dialect::CommasOnly, false);
}

// A file that exists is read; a missing one gives its default lines and is
// queued for writing.
std::vector<std::string> read_or_default(const fs::path& dir, const char* name, std::vector<std::string> defaults,
                                         textfile::AtomicGroup& to_write, bool& any_missing) {
    fs::path file = locate(dir, name);
    if (fs::exists(file)) return textfile::read_lines(file);
    to_write.add_lines(file, defaults);
    any_missing = true;
    return defaults;
}

}  // namespace

fs::path locate(const fs::path& dir, const std::string& name) {
    fs::path exact = dir / name;
    std::error_code ec;
    if (fs::exists(exact, ec)) return exact;
    std::string want = lower(name);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (lower(it->path().filename().string()) == want) return it->path();
    return exact;
}

std::vector<std::string> default_parameter_lines() { return {"50", "3", "120", "70", "120", "378", "0.44", "1", "0.1"}; }
std::vector<std::string> default_velocity_lines() { return {"5", "0.4", "3"}; }
std::vector<std::string> default_manning_lines() { return {"PVC,0.009,0", "Concrete,0.014,20"}; }

std::vector<std::string> default_units_lines(bool reset_variant) {
    std::vector<std::vector<std::string>> rows = {
        {"Quantity measured", "Unit", "Symbol"},
        reset_variant ? std::vector<std::string>{"Length (L)", "meter", "m"}
                      : std::vector<std::string>{"Length (LEN)", "meter", "m"},
        reset_variant ? std::vector<std::string>{"Internal Diameter (ID)", "milimeter", "mm"}
                      : std::vector<std::string>{"Internal Diameter (ID)", "inch", kInchSign},
        {"Nominal Diameter (ND)", "inch", kInchSign},
        {"Velocity", "meters per second", "m/s"},
        {"Flow", "liters per second", "l/s"},
        {"", "", ""},
        {"", "", ""},
    };
    std::vector<std::string> lines;
    for (const auto& r : rows) lines.push_back(commatext::write_line(r));
    return lines;
}

std::string write_plain_line(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out.push_back(',');
        const std::string& f = fields[i];
        if (f.find_first_of(",\"") == std::string::npos) {
            out += f;
            continue;
        }
        out.push_back('"');
        for (char c : f) {
            if (c == '"') out.push_back('"');
            out.push_back(c);
        }
        out.push_back('"');
    }
    return out;
}

void load_reference_data(Document& doc, const fs::path& database_dir) {
    // 1. Catalogue: must be there; never written.
    fs::path catalogue_file = locate(database_dir, kCatalogueFile);
    if (!fs::exists(catalogue_file))
        throw FileError(textfile::file_message(catalogue_file, "the pipe catalogue is missing"));
    Grid catalogue;
    catalogue.load_lines(textfile::read_lines(catalogue_file), 0, commatext::Dialect::CommasOnly, true);

    // 2-5. Everything is read and checked before a missing file is written.
    textfile::AtomicGroup to_write;
    bool any_missing = false;
    DesignParameters params = doc.parameters;
    fs::path parameters_file = locate(database_dir, kParametersFile);
    if (fs::exists(parameters_file)) {
        apply_parameters(params, read_numbers(parameters_file, 9));
    } else {
        to_write.add_lines(parameters_file, default_parameter_lines());
        any_missing = true;
        apply_parameters(params, numbers_of(default_parameter_lines()));
    }
    fs::path velocity_file = locate(database_dir, kVelocityFile);
    std::vector<double> velocity;
    if (fs::exists(velocity_file)) {
        velocity = read_numbers(velocity_file, 3);
    } else {
        to_write.add_lines(velocity_file, default_velocity_lines());
        any_missing = true;
        velocity = numbers_of(default_velocity_lines());
    }
    params.people_per_house = velocity[0];
    params.min_velocity = velocity[1];
    params.max_velocity = velocity[2];
    auto manning = read_or_default(database_dir, kManningFile, default_manning_lines(), to_write, any_missing);
    auto units = read_or_default(database_dir, kUnitsFile, default_units_lines(), to_write, any_missing);
    if (any_missing) to_write.commit();

    // The document takes the values.
    doc.catalogue = std::move(catalogue);
    for (int r = 1; r < doc.catalogue.row_count(); ++r) {
        const std::string& m = doc.catalogue(1, r);
        if (std::find(doc.materiallist.begin(), doc.materiallist.end(), m) == doc.materiallist.end())
            doc.materiallist.push_back(m);
    }
    doc.parameters = params;
    load_table(doc.materials, manning, 1);
    load_table(doc.units, units, 0);
    doc.unidaddiametro = doc.units(2, 3);
    doc.SG4.set_editor(kMaterial, ColumnEditor{EditorKind::DropDown, doc.materiallist});
    set_headers(doc);
}

void start_up(Document& doc, const fs::path& database_dir) {
    load_reference_data(doc, database_dir);
    ocultarcolumnas(doc);
}

// ---- Options dialog ---------------------------------------------------------

OptionsDialog::OptionsDialog(fs::path database_dir)
    : parameters(3, 10, 1, 2), materials(3, 2, 1, 0), units(3, 8, 1, 0), dir_(std::move(database_dir)) {
    parameters.set_row(0, {"Description", "Unit", "Quantity"});
    const char* rows[9][2] = {{"Designing Period", "Years"},
                              {"Annual Growth Rate", "%"},
                              {"Daily Usage", "L/capita/day"},
                              {"Contribution to the Flow", "%"},
                              {"Illegal Connections Q", "L/capita/day"},
                              {"Infiltration Q/Manhole", "L/day"},
                              {"Min Slope", "%"},
                              {"Trench Depth", "Meter"},
                              {"Tractive Force", "Kg/M^2"}};
    for (int i = 0; i < 9; ++i) parameters.set_row(i + 1, {rows[i][0], rows[i][1]});
    parameters.set_col_width(0, 160);
    parameters.set_col_width(1, 70);
    materials.set_row(0, {"Description", "Manning Coefficient", "Infiltration rate L/D/M"});
    for (int c = 0; c < 3; ++c) materials.set_col_width(c, 115);
}

void OptionsDialog::show() {
    textfile::AtomicGroup to_write;
    bool any_missing = false;
    auto p = read_or_default(dir_, kParametersFile, default_parameter_lines(), to_write, any_missing);
    auto v = read_or_default(dir_, kVelocityFile, default_velocity_lines(), to_write, any_missing);
    auto m = read_or_default(dir_, kManningFile, default_manning_lines(), to_write, any_missing);
    auto u = read_or_default(dir_, kUnitsFile, default_units_lines(), to_write, any_missing);
    if (any_missing) to_write.commit();
    for (int i = 0; i < 9; ++i) parameters.set_cell(2, i + 1, i < static_cast<int>(p.size()) ? p[i] : "");
    v.resize(3);
    people_per_house = v[0];
    min_velocity = v[1];
    max_velocity = v[2];
    load_table(materials, m, 1);
    load_table(units, u, 0);
    page = 0;
    changed = false;
}

void OptionsDialog::load_units() {
    auto lines = textfile::read_lines(locate(dir_, kUnitsFile));
    load_table(units, lines, 0);
}

void OptionsDialog::edit_parameter(int row, std::string text) {
    parameters.set_cell(2, row, std::move(text));
    changed = true;
}

void OptionsDialog::edit_material(int col, int row, std::string text) {
    if (row >= materials.row_count()) materials.set_row_count(row + 1);
    materials.set_cell(col, row, std::move(text));
    changed = true;
}

void OptionsDialog::edit_field(int field, std::string text) {
    (field == 0 ? people_per_house : field == 1 ? min_velocity : max_velocity) = std::move(text);
    changed = true;
}

void OptionsDialog::choose_unit(const std::string& unit, Document& doc) {
    if (unit == "inch") {
        units.set_cell(1, 3, "inch");
        units.set_cell(2, 3, kInchSign);
    } else {
        units.set_cell(1, 3, "millimeter");
        units.set_cell(2, 3, "mm");
    }
    doc.unidaddiametro = units(2, 3);
    changed = true;
}

bool OptionsDialog::close(Messages& messages) {
    if (!changed) return false;
    if (messages.question("Do you want to save the changes?", "Warning") == Answer::Yes) {
        textfile::AtomicGroup group;
        std::vector<std::string> p;
        for (int r = 1; r <= 9; ++r) p.push_back(parameters(2, r));
        group.add_lines(locate(dir_, "optionsdesign.dat"), p);
        std::vector<std::string> u;
        for (int r = 0; r < 8; ++r) u.push_back(write_plain_line(units.row(r, 0, 3)));
        group.add_lines(locate(dir_, kUnitsFile), u);
        group.add_lines(locate(dir_, kVelocityFile), {people_per_house, min_velocity, max_velocity});
        std::vector<std::string> m;
        for (int r = 1; r < materials.row_count(); ++r) m.push_back(write_plain_line(materials.row(r, 0, 3)));
        group.add_lines(locate(dir_, kManningFile), m);
        group.commit();
    }
    return true;
}

void OptionsDialog::reset(Messages& messages) {
    if (messages.question("Do you want to reset the options to the original conditions? If yes all the changes "
                          "will be lost",
                          "Warning") != Answer::Yes)
        return;
    for (const char* name : {kParametersFile, kUnitsFile, kVelocityFile, kManningFile}) {
        std::error_code ec;
        fs::remove(locate(dir_, name), ec);
    }
    textfile::write_lines(dir_ / kUnitsFile, default_units_lines(true));
    load_units();
}

}  // namespace velmora::marulet
