#include "kelvaro/ui/symbols.h"

#include "qtcommon/plan_canvas.h"
#include "qtcommon/qt_canvas.h"

#include <QImage>
#include <QPainter>

namespace velmora::kelvaro::ui {

namespace {

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
    qt::QtCanvas::register_image("crp", qt::box_image());
    qt::QtCanvas::register_image("marker", marker_symbol());
}

}  // namespace velmora::kelvaro::ui
