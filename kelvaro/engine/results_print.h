#pragma once
// The results table as printed: one page, the title, then every row of ZCSG5
// in boxes of fixed height, each column as wide as five times its width on
// screen. A table taller than the page runs off its bottom.
#include "common/canvas.h"
#include "kelvaro/engine/document.h"

#include <string>

namespace velmora::kelvaro {

void print_results_table(const Document& doc, Canvas& canvas, const std::string& title);

// Scale factor of one axis: printer dots per inch over screen pixels per inch,
// as a whole number.
int print_scale(int printer_dpi, int screen_dpi);
// The factors of the two drawings: the plan (x1.2, x1.9) and the profiles
// (x0.7, x1.5), each rounded.
struct DrawingScales {
    int plan_x, plan_y, profile_x, profile_y;
};
DrawingScales drawing_scales(int ax, int ay);

}  // namespace velmora::kelvaro
