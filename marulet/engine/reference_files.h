#pragma once
// Reference data of the Database folder: the pipe catalogue, the design
// parameters, people per house and velocities, the material table and the
// units table; their defaults, and the Options dialog that edits them.
#include "common/ports.h"
#include "marulet/engine/document.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::marulet {

inline constexpr const char* kCatalogueFile = "pipes_sewerage.csv";
inline constexpr const char* kParametersFile = "Optionsdesign.dat";
inline constexpr const char* kVelocityFile = "velocity.dat";
inline constexpr const char* kManningFile = "manning.dat";
inline constexpr const char* kUnitsFile = "units.dat";

// The file `name` in `dir`, matched without regard to case; dir/name when
// no such file exists.
std::filesystem::path locate(const std::filesystem::path& dir, const std::string& name);

// Default file contents (lines).
std::vector<std::string> default_parameter_lines();
std::vector<std::string> default_velocity_lines();
std::vector<std::string> default_manning_lines();
std::vector<std::string> default_units_lines(bool reset_variant = false);

// The Database folder's files are read, missing parameter files are written
// with their defaults, and the document takes the values; the pipe table
// headers and the results column 14 caption follow the units. Every existing
// file is read and checked before anything is written: a missing catalogue or
// a malformed file throws FileError naming the file and leaves the folder and
// the document unchanged.
void load_reference_data(Document& doc, const std::filesystem::path& database_dir);

// Start-up: reference data, then `ocultarcolumnas`.
void start_up(Document& doc, const std::filesystem::path& database_dir);

// Comma line of units.dat / manning.dat as written after a load: only fields
// with a comma or a double quote are quoted.
std::string write_plain_line(const std::vector<std::string>& fields);

// The Options dialog's model.
class OptionsDialog {
public:
    explicit OptionsDialog(std::filesystem::path database_dir);

    // Loads the four files (missing ones created with the defaults), selects
    // the first page and clears the changed flag.
    void show();

    Grid parameters;  // "Description", "Unit", "Quantity"; rows 1-9
    std::string people_per_house, min_velocity, max_velocity;
    Grid materials;  // "Description", "Manning Coefficient", "Infiltration rate L/D/M"
    Grid units;      // "Quantity measured", "Unit", "Symbol"; row 3 is the nominal diameter
    int page = 0;
    bool changed = false;

    // Edits that set the changed flag.
    void edit_parameter(int row, std::string text);
    void edit_material(int col, int row, std::string text);
    void edit_field(int field, std::string text);  // 0 people, 1 min velocity, 2 max velocity
    // "inch" or "millimeter"; `unidaddiametro` follows at once.
    void choose_unit(const std::string& unit, Document& doc);
    std::string unit_combo() const { return units(1, 3); }

    // "OK": asks to save when something changed. Returns true when a value
    // changed (the caller then runs `ocultarcolumnas`).
    bool close(Messages& messages);
    // "Reset": asks; Yes deletes the four files and writes the units file with
    // the Reset variant of the defaults, reloading the units page.
    void reset(Messages& messages);

private:
    void load_units();
    std::filesystem::path dir_;
};

}  // namespace velmora::marulet
