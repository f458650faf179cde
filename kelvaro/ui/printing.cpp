#include "kelvaro/ui/printing.h"

#include "kelvaro/engine/plan_drawing.h"
#include "kelvaro/engine/results_print.h"
#include "qtcommon/qt_canvas.h"

#include <QPainter>

#include <functional>

namespace velmora::kelvaro::ui {

int print_results(QPrinter& printer, const Document& doc, const PrintRequest& request) {
    const bool one_file = printer.outputFormat() == QPrinter::PdfFormat;
    if (one_file) printer.setResolution(600);  // the resolution the table layout was made for
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QString::fromStdString(doc.last_file.string()));
    const int ax = print_scale(printer.logicalDpiX(), request.screen_dpi_x);
    const int ay = print_scale(printer.logicalDpiY(), request.screen_dpi_y);
    const DrawingScales scales = drawing_scales(ax, ay);

    std::vector<std::function<void(Canvas&)>> documents;
    if (request.drawings) {
        documents.push_back([&](Canvas& c) {
            draw_plan(c, doc, nullptr, scales.plan_x, scales.plan_y);
            if (request.plan_editor) request.plan_editor->draw_contours(c, scales.plan_x, scales.plan_y);
        });
        documents.push_back([&](Canvas& c) {
            ProfileOptions options = request.profile_options;
            options.black_pen = true;
            dibujarperfiles(doc, c, request.profile_area.width(), request.profile_area.height(), scales.profile_x,
                            scales.profile_y, options);
        });
    }
    if (request.table)
        documents.push_back([&](Canvas& c) { print_results_table(doc, c, doc.last_file.string()); });

    QPainter painter;
    int printed = 0;
    for (size_t i = 0; i < documents.size(); ++i) {
        if (!one_file || i == 0) {
            if (!painter.begin(&printer)) break;
        } else {
            printer.newPage();
        }
        qt::QtCanvas canvas(&painter, printer.logicalDpiX());
        try {
            documents[i](canvas);
        } catch (...) {
            painter.end();  // the job ends with what was drawn; the caller reports the error
            throw;
        }
        ++printed;
        if (!one_file || i + 1 == documents.size()) painter.end();
    }
    if (painter.isActive()) painter.end();
    return printed;
}

}  // namespace velmora::kelvaro::ui
