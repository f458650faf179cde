#pragma once
// The Kelvaro document: every table, list, option value, counter and flag of
// the main window, without any widget. The windows show and edit it; the
// commands in the other engine headers change it.
#include "common/grid.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::kelvaro {

using TextList = std::vector<std::string>;
using TextLists = std::vector<TextList>;

// Column numbers of the input table ZCSG4.
namespace col {
constexpr int kPipe = 0;
constexpr int kFrom = 1;
constexpr int kTo = 2;
constexpr int kLength = 3;
constexpr int kElevFrom = 4;
constexpr int kElevTo = 5;
constexpr int kHouseholds = 6;
constexpr int kNetwork = 7;
constexpr int kDemand = 8;     // hidden: unit flow times households
constexpr int kHandedOn = 9;   // hidden: flow passed to the networks fed at the "To" node
}  // namespace col

constexpr int kFirstPipeRow = 2;

struct Document {
    Document();

    // Project values (panel above the tabs).
    std::string Edit1;           // project name
    std::string Edit2;           // minimum residual pressure, as shown
    std::string Edit3 = "0.022"; // unit flow per household, as shown

    Grid ZCSG2;  // pipes of the network being designed
    Grid ZCSG3;  // nodes of the network being designed
    Grid ZCSG4;  // input table
    Grid ZCSG5;  // results: pipes design
    Grid ZCSG6;  // results: nodes conditions

    TextList redlista{"1"};

    // Plan lists: one inner list per pipeline, one entry per point.
    TextLists tramosx, tramosy, tramosz, tramosnudos;
    // Box lists: entry 0 is the source.
    TextList bpbx, bpby, bpbnudos, bpblibre;

    // Option values held in memory.
    double presmin = 0, presmax = 0, caudalunitario = 0, IQF = 0;
    int diammin = 0, diammax = 0, chw = 0;
    TextList diamnominal, diaminterno, costounitario, chwlista;
    std::string unidaddiametro;

    // Reference tables as loaded into the Diameters and Options windows.
    Grid catalogue;  // pipes_branch.csv
    Grid units;      // units.qtx

    std::filesystem::path carpetadatos;
    std::filesystem::path carpetaproyectos;

    std::string nudoraiz;
    int numnudos = 0;
    int ultimonudo = 0;
    bool cambios = false;
    bool mostrarcalculos = false;
    int consumosel = 0;

    // The file most recently read or written (project companion, export):
    // the printout's title and the proposed export name come from it.
    std::filesystem::path last_file;
    int export_filter = 1;  // filter chosen in the last export dialog

    // Enabled states of the commands the engine switches.
    bool calculate_enabled = false;      // "To Calculate"
    bool plan_tools_enabled = false;     // permitir()
    bool delete_sections_enabled = false;
    bool print_enabled = false;          // "Print the Spreadsheet"
    bool profiles_enabled = false;
    int current_tab = 0;                 // 0 "Data/Drawing", 1 "Spreadsheet", 2 "Profiles"

    // Current cell of the input table (column, row), recorded on selection.
    int current_col = 1;
    int current_row = kFirstPipeRow;

    int last_pipe_row() const { return ZCSG4.row_count() - 1; }
};

// Header texts, merges and widths of the five tables.
void set_zcsg2_headers(Grid& g);
void set_zcsg3_headers(Grid& g);
void set_zcsg4_headers(Grid& g);
void set_zcsg5_headers(Grid& g, const std::string& unidaddiametro);
void set_zcsg6_headers(Grid& g);

// permitir(variable): enables or disables the plan tools together.
void permitir(Document& doc, bool variable);

}  // namespace velmora::kelvaro
