#pragma once
// Drawing the Kelvaro plan on a canvas: the pipeline being drawn, every
// pipeline with its node numbers (on a white background, or red where the
// segment is marked for deletion), the break pressure boxes, and on screen the
// line that follows the mouse and the contour lines.
#include "common/canvas.h"
#include "kelvaro/engine/document.h"
#include "kelvaro/engine/plan_editor.h"

namespace velmora::kelvaro {

// Name of the box picture drawn for every box entry (12 x 15 pixels).
extern const char* const kBoxImage;  // "crp"

// The plan scaled by the integer factors SX, SY (1, 1 on screen; larger when
// printing). `editor` supplies the pipeline being drawn and the deletion
// marks; without it only the stored plan is drawn. Positions are read
// strictly (a non-number throws ConversionError).
void draw_plan(Canvas& canvas, const Document& doc, const PlanEditor* editor, int SX, int SY);

// What a repaint of the plan view draws: the plan at 1, 1, the line that
// follows the mouse while a branch is started, then the contour lines when
// they are on.
void paint_plan(Canvas& canvas, const Document& doc, PlanEditor& editor);

}  // namespace velmora::kelvaro
