#include "tosquin/engine/document.h"

#include "common/numtext.h"

#include <algorithm>

namespace velmora::tosquin {

Document::Document()
    : SG2(3, 2500, 1, 0),
      SG3(15, 1500, 2, 0),
      StringGrid1(14, 2, 1, 0),
      predeterminados(5, 2, 1, 1),
      tramosfijos(4, 100, 1, 0) {
    write_station_headers(*this);
    write_sheet_headers(*this);
    write_predetermined_headers(*this);
    layout_survey_book(*this);
    SG2.set_cell(0, 1, "1");
}

void write_station_headers(Document& doc) {
    const auto& u = doc.ref.units;
    doc.SG2.set_cell(0, 0, "No");
    doc.SG2.set_cell(1, 0, "Acc Dist [" + u.length + "]");
    doc.SG2.set_cell(2, 0, "Elev [" + u.head_loss + "]");
}

void write_sheet_headers(Document& doc) {
    const auto& u = doc.ref.units;
    const std::vector<std::string> headers = {
        "From", "To", "Dist. [" + u.length + "]", "ID [" + u.internal_diameter + "]",
        "ND [" + u.nominal_diameter + "]", "P [" + u.pressure + "]", "Hf [" + u.head_loss + "]",
        "V [" + u.velocity + "]", "From Elev [" + u.head_loss + "]", "To Elev [" + u.head_loss + "]",
        "From HGL", "To HGL", "From P [" + u.head_loss + "]", "To P [" + u.head_loss + "]"};
    doc.StringGrid1.set_row(0, headers);
}

void write_predetermined_headers(Document& doc) {
    doc.predeterminados.set_row(0, {"BPB", "From Accum D [m]", "To Accum D [m]", "Nom Diameter [" + kInchMark + "]",
                                    "Nom Diameter [mm]"});
    const auto& u = doc.ref.units;
    doc.tramosfijos.set_row(0, {"From x [" + u.length + "]", "To x [" + u.length + "]", "Type",
                                "Working Pressure [PSI]"});
}

void layout_survey_book(Document& doc) {
    Grid& g = doc.SG3;
    g.set_size(15, 1500);
    g.set_fixed_rows(2);
    g.clear_merges();
    g.set_row(0, {"Pipe #", "Node", "", "Stadia Wires", "", "", "Zenith", "", "", "H.I.", "Elevation", "",
                  "Distance", "", ""});
    g.set_row(1, {"", "From #", "To #", "Lower", "Middle", "Upper", "Deg", "Min", "Sec", "", "From", "To", "Partial",
                  "From", "To"});
    g.merge(0, 0, 1, 2);
    g.merge(1, 0, 2, 1);
    g.merge(3, 0, 3, 1);
    g.merge(6, 0, 3, 1);
    g.merge(9, 0, 1, 2);
    g.merge(10, 0, 2, 1);
    g.merge(12, 0, 3, 1);
    for (int r = 2; r < 1500; ++r) g.set_cell(0, r, std::to_string(r - 1));
}

void single_section(Document& doc) {
    doc.seccionesx = {numtext::format_fixed(doc.first_distance, 2), numtext::format_fixed(doc.last_distance, 2)};
    doc.seccionesz = {numtext::format_fixed(doc.first_elevation, 2), numtext::format_fixed(doc.last_elevation, 2)};
    doc.nsecciones = 1;
    doc.nvalvulasaire = 0;
    doc.nvalvulaslavado = 0;
    doc.xva.clear();
    doc.yva.clear();
    doc.xvl.clear();
    doc.yvl.clear();
}

void update_profile_ends(Document& doc) {
    auto first = [](const std::vector<std::string>& l) { return l.empty() ? 0.0 : numtext::val(l.front()); };
    auto last = [](const std::vector<std::string>& l) { return l.empty() ? 0.0 : numtext::val(l.back()); };
    doc.first_distance = first(doc.listacam);
    doc.last_distance = last(doc.listacam);
    doc.first_elevation = first(doc.listacota);
    doc.last_elevation = last(doc.listacota);
}

int station_count(const Document& doc) {
    int n = std::min<int>(static_cast<int>(doc.listacam.size()), static_cast<int>(doc.listacota.size()));
    return std::max(0, std::min(n, doc.nestaciones));
}

double station_x(const Document& doc, int i) { return numtext::val(doc.listacam[static_cast<size_t>(i)]); }
double station_z(const Document& doc, int i) { return numtext::val(doc.listacota[static_cast<size_t>(i)]); }

}  // namespace velmora::tosquin
