#include "kelvaro/ui/symbols.h"

#include "qtcommon/qt_canvas.h"

#include <QImage>
#include <QPainter>

namespace velmora::kelvaro::ui {

namespace {

QImage box_symbol() {
    QImage img(12, 15, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0, 120, 215));
    p.drawRect(1, 4, 10, 10);
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 6, 3);
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(3, 9, 8, 9);
    return img;
}

QImage marker_symbol() {
    QImage img(12, 12, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::red, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.drawPoint(6, 6);
    return img;
}

}  // namespace

void register_symbols() {
    static bool done = false;
    if (done) return;
    done = true;
    qt::QtCanvas::register_image("crp", box_symbol());
    qt::QtCanvas::register_image("marker", marker_symbol());
}

}  // namespace velmora::kelvaro::ui
