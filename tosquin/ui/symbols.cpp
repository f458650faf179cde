#include "tosquin/ui/symbols.h"

#include "qtcommon/qt_canvas.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cstring>

namespace velmora::tosquin::ui {
namespace {

// A small pointer in the top-left corner of every cursor: the hot spot.
void draw_pointer(QPainter& p) {
    QPainterPath arrow;
    arrow.moveTo(0, 0);
    arrow.lineTo(0, 13);
    arrow.lineTo(3, 10);
    arrow.lineTo(6, 15);
    arrow.lineTo(8, 14);
    arrow.lineTo(5, 9);
    arrow.lineTo(9, 9);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::black);
    p.drawPath(arrow);
}

void draw_box(QPainter& p, QRectF r) {
    p.setPen(QPen(QColor(0, 0, 128), 1.2));
    p.setBrush(QColor(120, 170, 230));
    p.drawRect(r);
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.drawLine(QPointF(r.left(), r.top() + r.height() * 0.45), QPointF(r.right(), r.top() + r.height() * 0.45));
}

void draw_air_valve(QPainter& p, QRectF r) {
    p.setPen(QPen(QColor(128, 0, 0), 1.2));
    p.setBrush(QColor(255, 90, 90));
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, 1.4));
    QPointF c = r.center();
    p.drawLine(QPointF(c.x(), r.bottom() - 2), QPointF(c.x(), r.top() + 2));
    p.drawLine(QPointF(c.x() - 2.5, r.top() + 4.5), QPointF(c.x(), r.top() + 2));
    p.drawLine(QPointF(c.x() + 2.5, r.top() + 4.5), QPointF(c.x(), r.top() + 2));
}

void draw_washout_valve(QPainter& p, QRectF r) {
    QPolygonF tri;
    tri << r.topLeft() << r.topRight() << QPointF(r.center().x(), r.bottom());
    p.setPen(QPen(QColor(0, 90, 0), 1.2));
    p.setBrush(QColor(80, 190, 80));
    p.drawPolygon(tri);
}

void draw_eraser(QPainter& p) {
    p.save();
    p.translate(20, 20);
    p.rotate(-35);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(250, 160, 180));
    p.drawRect(QRectF(-9, -5, 12, 10));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, -5, 7, 10));
    p.restore();
}

void draw_cross_arrows(QPainter& p, QPointF c, double s, bool filled) {
    p.setPen(QPen(Qt::black, 1.6));
    p.drawLine(QPointF(c.x() - s, c.y()), QPointF(c.x() + s, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - s), QPointF(c.x(), c.y() + s));
    p.setBrush(Qt::black);
    const double h = 3;
    auto head = [&](QPointF tip, QPointF a, QPointF b) { p.drawPolygon(QPolygonF() << tip << a << b); };
    head({c.x() - s, c.y()}, {c.x() - s + h, c.y() - h}, {c.x() - s + h, c.y() + h});
    head({c.x() + s, c.y()}, {c.x() + s - h, c.y() - h}, {c.x() + s - h, c.y() + h});
    head({c.x(), c.y() - s}, {c.x() - h, c.y() - s + h}, {c.x() + h, c.y() - s + h});
    head({c.x(), c.y() + s}, {c.x() - h, c.y() + s - h}, {c.x() + h, c.y() + s - h});
    if (filled) draw_box(p, QRectF(c.x() - 4, c.y() - 4, 8, 8));
}

}  // namespace

QImage symbol_image(const char* name) {
    QImage img(12, 15, QImage::Format_ARGB32);
    if (std::strcmp(name, "Crp") != 0) img = QImage(12, 12, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (std::strcmp(name, "Crp") == 0) draw_box(p, QRectF(0.5, 0.5, 11, 14));
    else if (std::strcmp(name, "Va") == 0) draw_air_valve(p, QRectF(0.5, 0.5, 11, 11));
    else draw_washout_valve(p, QRectF(0.5, 0.5, 11, 11));
    return img;
}

void register_symbols() {
    for (const char* name : {"Crp", "Va", "Vl"}) qt::QtCanvas::register_image(name, symbol_image(name));
}

QPixmap cursor_pixmap(GraphCursor cursor) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (cursor) {
        case GraphCursor::SetBox:
            draw_pointer(p);
            draw_box(p, QRectF(13, 12, 14, 17));
            break;
        case GraphCursor::SetAirValve:
            draw_pointer(p);
            draw_air_valve(p, QRectF(13, 13, 15, 15));
            break;
        case GraphCursor::SetWashoutValve:
            draw_pointer(p);
            draw_washout_valve(p, QRectF(13, 13, 15, 15));
            break;
        case GraphCursor::Erase:
            draw_pointer(p);
            draw_eraser(p);
            break;
        case GraphCursor::MoveBox:
            draw_cross_arrows(p, {16, 16}, 12, false);
            break;
        case GraphCursor::Dragging:
            draw_cross_arrows(p, {16, 16}, 12, true);
            break;
        case GraphCursor::Arrow:
            p.scale(1.8, 1.8);
            draw_pointer(p);
            break;
    }
    p.end();
    return pm;
}

QPixmap about_picture() {
    QPixmap pm(220, 90);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF ground;
    ground << QPointF(10, 15) << QPointF(70, 40) << QPointF(120, 48) << QPointF(170, 70) << QPointF(210, 78);
    p.setPen(QPen(QColor(110, 80, 40), 2));
    p.drawPolyline(ground);
    p.setPen(QPen(QColor(0, 0, 255), 2));
    p.drawPolyline(QPolygonF() << QPointF(10, 15) << QPointF(120, 36) << QPointF(120, 48) << QPointF(210, 68));
    draw_box(p, QRectF(114, 30, 12, 15));
    return pm;
}

QCursor graph_cursor(GraphCursor cursor) {
    if (cursor == GraphCursor::Arrow) return QCursor(Qt::ArrowCursor);
    const bool centred = cursor == GraphCursor::MoveBox || cursor == GraphCursor::Dragging;
    return QCursor(cursor_pixmap(cursor), centred ? 16 : 0, centred ? 16 : 0);
}

}  // namespace velmora::tosquin::ui
