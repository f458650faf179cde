#pragma once
// The two per-project tables that force the design: predetermined diameters
// (one row per section) and predetermined sections (a working pressure forced
// on a stretch of the line), with their dialogs' checks.
#include "tosquin/engine/document.h"

#include "common/canvas.h"
#include "common/ports.h"

#include <string>
#include <vector>

namespace velmora::tosquin {

inline constexpr const char* kIncompleteData = "incomplete data";
inline constexpr const char* kBeyondBox = "Final accumulated distance > BPB station. Correct the data";

// Drop-down lists of the predetermined-diameters table: `dpul`, the distinct
// catalogue ND texts in catalogue order, and `dmm`, the ND-in-mm text of the
// first row of each.
struct DiameterLists {
    std::vector<std::string> dpul, dmm;
};
DiameterLists diameter_lists(const ReferenceData& ref);

// Opening the predetermined-diameters dialog: one row per section, its box
// number and start; the end of the line is kept as the "From" after the last.
void open_predetermined_diameters(Document& doc);
// A key released in row `row`: an empty "To" empties the diameters.
void predetermined_key_released(Document& doc, int row);
// Picking entry `index` of one drop-down (column 3 or 4) writes both columns.
void pick_predetermined_diameter(Document& doc, const DiameterLists& lists, int col, int row, int index);
// "Ok": the message that keeps the dialog open, or empty when it closes.
std::string check_predetermined_diameters(const Document& doc);
// Closing otherwise: the completeness message (the dialog closes anyway).
std::string close_predetermined_diameters(const Document& doc);

// Predetermined sections.
// Typing `typed` in column 2 (type) or 3 (working pressure) of `row` with the
// characters typed since the cell was selected in `prefix`; completes from
// the catalogue and returns the new prefix.
std::string type_in_fixed_section(Document& doc, int col, int row, const std::string& prefix, char typed);
void delete_fixed_section(Document& doc, int row);
void insert_fixed_section(Document& doc, int row);
void clear_fixed_sections(Document& doc);
std::string check_fixed_sections(const Document& doc);
std::string close_fixed_sections(const Document& doc);
// `ntramosfijos` after the dialog.
int count_fixed_sections(const Document& doc);

// After either dialog closes: `ntramosfijos` is recounted and, when the
// project has unsaved changes, the graph is drawn again and the line designed.
// Returns whether the design was redone.
bool after_predetermined_dialog(Document& doc, Messages& messages, Canvas& canvas);

}  // namespace velmora::tosquin
