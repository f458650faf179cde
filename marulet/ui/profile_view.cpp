#include "marulet/ui/profile_view.h"

#include "marulet/engine/profile_drawing.h"
#include "qtcommon/qt_canvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmora::marulet::ui {

ProfileView::ProfileView(Document* doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setMouseTracking(true);
    setMinimumSize(600, 400);
}

void ProfileView::paintEvent(QPaintEvent*) {
    if (!doc_->mostrarresultados) return;
    QPainter painter(this);
    qt::QtCanvas canvas(&painter);
    dibujarperfiles(*doc_, canvas, 1, 1, width(), height(), showgrid);
    if (has_marker_) {
        painter.setPen(QPen(Qt::red, 1, Qt::DotLine));
        painter.drawLine(ground_, invert_);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(ground_.x() - 6, ground_.y() - 6, 13, 13));
    }
}

void ProfileView::readout_at(int x, int y) {
    if (!doc_->mostrarresultados) return;
    const auto r = profile_readout(*doc_, width(), height(), x, y);
    has_marker_ = r.has_value();
    if (r) {
        ground_ = QPointF(r->ground.x, r->ground.y);
        invert_ = QPointF(r->invert.x, r->invert.y);
        emit panels_changed(r->panels);
    }
    update();
}

void ProfileView::mouseMoveEvent(QMouseEvent* event) {
    readout_at(event->position().toPoint().x(), event->position().toPoint().y());
}

}  // namespace velmora::marulet::ui
