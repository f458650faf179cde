#include "tosquin/ui/graph_widget.h"

#include "qtcommon/qt_canvas.h"
#include "tosquin/ui/symbols.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmora::tosquin::ui {

GraphWidget::GraphWidget(Document& doc, GraphEditor& editor, Messages& messages, QWidget* parent)
    : QWidget(parent), doc_(doc), editor_(editor), messages_(messages) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(doc_.graph.width, doc_.graph.height);
}

QSize GraphWidget::sizeHint() const { return {doc_.graph.width, doc_.graph.height}; }

void GraphWidget::render(const std::function<bool(Canvas&)>& draw) {
    QImage img(std::max(1, doc_.graph.width), std::max(1, doc_.graph.height), QImage::Format_RGB32);
    img.fill(Qt::white);
    bool drawn = false;
    {
        QPainter painter(&img);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        qt::QtCanvas canvas(&painter, 96);
        drawn = draw(canvas);
    }
    if (!drawn) return;
    image_ = std::move(img);
    resize(doc_.graph.width, doc_.graph.height);
    update();
}

void GraphWidget::redraw(bool warn) {
    render([&](Canvas& c) {
        redraw_graph(doc_, messages_, c, warn);
        return true;
    });
}

void GraphWidget::clear_picture() {
    image_ = QImage();
    update();
}

void GraphWidget::set_mode(EditMode mode) {
    set_edit_mode(editor_, mode);
    update_cursor();
}

void GraphWidget::update_cursor() { setCursor(graph_cursor(editor_.cursor)); }

void GraphWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!image_.isNull() && doc_.graph.present) p.drawImage(0, 0, image_);
}

void GraphWidget::mouseMoveEvent(QMouseEvent* event) {
    graph_mouse_move(doc_, editor_, event->position().x());
    emit changed();
}

void GraphWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    graph_mouse_move(doc_, editor_, event->position().x());
    if (editor_.mode == EditMode::MoveBox) {
        graph_press(doc_, editor_);
        update_cursor();
        emit changed();
    }
}

void GraphWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    graph_mouse_move(doc_, editor_, event->position().x());
    if (editor_.dragging) apply(graph_release(doc_, editor_));
    else apply(graph_click(doc_, editor_, messages_));
}

void GraphWidget::apply(const GraphEdit& edit) {
    update_cursor();
    if (edit.redraw) redraw(edit.warn);
    emit changed();
}

}  // namespace velmora::tosquin::ui
