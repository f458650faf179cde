#pragma once
// The report: unit prices per component (SG11), the pipelines (SG12, SG13),
// the budget with indirect costs (SG14), the funding split (SG15) and the
// two bills (SG16, SG17).
#include "budget/engine/document.h"

#include <map>
#include <vector>

namespace velmora::budget {

// Headers, labels, merges and widths of the report tables; the row count of
// SG15 and its indirect-cost labels from SG8.
void inicializar(Document& doc);

// Showing the "Reports" tab: rebuilds when the report is outdated.
// Returns true when it rebuilt.
bool reports_tab_shown(Document& doc);
// The whole rebuild: empties SG11..SG16, writes the headers and runs every
// step. A bill file that cannot be read (FileError) or a bill cell that is not
// a number (ConversionError) stops it; the tables keep what was written.
void rebuild_report(Document& doc);

// The benefits window closed: a changed table rebuilds the report at once.
void benefits_window_closed(Document& doc, bool changed);

// The bills of the components read during one rebuild, by component index.
using BillCache = std::map<int, Grid>;
const Grid& component_bill(const Document& doc, BillCache& cache, int component);

void bill_per_component(Document& doc, BillCache& cache);
void bill_of_quantities(Document& doc, BillCache& cache);

// Rows of the report tables drawn highlighted.
std::vector<int> highlighted_rows(const Document& doc, const Grid& table);

}  // namespace velmora::budget
