#pragma once
// Editing rules of the pipe table: selection and the diameter editors, keys,
// row buttons, pasting, and the data check run before every calculation.
#include "common/ports.h"
#include "marulet/engine/document.h"

#include <string>

namespace velmora::marulet {

// Records the cell and rebuilds `dplglist`, `dmmlist`, `dreallist` from the
// catalogue rows of the selected row's material.
void select_cell(Document& doc, int col, int row);
// Item `index` chosen in the drop-down of column 7, 8 or 9 of the selected row.
void choose_item(Document& doc, int col, int index);
// A key released in the selected cell (after the cell's text was edited).
void key_released(Document& doc);

void add_row(Document& doc);
void insert_row(Document& doc);
void delete_row(Document& doc);
// Clipboard text pasted at the top-left cell (left, top) of the selection.
void paste(Document& doc, const std::string& text, int left, int top);

// True when the pipe table may be calculated; shows the warnings otherwise.
bool DatosOK(Document& doc, Messages& messages);

// Ground elevation of every drawn node, from the last pipe-table row naming it.
void rebuild_tramosz(Document& doc);

}  // namespace velmora::marulet
