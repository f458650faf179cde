#pragma once
// The budget document: the catalogues read from the catalogue folder, the
// project tables of the "Initial Data" tabs, the report tables and the flags
// that tie them together. Every operation takes the document explicitly.
#include "common/grid.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::budget {

struct Document {
    // Folders: catalogue files and component bills; projects (open/save,
    // export, component usage check).
    std::filesystem::path files_dir;
    std::filesystem::path projects_dir;
    // The user's decimal separator: every number read from or written to a
    // table or file of this program uses it.
    char decimal_separator = '.';
    // Text put in SG1 row 4 by inicializardatos (the user's short date).
    std::string today;

    // Catalogues.
    Grid SGprecios;     // precios.csv
    Grid SGlistaobras;  // obras.csv
    // Parallel component lists: entry i holds works-list row i + 1.
    std::vector<std::string> nobra, obra, ne, ns, nee, nes, nve, nvs, ntee, archivo, unidad;
    // Pipe diameters: index n holds the diameter text of the n-th pipe of
    // the price list (index 0 empty), lining up with the rows of SG4/SG5.
    std::vector<std::string> diametro;
    std::vector<std::string> codigoaportecomunal;  // aportesm.cst

    // Project tables.
    Grid SG1, SG2, SG3, SG4, SG5, SG6, SG7, SG8, SG9;
    std::string others_description;  // "Specify Others:" field
    std::string tools_percentage;       // tools percentage field
    int maxde = 0;
    int maxds = 0;

    // Report tables.
    Grid SG11, SG12, SG13, SG14, SG15, SG16, SG17;

    // Flags.
    bool cambio_materiales = false;
    bool saved = true;
    bool report_outdated = false;
    bool save_menu_enabled = false;
    bool save_button_enabled = false;
    std::filesystem::path project_file;

    // Number reading and writing with the document's separator.
    double num(const std::string& text) const;
    double num_strict(const std::string& text) const;
    std::string text(double value) const;
};

// Integer reading used for codes and counts: 0 when not an integer.
long long int_or_zero(const std::string& text);

}  // namespace velmora::budget
