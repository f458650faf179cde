#pragma once
// The reference files of the data folder (`carpetadatos`): "qtx.min",
// "pipes.csv", "units.qtx", "pressures.csv", "prices.qtx"; `leerarchivos`,
// the Options window's saving rules and "Load from file".
#include "tosquin/engine/document.h"

#include "common/ports.h"

#include <string>
#include <vector>

namespace velmora::tosquin {

inline constexpr const char* kPipesFile = "pipes.csv";
inline constexpr const char* kPressuresFile = "pressures.csv";
inline constexpr const char* kUnitsFile = "units.qtx";
inline constexpr const char* kMinFile = "qtx.min";
inline constexpr const char* kPricesFile = "prices.qtx";

// The eight rows of a new "units.qtx", as comma lines.
std::vector<std::string> default_units_lines();

// Re-reads every reference file of doc.carpetadatos, in the order the main
// window does when it becomes active; "units.qtx" and "qtx.min" are written
// with their defaults when missing. A malformed file stops the reading with a
// FileError naming it; a table that fails its check is left as it was.
void leerarchivos(Document& doc);

// "units.qtx" alone (created when missing) and the seven unit symbols.
void read_units(Document& doc);

// `ld` and `ldn` from the catalogue and `presioninicial`.
void rebuild_first_instance(ReferenceData& ref);

// "Load from file": the pressure-class table built from "pipes.csv", with the
// design pressure at `percent` % of the working pressure. Throws FileError
// when the catalogue cannot be read.
void load_pressures_from_catalogue(Document& doc, int percent);

// The Options window's editable state. The units and pressure-class grids
// are edited in place in doc.ref.
struct OptionsWindow {
    bool cambio1 = false, cambio2 = false, cambio3 = false, cambio4 = false;
    std::string pressure_box;  // "Pressure for first instance design"
    std::string diameter_box;  // "Minimun diameter for designing"
    std::string currency = "$";
    std::array<std::string, 3> prices;  // box, air valve, washout valve
    std::vector<std::string> pressure_items;
    std::vector<std::string> diameter_items;
};

// Fills the Options window from the document as it opens.
OptionsWindow open_options(const Document& doc);
// "Units" page drop-downs (index in the drop-down list).
void choose_diameter_unit(Document& doc, OptionsWindow& w, int index);
void choose_pressure_unit(Document& doc, OptionsWindow& w, int index);
// Showing the "Minimun Diameter" page: refills both boxes.
void show_minimum_diameter_page(Document& doc, OptionsWindow& w);
// "Ok": asks per changed page and rewrites that page's file when it exists.
void options_ok(Document& doc, OptionsWindow& w, Messages& messages);

// Reads a comma table file (commas only separate) into a grid with at least
// `min_cols` columns; trailing empty lines are dropped.
Grid read_table_file(const std::filesystem::path& file, int min_cols);
void write_table_file(const std::filesystem::path& file, const Grid& grid);

}  // namespace velmora::tosquin
