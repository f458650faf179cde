#pragma once
// The printed pages of Marulet: the scale factors of the plan and the profile
// on the printer, and the results table page of one situation.
#include "common/canvas.h"
#include "marulet/engine/document.h"

#include <string>

namespace velmora::marulet {

// Printer pixels per inch over screen pixels per inch, whole.
int print_scale(int printer_dpi, int screen_dpi);

struct DrawingScales {
    int plan_x, plan_y, profile_x, profile_y;
};
// Plan round(ax x 1.2), round(ay x 1.9); profile round(ax x 0.65), round(ay x 1.65).
DrawingScales drawing_scales(int ax, int ay);

// One page: the title in Times New Roman 12 bold underlined at (0, 100), then
// every cell of the results table in printer units (column c from five times
// the screen width of the columns before it, rows 150 units high from 300),
// clipped to its box; a merged header cell prints in every cell it covers.
void print_results_table(const Document& doc, Canvas& canvas, const std::string& title);

}  // namespace velmora::marulet
