#pragma once
// Printing the results: the plan and the profiles (the drawings) and the
// results table, each as its own document, on the printer of the "Printing"
// window. When that printer is a PDF file the documents are its pages.
#include "kelvaro/engine/document.h"
#include "kelvaro/engine/plan_editor.h"
#include "kelvaro/engine/profile_drawing.h"
#include "qtcommon/print_dialog.h"

#include <QPrinter>
#include <QSize>

namespace velmora::kelvaro::ui {

struct PrintRequest {
    bool drawings = true;
    bool table = true;
    QSize profile_area;  // the profiles chart's size on screen
    ProfileOptions profile_options;
    int screen_dpi_x = 96, screen_dpi_y = 96;
    // The plan's editor: its contour lines follow the plan when they are on.
    PlanEditor* plan_editor = nullptr;
};

// Returns the number of documents printed. A drawing that cannot be read
// (ConversionError) ends the printing with what was drawn and is rethrown.
int print_results(QPrinter& printer, const Document& doc, const PrintRequest& request);

}  // namespace velmora::kelvaro::ui
