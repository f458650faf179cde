#pragma once
// The catalogue window ("Diameters"): working-pressure unit conversions, row
// commands and saving "pipes.csv" on closing.
#include "tosquin/engine/document.h"

#include "common/ports.h"

#include <string>

namespace velmora::tosquin {

// Conversions between the working-pressure units of the catalogue. The
// conversions from PSI are truncated to two decimals.
double psi_to_kgcm2(double psi);
double psi_to_bar(double psi);
double psi_to_mpa(double psi);
double kgcm2_to_psi(double kgcm2);  // rounded to two decimals
double bar_to_psi(double bar);      // rounded to a whole number
double mpa_to_psi(double mpa);      // rounded to a whole number

// A key released in column `col` of catalogue row `row`: rewrites the other
// pressure columns from the one typed (3 PSI, 7 Kg/cm2, 8 Bar, 9 Mpa).
void convert_pressures(Grid& catalogue, int col, int row);

// The catalogue window's grid and its change flag.
struct CatalogueWindow {
    Grid grid{10, 1};
    bool cambio = false;
};

// "Diameters": loads "pipes.csv" (throws FileError when malformed).
CatalogueWindow open_catalogue(const Document& doc);
void catalogue_add(CatalogueWindow& w);
void catalogue_insert(CatalogueWindow& w, int row);
void catalogue_delete(CatalogueWindow& w, int row);
// Closing: asks to save when changed; Yes writes "pipes.csv".
void catalogue_close(Document& doc, CatalogueWindow& w, Messages& messages);

}  // namespace velmora::tosquin
