#pragma once
// Derivations from the input table: node demands, the network list, the flows
// handed from one network to the networks it feeds, the per-network pipe and
// node tables, the network numbering and the input checks.
#include "common/ports.h"
#include "kelvaro/engine/document.h"

namespace velmora::kelvaro {

// Rebuilds redlista and column 8 of ZCSG4, then runs DefinirQRed when
// redlista is not empty. Edit3 is read strictly (ConversionError).
void definircaudales(Document& doc);
// Writes column 9 of ZCSG4 (cleared first on every pipe row).
void DefinirQRed(Document& doc);
// Copies the pipes of network `red` into ZCSG2, then runs DefinirNudos.
void DefinirRamales(Document& doc, const std::string& red);
// Builds ZCSG3 for the pipes now in ZCSG2 and sets nudoraiz.
void DefinirNudos(Document& doc);
// Empties ZCSG2 rows 2 on and ZCSG3 rows 1 on, row counts kept.
void CambiodeRed(Document& doc);
// Input checks; reports each non-empty list in a "Warning" box.
bool DatosOK(Document& doc, Messages& messages);
// Rewrites column 7 (networks) and column 0 (pipe numbers) from the box lists.
void numerarredes(Document& doc);

// Largest node number of the input table that reads as an integer (0 when none).
int highest_node_number(const Document& doc, bool to_nodes_only);

}  // namespace velmora::kelvaro
