#pragma once
// The profile graph: scales, the coordinate transform `convertirxy` and the
// drawing of the ground, axes, scales, flow text and element symbols
// (`dibujargrafica`). The design draws its grade line and labels through the
// same transform.
#include "tosquin/engine/document.h"

#include "common/canvas.h"

namespace velmora::tosquin {

// Pixel position of elevation z at accumulated distance x (rounded to whole
// pixels, ties to even).
PointF convertirxy(const GraphState& graph, double z, double x);

// xmin, xmax, zfirst, zlast, zmin, sx and sy from the station lists and the
// graph size. A profile without length has no graph. A profile whose first
// station is its lowest point has no vertical extent: it is drawn flat
// (sy = 0) rather than with an infinite scale.
bool compute_scales(const Document& doc, GraphState& graph);

// Draws the graph on `canvas` with every pixel coordinate multiplied by
// sx_factor and sy_factor, and marks the graph present. Does nothing while the
// profile has no length.
void dibujargrafica(Document& doc, Canvas& canvas, int sx_factor = 1, int sy_factor = 1);

// The graph is cleared: nothing is present until it is drawn again.
inline void clear_graph(Document& doc) { doc.graph.present = false; }

}  // namespace velmora::tosquin
