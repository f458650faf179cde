#include "marulet/ui/plan_view.h"

#include "qtcommon/qt_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace velmora::marulet::ui {

PlanView::PlanView(Document* doc, PlanEditor* editor, QWidget* parent) : QWidget(parent), doc_(doc), editor_(editor) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setMinimumSize(400, 300);
}

void PlanView::sync() {
    const auto area = plan_drawing_size(*doc_);
    setMinimumSize(std::max(400, area.width), std::max(300, area.height));
    switch (editor_->cursor()) {
    case PlanCursor::Default: setCursor(Qt::ArrowCursor); break;
    case PlanCursor::Pipelines: setCursor(Qt::CrossCursor); break;
    case PlanCursor::Sections: setCursor(Qt::PointingHandCursor); break;
    case PlanCursor::Direction: setCursor(Qt::SizeAllCursor); break;
    }
    update();
}

void PlanView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    qt::QtCanvas canvas(&painter);
    try {
        trazargrafica(*editor_, *doc_, canvas, 1, 1);
    } catch (const std::exception& e) {
        emit failed(QString::fromStdString(e.what()));
    }
}

void PlanView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    try {
        editor_->mouse_down(event->position().toPoint().x(), event->position().toPoint().y());
    } catch (const std::exception& e) {
        emit failed(QString::fromStdString(e.what()));
    }
    sync();
    emit edited();
}

// A double click arrives in place of the second press: the double click
// runs first, then that press (which does nothing once a pipeline is done).
void PlanView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    editor_->double_click();
    mousePressEvent(event);
}

}  // namespace velmora::marulet::ui

namespace velmora::marulet::ui {

void PlanView::wheelEvent(QWheelEvent* event) {
    if (event->angleDelta().y() == 0) return;
    try {
        editor_->wheel(event->angleDelta().y() > 0, true);
    } catch (const std::exception& e) {
        emit failed(QString::fromStdString(e.what()));
    }
    event->accept();
    sync();
    emit edited();
}

}  // namespace velmora::marulet::ui
