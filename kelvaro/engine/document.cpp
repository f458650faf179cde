#include "kelvaro/engine/document.h"

namespace velmora::kelvaro {

void set_zcsg2_headers(Grid& g) {
    g.set_fixed_rows(2);
    if (g.col_count() < 12) g.set_col_count(12);
    if (g.row_count() < 3) g.set_row_count(3);
    const char* row0[] = {"Pipe #", "Node", "", "Length [m]", "Flow", "", "Instantaneous", "For designing",
                          "Diameter", "HWC", "Hf", "Cost"};
    for (int c = 0; c < 12; ++c) g.set_cell(c, 0, row0[c]);
    g.set_cell(1, 1, "From #");
    g.set_cell(2, 1, "To #");
    g.set_cell(4, 1, "In Pipe");
    g.clear_merges();
    g.merge(1, 0, 2, 1);
    g.merge(4, 0, 2, 1);
    g.set_col_width(5, 72);
    g.set_col_width(6, 72);
}

void set_zcsg3_headers(Grid& g) {
    g.set_fixed_rows(1);
    if (g.col_count() < 5) g.set_col_count(5);
    if (g.row_count() < 2) g.set_row_count(2);
    const char* row0[] = {"Node", "Flow", "Elevation", "Gradient", "Pressure"};
    for (int c = 0; c < 5; ++c) g.set_cell(c, 0, row0[c]);
}

void set_zcsg4_headers(Grid& g) {
    g.set_fixed_rows(2);
    if (g.col_count() < 8) g.set_col_count(8);
    const char* row0[] = {"Pipe #", "Node #", "", "Length", "Node Elevation", "", "# of HH", "Network #"};
    for (int c = 0; c < 8; ++c) g.set_cell(c, 0, row0[c]);
    g.set_cell(1, 1, "From");
    g.set_cell(2, 1, "To");
    g.set_cell(4, 1, "From");
    g.set_cell(5, 1, "To");
    g.clear_merges();
    for (int c : {0, 3, 6, 7}) g.merge(c, 0, 1, 2);
    g.merge(1, 0, 2, 1);
    g.merge(4, 0, 2, 1);
    for (int c : {0, 1, 2, 6}) g.set_col_width(c, 40);
}

void set_zcsg5_headers(Grid& g, const std::string& unidaddiametro) {
    g.set_fixed_rows(2);
    g.set_fixed_cols(2);
    if (g.col_count() < 19) g.set_col_count(19);
    if (g.row_count() < 2) g.set_row_count(2);
    const char* row0[] = {"Network", "Pipe #", "Node", "", "Length [m]", "Flow", "", "", "", "",
                          "HWC", "Hf", "Cost", "Elevation", "", "Hydraulic Gradient Line", "",
                          "Residual Pressure", ""};
    for (int c = 0; c < 19; ++c) g.set_cell(c, 0, row0[c]);
    g.set_cell(9, 0, "Diameter [" + unidaddiametro + "]");
    const char* row1[] = {"", "", "From #", "To #", "", "In Node", "In Pipe", "Instantaneous", "For design",
                          "", "", "", "", "From", "To", "From", "To", "From", "To"};
    for (int c = 0; c < 19; ++c) g.set_cell(c, 1, row1[c]);
    g.clear_merges();
    for (int c : {0, 1, 4, 9, 10, 11, 12}) g.merge(c, 0, 1, 2);
    g.merge(2, 0, 2, 1);
    g.merge(5, 0, 4, 1);
    g.merge(13, 0, 2, 1);
    g.merge(15, 0, 2, 1);
    g.merge(17, 0, 2, 1);
    g.set_col_width(7, 72);
    g.set_col_width(8, 72);
}

void set_zcsg6_headers(Grid& g) {
    g.set_fixed_rows(1);
    g.set_fixed_cols(2);
    if (g.col_count() < 6) g.set_col_count(6);
    if (g.row_count() < 2) g.set_row_count(2);
    const char* row0[] = {"Network", "Node", "Flow", "Elevation", "Gradient", "Pressure"};
    for (int c = 0; c < 6; ++c) g.set_cell(c, 0, row0[c]);
}

Document::Document()
    : ZCSG2(12, 3, 2, 0), ZCSG3(5, 2, 1, 0), ZCSG4(8, 30, 2, 0), ZCSG5(19, 3, 2, 2), ZCSG6(6, 2, 1, 2),
      catalogue(7, 2, 1, 0), units(3, 8, 1, 0) {
    set_zcsg2_headers(ZCSG2);
    set_zcsg3_headers(ZCSG3);
    set_zcsg4_headers(ZCSG4);
    set_zcsg5_headers(ZCSG5, unidaddiametro);
    set_zcsg6_headers(ZCSG6);
}

void permitir(Document& doc, bool variable) { doc.plan_tools_enabled = variable; }

}  // namespace velmora::kelvaro
