#include "qtcommon/qt_canvas.h"

#include <QFontMetricsF>
#include <QPolygonF>

namespace velmora::qt {
namespace {
std::map<std::string, QImage>& images() {
    static std::map<std::string, QImage> table;
    return table;
}

QPolygonF to_polygon(const std::vector<PointF>& points) {
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const auto& p : points) poly << QPointF(p.x, p.y);
    return poly;
}
}  // namespace

QColor to_qcolor(Color c) { return QColor(c.r, c.g, c.b); }

QtCanvas::QtCanvas(QPainter* painter, double dpi) : p_(painter), dpi_(dpi) {
    set_pen(pen_);
    set_brush(brush_);
    set_font(font_);
}

void QtCanvas::register_image(const std::string& name, const QImage& image) { images()[name] = image; }

void QtCanvas::set_pen(const Pen& pen) {
    Canvas::set_pen(pen);
    QPen qp(to_qcolor(pen.color));
    qp.setWidthF(pen.width);
    switch (pen.style) {
        case PenStyle::Solid: qp.setStyle(Qt::SolidLine); break;
        case PenStyle::Dot: qp.setStyle(Qt::DotLine); break;
        case PenStyle::Dash: qp.setStyle(Qt::DashLine); break;
        case PenStyle::DashDot: qp.setStyle(Qt::DashDotLine); break;
        case PenStyle::Clear: qp.setStyle(Qt::NoPen); break;
    }
    p_->setPen(qp);
}

void QtCanvas::set_brush(const Brush& brush) {
    Canvas::set_brush(brush);
    p_->setBrush(brush.clear ? QBrush(Qt::NoBrush) : QBrush(to_qcolor(brush.color)));
}

QFont QtCanvas::qfont() const {
    QFont f(QString::fromStdString(font_.name));
    f.setPointSizeF(font_.size);  // Qt scales points to the device's resolution
    f.setBold(font_.bold);
    f.setItalic(font_.italic);
    f.setUnderline(font_.underline);
    return f;
}

void QtCanvas::set_font(const Font& font) {
    Canvas::set_font(font);
    p_->setFont(qfont());
}

void QtCanvas::line(double x1, double y1, double x2, double y2) { p_->drawLine(QPointF(x1, y1), QPointF(x2, y2)); }
void QtCanvas::polyline(const std::vector<PointF>& points) { p_->drawPolyline(to_polygon(points)); }
void QtCanvas::polygon(const std::vector<PointF>& points) { p_->drawPolygon(to_polygon(points)); }
void QtCanvas::rectangle(const RectF& r) { p_->drawRect(QRectF(r.left, r.top, r.width(), r.height())); }
void QtCanvas::ellipse(const RectF& r) { p_->drawEllipse(QRectF(r.left, r.top, r.width(), r.height())); }

void QtCanvas::text(double x, double y, const std::string& text) {
    QString s = QString::fromStdString(text);
    QFontMetricsF fm(p_->font(), p_->device());
    p_->save();
    p_->setPen(to_qcolor(font_.color));
    p_->translate(x, y);
    if (font_.angle != 0) p_->rotate(-font_.angle);
    p_->drawText(QPointF(0, fm.ascent()), s);
    p_->restore();
}

void QtCanvas::text_clipped(const RectF& clip, double x, double y, const std::string& text) {
    p_->save();
    p_->setClipRect(QRectF(clip.left, clip.top, clip.width(), clip.height()), Qt::IntersectClip);
    this->text(x, y, text);
    p_->restore();
}

void QtCanvas::image(const std::string& name, double x, double y) {
    auto it = images().find(name);
    if (it != images().end()) {
        // Pictures keep their size on paper: screen pixels at 96 per inch.
        if (dpi_ > 96) {
            const double k = dpi_ / 96;
            p_->drawImage(QRectF(x, y, it->second.width() * k, it->second.height() * k), it->second);
        } else {
            p_->drawImage(QPointF(x, y), it->second);
        }
        return;
    }
    p_->save();
    p_->setPen(Qt::black);
    p_->setBrush(Qt::NoBrush);
    p_->drawRect(QRectF(x, y, 12, 12));
    p_->restore();
}

double QtCanvas::text_width(const std::string& text) const {
    return QFontMetricsF(p_->font(), p_->device()).horizontalAdvance(QString::fromStdString(text));
}

double QtCanvas::text_height(const std::string&) const { return QFontMetricsF(p_->font(), p_->device()).height(); }

}  // namespace velmora::qt
