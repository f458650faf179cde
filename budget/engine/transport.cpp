#include "budget/engine/transport.h"

#include "budget/engine/catalogues.h"
#include "common/textfile.h"

#include <cmath>

namespace velmora::budget {

void cargaraportes(Document& doc, Messages& messages) {
    doc.codigoaportecomunal = textfile::read_lines(doc.files_dir / "aportesm.cst");
    int n = static_cast<int>(doc.codigoaportecomunal.size());
    doc.SG6.set_row_count(n + 1);
    if (doc.SG6.col_count() < 3) doc.SG6.set_col_count(3);
    for (int i = 0; i < n; ++i) {
        const std::string& code = doc.codigoaportecomunal[static_cast<size_t>(i)];
        doc.SG6.clear_row(i + 1);
        if (auto r = find_price_row(doc, code)) {
            doc.SG6.set_cell(0, i + 1, doc.SGprecios(0, *r));
            doc.SG6.set_cell(1, i + 1, doc.SGprecios(2, *r));
            doc.SG6.set_cell(2, i + 1, "100");
        } else {
            messages.notice("The code " + code + " is not listed");
        }
    }
}

void community_list_closed(Document& doc, Messages& messages) {
    doc.save_menu_enabled = true;
    cargaraportes(doc, messages);
}

void init_transport_table(Document& doc) {
    doc.SG7 = Grid(8, 8, 1, 3);
    const char* header[] = {"Materials", "Unit", "Quantity", "Internal trips", "U.P.", "External trips", "U.P.", "Total"};
    for (int c = 0; c < 8; ++c) doc.SG7.set_cell(c, 0, header[c]);
    const char* materials[][2] = {{"Cement", "Sack"}, {"Boulders", "m3"}, {"Gravel", "m3"},
                                  {"Sand", "m3"},     {"Pipes", "m2"},    {"Steel bars, timber, etc.", "Kg"},
                                  {"Total", "------"}};
    for (int r = 1; r <= 7; ++r) {
        doc.SG7.set_cell(0, r, materials[r - 1][0]);
        doc.SG7.set_cell(1, r, materials[r - 1][1]);
    }
    doc.SG7.set_cell(2, 7, "------");
    doc.SG7.set_col_width(0, 140);
    doc.SG7.set_col_width(3, 100);
    doc.SG7.set_col_width(5, 100);
}

void transporte(Document& doc) {
    double cement = 0, boulders = 0, gravel = 0, sand = 0, weight = 0;
    for (int a = 1; a < doc.SG2.row_count(); ++a) {
        double q_units = doc.num(doc.SG2(3, a));
        if (!(q_units > 0)) continue;
        const std::string file = static_cast<size_t>(a) < doc.archivo.size() ? doc.archivo[static_cast<size_t>(a)] : "";
        Grid bill = read_table_file(doc.files_dir / file);
        for (int l = 1; l < bill.row_count(); ++l) {
            const std::string& c = bill(3, l);
            double t = doc.num(bill(2, l)) * q_units;
            if (c == "2004") cement += t;
            if (c == "2011") boulders += t;
            if (c == "2012") gravel += t;
            if (c == "2002") sand += t;
            for (int r = kFirstPriceRow; r < doc.SGprecios.row_count(); ++r)
                if (doc.SGprecios(0, r) == c) weight += doc.num(doc.SGprecios(8, r)) * t;
        }
    }
    auto whole = [](double x) { return std::to_string(static_cast<long long>(std::ceil(x))); };
    doc.SG7.set_cell(2, 1, whole(cement));
    doc.SG7.set_cell(2, 2, whole(boulders));
    doc.SG7.set_cell(2, 3, whole(gravel));
    doc.SG7.set_cell(2, 4, whole(sand));
    doc.SG7.set_cell(2, 6, whole(weight));

    double volume = 0, households = 0;
    auto add_pipes = [&](const Grid& g, bool distribution) {
        for (int row = 1; row < g.row_count(); ++row) {
            double length = doc.num(g(2, row));
            if (length == 0) continue;
            for (int r = kFirstPriceRow; r < doc.SGprecios.row_count(); ++r) {
                if (doc.SGprecios(0, r) != g(0, row)) continue;
                double d = doc.num(doc.SGprecios(7, r));
                volume += d * d * length * kPipeBulk;
            }
            if (distribution) households += doc.num(g(3, row));
        }
    };
    add_pipes(doc.SG4, false);
    add_pipes(doc.SG5, true);
    volume += 0.5 * 0.5 * 3 * households * kPipeBulk;
    doc.SG7.set_cell(2, 5, whole(volume));
}

void transport_tab_shown(Document& doc) {
    if (!doc.cambio_materiales) return;
    transporte(doc);
    doc.cambio_materiales = false;
}

void transport_totals(Document& doc) {
    double internal = 0, external = 0, total = 0;
    for (int r = 1; r <= 6; ++r) {
        double t = doc.num(doc.SG7(3, r)) * doc.num(doc.SG7(4, r)) + doc.num(doc.SG7(5, r)) * doc.num(doc.SG7(6, r));
        doc.SG7.set_cell(7, r, doc.text(t));
        internal += doc.num(doc.SG7(3, r));
        external += doc.num(doc.SG7(5, r));
        total += t;
    }
    doc.SG7.set_cell(3, 7, doc.text(internal));
    doc.SG7.set_cell(5, 7, doc.text(external));
    doc.SG7.set_cell(7, 7, doc.text(total));
    doc.saved = false;
    doc.report_outdated = true;
    doc.save_button_enabled = doc.save_menu_enabled = true;
}

}  // namespace velmora::budget
