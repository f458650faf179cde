#include "tosquin/engine/reference_files.h"

#include "common/commatext.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"

#include <cmath>
#include <set>
#include <utility>

namespace velmora::tosquin {
namespace fs = std::filesystem;
using numtext::is_integer;
using numtext::is_number;

namespace {

constexpr double kPsiPerMetre = 1.422335490923329;

std::vector<std::string> read_lines_or_throw(const fs::path& file) {
    auto lines = textfile::read_lines(file);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

bool row_empty(const Grid& g, int r) {
    for (int c = 0; c < g.col_count(); ++c)
        if (!g(c, r).empty()) return false;
    return true;
}

// The catalogue must hold numbers where the design reads them.
void check_catalogue(const fs::path& file, const Grid& g) {
    if (g.row_count() < 1) throw FileError(textfile::file_message(file, "the file is empty"));
    const char* names[] = {"", "", "nominal diameter", "working pressure", "internal diameter", "unit price"};
    for (int r = 1; r < g.row_count(); ++r) {
        if (row_empty(g, r)) continue;
        for (int c = 2; c <= 5; ++c)
            if (!is_number(g(c, r)))
                throw FileError(textfile::file_message(
                    file, "line " + std::to_string(r + 1) + ": the " + names[c] + " '" + g(c, r) + "' is not a number"));
    }
}

void check_pressures(const fs::path& file, const Grid& g) {
    for (int r = 1; r < g.row_count(); ++r) {
        if (row_empty(g, r)) continue;
        std::string line = "line " + std::to_string(r + 1) + ": ";
        if (!is_number(g(1, r)))
            throw FileError(textfile::file_message(file, line + "the working pressure '" + g(1, r) + "' is not a number"));
        if (!is_integer(g(2, r)))
            throw FileError(
                textfile::file_message(file, line + "the design pressure '" + g(2, r) + "' is not a whole number"));
        if (!is_number(g(3, r)))
            throw FileError(textfile::file_message(file, line + "the HWC '" + g(3, r) + "' is not a number"));
    }
}

void read_min_file(Document& doc) {
    fs::path file = doc.carpetadatos / kMinFile;
    if (!fs::exists(file)) textfile::write_lines(file, {"250", "0.75"});
    auto lines = textfile::read_lines(file);
    auto line = [&](size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    if (!is_integer(line(0)))
        throw FileError(textfile::file_message(file, "line 1: '" + line(0) + "' is not a valid integer value"));
    if (!is_number(line(1)))
        throw FileError(textfile::file_message(file, "line 2: '" + line(1) + "' is not a valid floating point value"));
    doc.ref.presioninicial = static_cast<int>(numtext::read_int_strict(line(0)));
    doc.ref.diametrominimo = numtext::read_strict(line(1));
    doc.ref.qtx_min_pressure = line(0);
    doc.ref.qtx_min_diameter = line(1);
}

void read_prices(Document& doc) {
    fs::path file = doc.carpetadatos / kPricesFile;
    if (!fs::exists(file)) return;
    auto lines = textfile::read_lines(file);
    auto line = [&](size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    for (size_t i = 1; i <= 3; ++i)
        if (!is_number(line(i)))
            throw FileError(textfile::file_message(
                file, "line " + std::to_string(i + 1) + ": '" + line(i) + "' is not a valid floating point value"));
    doc.ref.moneda = line(0);
    doc.ref.preciocaja = numtext::read_strict(line(1));
    doc.ref.precioaire = numtext::read_strict(line(2));
    doc.ref.preciolavado = numtext::read_strict(line(3));
}

}  // namespace

std::vector<std::string> default_units_lines() {
    Grid g(3, 8);
    g.set_row(0, {"Quantity measured", "Unit", "Symbol"});
    g.set_row(1, {"Length (L)", "meter", "m"});
    g.set_row(2, {"Internal Diameter (ID)", "millimeter", "mm"});
    g.set_row(3, {"Nominal Diameter (ND)", "inch", kInchMark});
    g.set_row(4, {"Working Pressure (P)", "pounds per square inch", "PSI"});
    g.set_row(5, {"Friction Head Loss (HF)", "meter", "m"});
    g.set_row(6, {"Velocity", "meters per second", "m/s"});
    g.set_row(7, {"Flow", "liters per second", "l/s"});
    return g.to_lines();
}

Grid read_table_file(const fs::path& file, int min_cols) {
    Grid g(min_cols, 0);
    g.load_lines(read_lines_or_throw(file), 0, commatext::Dialect::CommasOnly, true);
    return g;
}

void write_table_file(const fs::path& file, const Grid& grid) { textfile::write_lines(file, grid.to_lines()); }

void read_units(Document& doc) {
    fs::path file = doc.carpetadatos / kUnitsFile;
    if (!fs::exists(file)) textfile::write_lines(file, default_units_lines());
    Grid g = read_table_file(file, 3);
    if (g.row_count() < 8)
        throw FileError(textfile::file_message(file, "the units table needs 8 lines, it has " +
                                                         std::to_string(g.row_count())));
    doc.ref.unidades = std::move(g);
    auto& u = doc.ref.units;
    const Grid& t = doc.ref.unidades;
    u.length = t(2, 1);
    u.internal_diameter = t(2, 2);
    u.nominal_diameter = t(2, 3);
    u.pressure = t(2, 4);
    u.head_loss = t(2, 5);
    u.velocity = t(2, 6);
    u.flow = t(2, 7);
}

void rebuild_first_instance(ReferenceData& ref) {
    ref.ld.clear();
    ref.ldn.clear();
    const Grid& c = ref.catalogo;
    for (int r = 1; r < c.row_count(); ++r) {
        if (numtext::read_int_lenient(c(3, r)) != ref.presioninicial || !is_integer(c(3, r))) continue;
        ref.ld.push_back(c(4, r));
        ref.ldn.push_back(c(2, r));
    }
}

void leerarchivos(Document& doc) {
    read_min_file(doc);
    fs::path pipes = doc.carpetadatos / kPipesFile;
    if (fs::exists(pipes)) {
        Grid g = read_table_file(pipes, 10);
        check_catalogue(pipes, g);
        doc.ref.catalogo = std::move(g);
    }
    read_units(doc);
    rebuild_first_instance(doc.ref);
    fs::path pressures = doc.carpetadatos / kPressuresFile;
    if (fs::exists(pressures)) {
        Grid g = read_table_file(pressures, 4);
        check_pressures(pressures, g);
        doc.ref.presiones = std::move(g);
    }
    read_prices(doc);

    if (doc.nsecciones == 0) doc.nsecciones = 1;
    doc.predeterminados.set_row_count(doc.nsecciones + 1);
    for (int j = 1; j <= doc.nsecciones + 1; ++j) {
        size_t k = static_cast<size_t>(j - 1);
        doc.predeterminados.set_cell(1, j, k < doc.seccionesx.size() ? doc.seccionesx[k] : std::string());
    }
}

void load_pressures_from_catalogue(Document& doc, int percent) {
    fs::path file = doc.carpetadatos / kPipesFile;
    auto lines = read_lines_or_throw(file);
    if (lines.empty()) throw FileError(textfile::file_message(file, "the file is empty"));
    auto fields = [](const std::string& line) {
        std::vector<std::string> out;
        size_t start = 0;
        for (;;) {
            size_t comma = line.find(',', start);
            out.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        out.resize(std::max<size_t>(out.size(), 4));
        return out;
    };
    auto head = fields(lines[0]);
    std::vector<std::pair<std::string, std::string>> classes;
    std::set<std::pair<std::string, std::string>> seen;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        auto f = fields(lines[i]);
        auto key = std::make_pair(f[1], f[3]);
        if (seen.insert(key).second) classes.push_back(key);
    }
    const double k = percent / 100.0 / kPsiPerMetre;
    Grid& g = doc.ref.presiones;
    g.clear();
    g.set_size(4, static_cast<int>(classes.size()) + 1);
    g.set_row(0, {head[1], head[3], "Designing P [" + doc.ref.units.pressure + "]", "HWC"});
    std::string previous_hwc;
    for (size_t i = 0; i < classes.size(); ++i) {
        int r = static_cast<int>(i) + 1;
        const auto& [type, wp] = classes[i];
        std::string hwc = previous_hwc;
        if (type == "PVC") hwc = "150";
        else if (type == "GI") hwc = "100";
        else if (type == "PE") hwc = "155";
        previous_hwc = hwc;
        double design = std::trunc(numtext::read_lenient(wp) * k);
        g.set_row(r, {type, wp, numtext::format_general(design), hwc});
    }
}

OptionsWindow open_options(const Document& doc) {
    OptionsWindow w;
    w.pressure_box = doc.ref.qtx_min_pressure;
    w.diameter_box = doc.ref.qtx_min_diameter;
    w.currency = doc.ref.moneda.empty() ? "$" : doc.ref.moneda;
    w.prices = {numtext::format_general(doc.ref.preciocaja), numtext::format_general(doc.ref.precioaire),
                numtext::format_general(doc.ref.preciolavado)};
    return w;
}

void choose_diameter_unit(Document& doc, OptionsWindow& w, int index) {
    static const char* names[] = {"inch", "millimeter"};
    if (index < 0 || index > 1) return;
    doc.ref.unidades.set_cell(1, 3, names[index]);
    doc.ref.unidades.set_cell(2, 3, index == 0 ? kInchMark : "mm");
    w.cambio1 = true;
}

void choose_pressure_unit(Document& doc, OptionsWindow& w, int index) {
    static const char* names[] = {"pounds per square inch", "Kg per square cm", "atmosphere", "megapascal"};
    static const char* symbols[] = {"PSI", "Kg/cm2", "Bar", "Mpa"};
    if (index < 0 || index > 3) return;
    doc.ref.unidades.set_cell(1, 4, names[index]);
    doc.ref.unidades.set_cell(2, 4, symbols[index]);
    w.cambio1 = true;
}

void show_minimum_diameter_page(Document& doc, OptionsWindow& w) {
    w.pressure_items.clear();
    const Grid& p = doc.ref.presiones;
    for (int r = 1; r < p.row_count(); ++r) w.pressure_items.push_back(p(1, r));
    if (p.row_count() > 1) w.pressure_box = p(1, 1);
    fs::path pipes = doc.carpetadatos / kPipesFile;
    if (fs::exists(pipes)) {
        Grid g = read_table_file(pipes, 10);
        check_catalogue(pipes, g);
        doc.ref.catalogo = std::move(g);
    }
    w.diameter_items.clear();
    const Grid& c = doc.ref.catalogo;
    const double wp = numtext::read_lenient(w.pressure_box);
    for (int r = 1; r < c.row_count(); ++r)
        if (numtext::read_lenient(c(3, r)) == wp) w.diameter_items.push_back(c(2, r));
}

void options_ok(Document& doc, OptionsWindow& w, Messages& messages) {
    auto save = [&](bool flag, const std::string& question, const char* name, const std::vector<std::string>& lines) {
        if (!flag) return;
        if (messages.question(question, "Warning") != Answer::Yes) return;
        fs::path file = doc.carpetadatos / name;
        if (fs::exists(file)) textfile::write_lines(file, lines);
    };
    save(w.cambio1, "The data has changed. Do you want to save the changes?", kUnitsFile, doc.ref.unidades.to_lines());
    save(w.cambio2, "The data has changed. Would you like to save the changes?", kPressuresFile,
         doc.ref.presiones.to_lines());
    save(w.cambio3,
         "The design parameters have changed which will affect all the project\xC2\xB4s designs. Would you like to save "
         "the changes",
         kMinFile, {w.pressure_box, w.diameter_box});
    save(w.cambio4, "The data has changed. Would you like to save the changes?", kPricesFile,
         {w.currency, w.prices[0], w.prices[1], w.prices[2]});
}

}  // namespace velmora::tosquin
