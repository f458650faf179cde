#pragma once
// The main pipeline designer's document: the project values of the "Data" tab,
// the station table and the survey book, the design lists prepared from them,
// the section and valve lists, the two predetermined tables, the result sheet
// and the reference data read from the data folder. Every command takes the
// document explicitly.
#include "common/grid.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::tosquin {

// The inch mark: the nominal-diameter symbol of the default units table.
inline const std::string kInchMark = "\"";

// Symbols of rows 1 to 7 of the units table.
struct UnitSymbols {
    std::string length = "m";
    std::string internal_diameter = "mm";
    std::string nominal_diameter = kInchMark;
    std::string pressure = "PSI";
    std::string head_loss = "m";
    std::string velocity = "m/s";
    std::string flow = "l/s";
};

// What `leerarchivos` reads from the data folder.
struct ReferenceData {
    Grid catalogo{10, 1};   // "pipes.csv"
    Grid presiones{4, 1};   // "pressures.csv"
    Grid unidades{3, 8};    // "units.qtx"
    int presioninicial = 250;
    double diametrominimo = 0.75;
    // The two lines of "qtx.min" as read (the Options boxes show them).
    std::string qtx_min_pressure = "250";
    std::string qtx_min_diameter = "0.75";
    std::string moneda;
    double preciocaja = 0;
    double precioaire = 0;
    double preciolavado = 0;
    UnitSymbols units;
    // ID (column 4) and ND (column 2) texts of the catalogue rows of the
    // first-instance class, catalogue order.
    std::vector<std::string> ld;
    std::vector<std::string> ldn;
};

// State of the profile graph: size in pixels and the scales of the last
// drawing.
struct GraphState {
    int width = 1000;
    int height = 450;
    bool present = false;
    double xmin = 0, xmax = 0;
    double zfirst = 0, zlast = 0, zmin = 0;
    double sx = 0, sy = 0;
};

// Enabled state of the commands the engine switches on and off.
struct CommandState {
    bool open = true;
    bool save = false;
    bool save_as = false;
    bool export_sheet = false;  // "Save Spreadsheet As", the Excel button
    bool new_project = false;
    bool design_tools = false;  // graph tools, dialogs, print
};

enum class InputMode { ProfileData, SurveyBook };

struct Document {
    Document();

    // Project values on the "Data" tab.
    std::string Edit1;            // "Project="
    std::string Edit2 = "1";      // "# of Stations="
    std::string Edit3;            // "Q [L/S] ="
    std::string Edit4 = "3";      // "Residual Pressure at BPB  [m]="
    std::string Edit6 = "1000.00";  // "Initial Elevation [M]="
    std::string LFE = "1.03";     // "Length factor="
    std::string Edit7 = "0";      // "Initial accumulated distance="
    InputMode input_mode = InputMode::ProfileData;

    Grid SG2;          // station table
    Grid SG3;          // survey book
    Grid StringGrid1;  // result sheet
    Grid predeterminados;  // predetermined diameters (one row per section)
    Grid tramosfijos;      // predetermined sections

    // Design lists.
    std::vector<std::string> listacam;
    std::vector<std::string> listacota;
    int nestaciones = 1;
    double first_distance = 0, last_distance = 0;
    double first_elevation = 0, last_elevation = 0;
    double caudal = 0;
    double presionresidual = 0;
    std::vector<std::string> seccionesx, seccionesz;
    int nsecciones = 1;
    int nvalvulasaire = 0;
    std::vector<std::string> xva, yva;
    int nvalvulaslavado = 0;
    std::vector<std::string> xvl, yvl;
    int ntramosfijos = 0;

    std::filesystem::path archivoproyecto;
    bool has_file = false;  // opened or saved at least once
    bool cambios = false;
    bool recalcular = false;  // the design is marked for recalculation
    std::string titulo;
    int regresar = -1;
    int disenado = 0;
    int maximo = 0;

    GraphState graph;
    std::array<std::string, 4> status_panels;  // position, static, dynamic, cost
    CommandState commands;

    std::filesystem::path carpetadatos;
    std::filesystem::path carpetaproyectos;
    ReferenceData ref;
};

// Headers that depend on the unit symbols.
void write_station_headers(Document& doc);
void write_sheet_headers(Document& doc);
void write_predetermined_headers(Document& doc);
// The survey book's headers, spans, 1500 rows and column 0 numbered 1 to 1498
// from row 2; cell contents are kept.
void layout_survey_book(Document& doc);

// A profile with one section and no valves: the first and last station with
// two decimals.
void single_section(Document& doc);

// First and last distance and elevation taken from the lists ("val" rule).
void update_profile_ends(Document& doc);

// Number of stations as the design reads them: the smaller of `nestaciones`
// and the list sizes.
int station_count(const Document& doc);
double station_x(const Document& doc, int i);  // i from 0
double station_z(const Document& doc, int i);

}  // namespace velmora::tosquin
