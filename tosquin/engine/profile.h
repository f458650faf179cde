#pragma once
// The "Data" tab: reset of the window (`nuevoproyecto`), the station table's
// commands and paste, the tab-change validation and `prepararperfil`, which
// takes the station table into the design lists.
#include "tosquin/engine/document.h"

#include "common/canvas.h"
#include "common/ports.h"

#include <string>

namespace velmora::tosquin {

// Resets the window to an empty project. Re-reads the units table when a data
// folder is set (throws FileError when it is malformed).
void nuevoproyecto(Document& doc);

// Leaving a tab: validation messages, then `prepararperfil`. Returns whether
// the tab change goes ahead.
bool leave_tab(Document& doc, Messages& messages);
// Returns false when the tab change must be refused.
bool prepararperfil(Document& doc, Messages& messages);

// "Main Pipeline" shown: when the design is marked for recalculation, takes
// the station count, flow and residual pressure from the edits, draws the
// graph and designs. Returns false when nothing was redone.
bool show_main_pipeline(Document& doc, Messages& messages, Canvas& canvas);
// "Data" shown: the survey book is laid out again.
void show_data_tab(Document& doc);

// Keys as the tables distinguish them when released.
enum class Key { Digit, Dot, Backspace, Arrow, Other };

// Station table commands.
void trim_station_table(Document& doc);
void station_key_released(Document& doc, Key key, int col, int row);
void insert_station(Document& doc, int row);
void delete_station(Document& doc, int row);
void add_station(Document& doc);
void set_input_mode(Document& doc, InputMode mode);

// Writes clipboard text (rows ended by CR, CR LF or LF; cells separated by
// tabs) into the grid from (col, row), never above its fixed rows; cells
// beyond the last column or row are skipped. Returns the last row written, or
// -1 when the text holds no row.
int paste_block(Grid& grid, const std::string& text, int col, int row);

// Profile paste into the station table at the selection's top-left cell.
void paste_profile(Document& doc, Messages& messages, const std::string& text, int col, int row);

}  // namespace velmora::tosquin
