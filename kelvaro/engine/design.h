#pragma once
// "To Calculate": sizes every pipe of every network and fills the result
// tables ZCSG5 and ZCSG6.
#include "common/ports.h"
#include "kelvaro/engine/document.h"

namespace velmora::kelvaro {

enum class CalcResult {
    Done,     // result tables filled
    Refused,  // the input checks refused the table (their messages were shown)
    Stopped,  // a message stopped the calculation; the tables keep what was written
};

CalcResult to_calculate(Document& doc, Messages& messages, Progress& progress);

// Designs network `red`, whose pipes are in ZCSG2 and nodes in ZCSG3: fills
// ZCSG2 columns 5 to 11 and ZCSG3 columns 3 and 4. Throws CommandError or
// ConversionError when it has to stop.
void CalcularRamales(Document& doc, const std::string& red, Messages& messages, Progress& progress);

// Hazen-Williams head loss in metres: length in m, flow in L/s, coefficient C,
// internal diameter in mm.
double head_loss(double length, double flow, double c, double internal_mm);

}  // namespace velmora::kelvaro
