#pragma once
// The whole state of one Marulet session: the pipe table, the results table,
// the reference data read from the Database folder, the plan lists saved with
// the project, the per-pipe lists of a calculation and the command flags.
//
// Per-pipe lists hold numbers as the program keeps them: decimal text of at
// most 15 significant digits. They are stored here as the double that such a
// text reads back as (every value goes through the general format when it is
// stored), which is the same information without reparsing.
#include "common/grid.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::marulet {

inline const std::string kInchSign = "\"";

// Columns of the pipe table `SG4`.
enum PipeCol {
    kPipeNumber = 0, kFrom = 1, kTo = 2, kLength = 3, kGroundFrom = 4, kGroundTo = 5,
    kHouseholds = 6, kMaterial = 7, kNominalInch = 8, kNominalMm = 9, kInternalInch = 10,
    kPipeCols = 11
};

// Columns of the results table `ZCSG5`.
enum ResultCol {
    kResPipe = 0, kResFrom = 1, kResTo = 2, kResStartLevel = 3, kResEndLevel = 4, kResLength = 5,
    kResPopulation = 6, kResPeakFactor = 7, kResMeanFlow = 8, kResPeakFlow = 9, kResInfiltration = 10,
    kResIllegal = 11, kResSectionFlow = 12, kResAccumulated = 13, kResDiameter = 14, kResMaterial = 15,
    kResManning = 16, kResInfiltrationRate = 17, kResSlope = 18, kResVelocity = 19,
    kResHydraulicRadius = 20, kResDraft = 21, kResTractive = 22, kResultCols = 23
};

// The nine lines of Optionsdesign.dat, in file order, and velocity.dat.
struct DesignParameters {
    double design_period = 50;        // n, years
    double growth_rate = 3;           // r, %
    double daily_usage = 120;         // D, L/capita/day
    double contribution = 70;         // C, %
    double illegal_flow = 120;        // I, L/capita/day
    double manhole_infiltration = 378;  // H, L/day per pipe
    double min_slope = 0.44;          // Smin, %
    double trench_depth = 1;          // T, m
    double min_tractive_force = 0.1;  // kg/m^2
    double people_per_house = 5;
    double min_velocity = 0.4;        // m/s
    double max_velocity = 3;          // m/s (kept and edited, never compared)
};

// Plan lists: one entry per drawn pipeline, one item per point.
struct PlanLists {
    std::vector<std::vector<std::string>> tramosx, tramosy, tramosz, tramosnudos, tramossentido;
    size_t size() const { return tramosx.size(); }
    bool operator==(const PlanLists&) const = default;
};

// The per-pipe lists of one situation (index = pipe number - 1). In the
// current situation the lists are `qma`, `fha`, `qda`, `qila`, `qsanitarioa`,
// `qacumuladoa`, `pendientea`, `ra`, `velocidada`, `perimetroa`, `ta`, `fta`;
// in the future one `qmf`, `fhf`, `qdf`, `qilf`, `qsanitariof`,
// `qacumuladof`, `pendientef`, `rf`, `velocidadf`, `perimetrof`, `tf`, `ftf`.
struct SituationLists {
    std::vector<double> qm, fh, qd, qil, qsanitario, qacumulado, pendiente;
    std::vector<double> r, velocidad, perimetro, t, ft;
};

enum class View { Current, Future };  // "At the Begining of the Period" / "At the End of the Designing Period"

struct Document {
    Document();

    Grid SG4;        // pipe table
    Grid ZCSG5;      // results table
    Grid catalogue;  // pipes_sewerage.csv as loaded (`SG` of the "Diameters" window)
    std::vector<std::string> materiallist;

    DesignParameters parameters;
    Grid materials;  // manning.dat: header row 0, one material per row from row 1
    Grid units;      // units.dat: row i from line i+1 (row 0 is the header line)
    std::string unidaddiametro = kInchSign;

    PlanLists plan;
    int numnudos = 0;

    // Lists of the last calculation.
    SituationLists actual, futuro;
    std::vector<double> qinf, cpi, cpf, pendiente, longitud, diametro;
    std::vector<std::vector<int>> RutaList;  // pipe numbers from a head pipe to an outlet

    // Diameter lists of the selected row's material (the drop-down editors).
    std::vector<std::string> dplglist, dmmlist, dreallist;
    int selected_col = 1;
    int selected_row = 2;

    // Flags.
    bool cambios = false;            // unsaved changes
    bool calcular_enabled = false;   // "To Calculate"
    bool mostrarresultados = false;  // results tabs available
    bool contours_enabled = false;   // `permitir`
    bool print_enabled = false;
    View view = View::Current;
    int progress_counter = 0;
    int export_filter = 1;  // filter of the last export: 1 xlsx, 2 xls, 3 csv

    std::string project_name;
    std::filesystem::path project_file;  // current project file
};

// Number of data rows of the pipe table.
int data_rows(const Document& doc);

// `valor`: the cell as a real, 0 when empty or not a number.
double valor(const Grid& grid, int col, int row);
const std::string& denudo(const Document& doc, int row);
const std::string& anudo(const Document& doc, int row);

// Header texts of the pipe table and the caption of results column 14.
void set_headers(Document& doc);
// Shows the nominal diameter column of the unit in use; column 10 always hidden.
void ocultarcolumnas(Document& doc);

}  // namespace velmora::marulet
