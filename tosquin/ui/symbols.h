#pragma once
// The program's pictures, drawn in code: the symbols of the graph's elements
// ("Crp" box, "Va" air valve, "Vl" washout valve) and one mouse cursor per
// mode of the graph editor.
#include "tosquin/engine/graph_editor.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>

namespace velmora::tosquin::ui {

QImage symbol_image(const char* name);
// Registers the three symbols with the canvas that paints the graph.
void register_symbols();
QCursor graph_cursor(GraphCursor cursor);
// The about box's picture: a line falling along a profile to a box.
QPixmap about_picture();
// The picture of a cursor, also the icon of its tool button.
QPixmap cursor_pixmap(GraphCursor cursor);

}  // namespace velmora::tosquin::ui
