#pragma once
// The engines' Canvas painted with QPainter: on screen, on a printer or into a
// PDF or image. Named images are looked up in a table the program fills from
// its resources.
#include "common/canvas.h"

#include <QImage>
#include <QPainter>

#include <map>
#include <string>

namespace velmora::qt {

class QtCanvas : public Canvas {
public:
    explicit QtCanvas(QPainter* painter, double dpi = 96);

    void set_pen(const Pen& pen) override;
    void set_brush(const Brush& brush) override;
    void set_font(const Font& font) override;

    void line(double x1, double y1, double x2, double y2) override;
    void polyline(const std::vector<PointF>& points) override;
    void polygon(const std::vector<PointF>& points) override;
    void rectangle(const RectF& r) override;
    void ellipse(const RectF& r) override;
    void text(double x, double y, const std::string& text) override;
    void text_clipped(const RectF& clip, double x, double y, const std::string& text) override;
    void image(const std::string& name, double x, double y) override;
    double text_width(const std::string& text) const override;
    double text_height(const std::string& text) const override;
    double dpi() const override { return dpi_; }

    static void register_image(const std::string& name, const QImage& image);

private:
    QFont qfont() const;
    QPainter* p_;
    double dpi_;
};

QColor to_qcolor(Color c);

}  // namespace velmora::qt
