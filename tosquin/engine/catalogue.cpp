#include "tosquin/engine/catalogue.h"

#include "common/numtext.h"
#include "tosquin/engine/reference_files.h"

#include <cmath>

namespace velmora::tosquin {

namespace {
constexpr double kBarPerPsi = 0.06894759086775369;
constexpr double kMpaPerPsi = 0.006894759086775369;

double trunc2(double x) { return std::trunc(x * 100) / 100; }

void renumber(Grid& g) {
    for (int r = 1; r < g.row_count(); ++r) g.set_cell(0, r, std::to_string(r));
}
}  // namespace

double psi_to_kgcm2(double psi) { return trunc2(psi / 2.54 / 2.54 / 2.2); }
double psi_to_bar(double psi) { return trunc2(psi * kBarPerPsi); }
double psi_to_mpa(double psi) { return trunc2(psi * kMpaPerPsi); }
double kgcm2_to_psi(double kgcm2) { return numtext::round_to(kgcm2 * 2.54 * 2.54 * 2.2, 2); }
double bar_to_psi(double bar) { return std::nearbyint(bar / kBarPerPsi); }
double mpa_to_psi(double mpa) { return std::nearbyint(mpa / kMpaPerPsi); }

void convert_pressures(Grid& g, int col, int row) {
    auto num = [&](int c) { return numtext::read_lenient(g(c, row)); };
    auto put = [&](int c, double v) { g.set_cell(c, row, numtext::format_general(v)); };
    switch (col) {
        case 7: put(3, kgcm2_to_psi(num(7))); break;
        case 8: put(3, bar_to_psi(num(8))); break;
        case 9: put(3, mpa_to_psi(num(9))); break;
        case 3: break;
        default: return;
    }
    double psi = num(3);
    if (col != 7) put(7, psi_to_kgcm2(psi));
    if (col != 8) put(8, psi_to_bar(psi));
    if (col != 9) put(9, psi_to_mpa(psi));
}

CatalogueWindow open_catalogue(const Document& doc) {
    CatalogueWindow w;
    w.grid = doc.ref.catalogo;
    auto file = doc.carpetadatos / kPipesFile;
    if (std::filesystem::exists(file)) w.grid = read_table_file(file, 10);
    w.grid.set_col_width(0, 35);
    w.grid.set_col_width(7, 84);
    return w;
}

void catalogue_add(CatalogueWindow& w) {
    int last = w.grid.row_count() - 1;
    long long number = last >= 1 ? numtext::read_int_lenient(w.grid(0, last)) + 1 : 1;
    w.grid.set_row_count(last + 2);
    w.grid.set_cell(0, last + 1, std::to_string(number));
    w.cambio = true;
}

void catalogue_insert(CatalogueWindow& w, int row) {
    if (row < 1 || row >= w.grid.row_count()) return;
    w.grid.insert_row(row);
    renumber(w.grid);
    w.cambio = true;
}

void catalogue_delete(CatalogueWindow& w, int row) {
    if (row < 1 || row >= w.grid.row_count()) return;
    w.grid.delete_row(row);
    renumber(w.grid);
    w.cambio = true;
}

void catalogue_close(Document& doc, CatalogueWindow& w, Messages& messages) {
    if (w.cambio &&
        messages.question("The data has been changed! Would you like to save the changes?", "Warning") == Answer::Yes)
        write_table_file(doc.carpetadatos / kPipesFile, w.grid);
    read_units(doc);
}

}  // namespace velmora::tosquin
