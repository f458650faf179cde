#pragma once
// The comma-text line format of every table file and of grid rows written to
// files.
//
// Writing: items joined by ","; an item holding a space, a comma, a double quote
// or a control character is enclosed in double quotes with inner quotes
// doubled. A list of exactly one empty item is written as "" so that it reads
// back as one item.
//
// Reading has two dialects:
//   SpacesSeparate - leading blanks are skipped and unquoted spaces separate
//                    items as commas do (the classic comma-text reader)
//   CommasOnly     - only commas separate; spaces belong to the item
// Both accept quoted items with doubled inner quotes.
#include <string>
#include <string_view>
#include <vector>

namespace velmora::commatext {

enum class Dialect { SpacesSeparate, CommasOnly };

std::string write_line(const std::vector<std::string>& items);
std::vector<std::string> read_line(std::string_view line, Dialect dialect = Dialect::SpacesSeparate);

// Quotes one item when the writer would.
std::string quote_item(std::string_view item);

}  // namespace velmora::commatext
