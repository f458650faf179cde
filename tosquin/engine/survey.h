#pragma once
// The survey book: reduction of stadia shots to stations of the profile, as
// typed row by row or pasted.
#include "tosquin/engine/document.h"
#include "tosquin/engine/profile.h"

#include "common/ports.h"

#include <string>

namespace velmora::tosquin {

// A key released in survey row `row`: digits, "." and Backspace reduce the
// row; other keys except the arrows empty the cell.
void survey_key_released(Document& doc, Key key, int col, int row);

// Reduction of the current row as typing does it: counts the rows in use,
// computes the upper reading, then the "From" values, partial distance, "To"
// elevation and "To" distance, and writes station `row` of the station table.
void reduce_survey_row(Document& doc, int row);

// Survey paste at the selection's top-left cell; every pasted row is reduced
// in order and the station table follows.
void paste_survey(Document& doc, const std::string& text, int col, int row);

}  // namespace velmora::tosquin
