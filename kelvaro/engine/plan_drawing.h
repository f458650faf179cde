#pragma once
// The plan as the "Data/Drawing" tab and the printout show it: every pipeline
// segment by segment with its node numbers, and the boxes (the source first).
#include "common/canvas.h"
#include "kelvaro/engine/document.h"

namespace velmora::kelvaro {

// Draws the pipelines and boxes with every plan position multiplied by the
// integer factors SX, SY (1, 1 on screen). Throws ConversionError when a plan
// position is no number.
void draw_plan(const Document& doc, Canvas& canvas, int SX, int SY);

// Size of the drawing area: largest x and y of the pipelines plus 50.
struct PlanExtent {
    int width = 0, height = 0;
};
PlanExtent plan_extent(const Document& doc);

}  // namespace velmora::kelvaro
