#pragma once
// Editing commands of the input table ZCSG4: rows, paste and what a released
// key updates.
#include "kelvaro/engine/document.h"

#include <string>

namespace velmora::kelvaro {

void add_row(Document& doc);
void insert_row(Document& doc);  // at doc.current_row
void delete_row(Document& doc);  // doc.current_row
// Clipboard text pasted with the selection's top-left at (left, top).
void paste(Document& doc, const std::string& clipboard, int left, int top);
// A key released in the input table at the current cell (rules 1 to 4).
void key_released(Document& doc);
// Rule 3: plan point elevations from the table.
void rebuild_plan_elevations(Document& doc);
// Rule 4: every pipe row complete and every terminal pipe with households.
bool table_ready(const Document& doc);

}  // namespace velmora::kelvaro
