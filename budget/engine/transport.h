#pragma once
// Community contribution (SG6) and transport of materials (SG7).
#include "budget/engine/document.h"
#include "common/ports.h"

namespace velmora::budget {

// Square metres per square inch of diameter, times 0.7875.
inline constexpr double kPipeBulk = 2.54 * 2.54 * 0.7875 / (100.0 * 100.0);

// Reads aportesm.cst and builds SG6; a listed code missing from the price
// list is reported and its row stays empty.
void cargaraportes(Document& doc, Messages& messages);
// After the "Community contribution" window ("Modify") closes.
void community_list_closed(Document& doc, Messages& messages);
// The labels of SG7.
void init_transport_table(Document& doc);
// Column 2 of SG7 rows 1 to 6 from the bills and the pipe tables.
void transporte(Document& doc);
// The tab "Community contribution and Transportation" shown.
void transport_tab_shown(Document& doc);
// Column 7 of rows 1 to 6 and the sums of row 7.
void transport_totals(Document& doc);

}  // namespace velmora::budget
