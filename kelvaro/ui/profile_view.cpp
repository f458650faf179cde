#include "kelvaro/ui/profile_view.h"

#include "common/errors.h"
#include "qtcommon/qt_canvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmora::kelvaro::ui {

ProfileView::ProfileView(const Document* doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void ProfileView::paintEvent(QPaintEvent*) {
    if (!perfiles) return;
    QPainter painter(this);
    qt::QtCanvas canvas(&painter);
    try {
        chart_ = dibujarperfiles(*doc_, canvas, width(), height(), 1, 1, options);
    } catch (const ConversionError& e) {
        emit drawing_failed(QString::fromStdString(e.what()));
        return;
    }
    draw_reading(canvas, reading_);
}

void ProfileView::move_cursor(QPoint pos) {
    if (!perfiles) return;
    chart_ = build_profile_chart(*doc_, width(), height());
    reading_ = read_profile(chart_, doc_->unidaddiametro, pos.x(), pos.y());
    if (reading_.found) emit panels_changed(reading_.panels);
    update();
}

void ProfileView::mouseMoveEvent(QMouseEvent* event) { move_cursor(event->position().toPoint()); }

}  // namespace velmora::kelvaro::ui
