#include "marulet/engine/document.h"

#include "common/numtext.h"

namespace velmora::marulet {

Document::Document()
    : SG4(kPipeCols, 50, 2, 1), ZCSG5(kResultCols, 50, 2, 1), materials(3, 2, 1, 0), units(3, 8, 1, 0) {
    for (int c : {0, 1, 2, 6}) SG4.set_col_width(c, 40);
    SG4.merge(0, 0, 1, 2);
    SG4.merge(1, 0, 2, 1);
    SG4.merge(3, 0, 1, 2);
    SG4.merge(4, 0, 2, 1);
    for (int c = 6; c <= 10; ++c) SG4.merge(c, 0, 1, 2);
    for (int c : {7, 8, 9}) SG4.set_editor(c, ColumnEditor{EditorKind::DropDown, {}});
    SG4.set_editor(0, ColumnEditor{EditorKind::ReadOnly, {}});
    for (int c : {0, 1, 2, 3, 4, 15, 18, 21}) ZCSG5.set_col_width(c, 45);
    ZCSG5.set_col_width(17, 77);
    materials.set_row(0, {"Description", "Manning Coefficient", "Infiltration rate L/D/M"});
    set_headers(*this);
    ocultarcolumnas(*this);
}

int data_rows(const Document& doc) { return doc.SG4.row_count() > 2 ? doc.SG4.row_count() - 2 : 0; }

double valor(const Grid& grid, int col, int row) { return numtext::read_lenient(grid(col, row)); }
const std::string& denudo(const Document& doc, int row) { return doc.SG4(kFrom, row); }
const std::string& anudo(const Document& doc, int row) { return doc.SG4(kTo, row); }

void set_headers(Document& doc) {
    Grid& g = doc.SG4;
    g.set_row(0, {"Pipe #", "Node #", "", "LEN [M]", "Ground Elev.", "", "# of HH", "Mate- rial",
                  "N \xC3\x98 [\"]", "N \xC3\x98 [mm]", "Int \xC3\x98 [\"]"});
    g.set_row(1, {"", "From", "To", "", "From", "To", "", "", "", "", ""});
    Grid& z = doc.ZCSG5;
    z.set_row(0, {"Pipe #", "Node", "", "Pipe Elevation", "", "LEN [m]", "Popula- tion", "Harmond F.",
                  "Flow [L/s]", "", "", "", "", "", "N \xC3\x98 [" + doc.unidaddiametro + "]", "Type",
                  "Manning C", "Inf. rate[L/D/M]", "Slope %", "V [M/s]", "Hydraulic R", "Draft [M]",
                  "Tractive F"});
    z.set_row(1, {"", "From #", "To #", "From #", "To #", "", "", "", "Avg", "HH", "Infiltrated", "Illegal C",
                  "In section", "In Pipe", "", "", "", "", "", "", "", "", ""});
}

void ocultarcolumnas(Document& doc) {
    for (int c = 0; c < doc.SG4.col_count(); ++c) doc.SG4.set_hidden(c, false);
    doc.SG4.set_hidden(doc.unidaddiametro == kInchSign ? kNominalMm : kNominalInch, true);
    doc.SG4.set_hidden(kInternalInch, true);
}

}  // namespace velmora::marulet
