#include "qtcommon/plan_canvas.h"

#include "qtcommon/qt_canvas.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace velmora::qt {

namespace {

QPixmap cursor_pixmap() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    return pm;
}

// A pencil pointing to the bottom left: the point is the hot spot (1, 30).
QCursor pipeline_cursor() {
    QPixmap pm = cursor_pixmap();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.moveTo(1, 30);
    body.lineTo(5, 20);
    body.lineTo(22, 3);
    body.lineTo(28, 9);
    body.lineTo(11, 26);
    body.closeSubpath();
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(QColor(250, 210, 60));
    p.drawPath(body);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({QPointF(1, 30), QPointF(3, 24.5), QPointF(6.5, 28)}));
    p.setPen(QPen(QColor(0, 90, 200), 2));
    p.drawLine(QPointF(14, 30), QPointF(30, 30));
    return QCursor(pm, 1, 30);
}

// Scissors over a cut line: the crossing of the blades is the hot spot.
QCursor sections_cursor() {
    QPixmap pm = cursor_pixmap();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(3, 3), QPointF(22, 22));
    p.drawLine(QPointF(22, 3), QPointF(3, 22));
    p.setPen(QPen(Qt::red, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(20, 20, 8, 8));
    p.drawEllipse(QRectF(1, 20, 8, 8));
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawLine(QPointF(0, 12.5), QPointF(31, 12.5));
    return QCursor(pm, 12, 12);
}

// A small box under a cross hair: the cross is the hot spot.
QCursor box_cursor() {
    QPixmap pm = cursor_pixmap();
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 10, 20, 10);
    p.drawLine(10, 0, 10, 20);
    p.drawImage(17, 15, box_image());
    return QCursor(pm, 10, 10);
}

// Two opposed arrows on a pipe: the crossing of the arrows is the hot spot.
void direction_arrows(QPainter& p, double s) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 70, 170), 2 * s));
    p.drawLine(QPointF(2 * s, 8 * s), QPointF(20 * s, 8 * s));
    p.drawLine(QPointF(2 * s, 16 * s), QPointF(20 * s, 16 * s));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::red);
    p.drawPolygon(QPolygonF({QPointF(23 * s, 8 * s), QPointF(16 * s, 3.5 * s), QPointF(16 * s, 12.5 * s)}));
    p.drawPolygon(QPolygonF({QPointF(0, 16 * s), QPointF(6 * s, 11.5 * s), QPointF(6 * s, 20.5 * s)}));
}

QCursor direction_cursor() {
    QPixmap pm = cursor_pixmap();
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 12, 8, 12);
    p.drawLine(4, 8, 4, 16);
    p.translate(8, 6);
    direction_arrows(p, 1.0);
    return QCursor(pm, 4, 12);
}

template <class Draw>
QIcon glyph(Draw draw) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return QIcon(pm);
}

void pipeline_glyph(QPainter& p) {
    p.setPen(QPen(QColor(0, 70, 170), 2.5));
    p.drawPolyline(QPolygonF({QPointF(3, 20), QPointF(10, 8), QPointF(20, 14)}));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    for (QPointF c : {QPointF(3, 20), QPointF(10, 8), QPointF(20, 14)}) p.drawEllipse(c, 2.5, 2.5);
}

void red_cross(QPainter& p, QRectF r) {
    p.setPen(QPen(Qt::red, 2.5));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

}  // namespace

QImage box_image() {
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

QImage box_marker_image() {
    QImage img(12, 15, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(QPen(Qt::red, 1));
    p.setBrush(QColor(255, 200, 200, 200));
    p.drawRect(0, 3, 11, 11);
    p.setBrush(Qt::white);
    p.drawRect(3, 0, 5, 3);
    p.setPen(QPen(Qt::red, 1));
    p.drawLine(6, 5, 6, 12);
    p.drawLine(2, 8, 10, 8);
    return img;
}

QCursor plan_cursor(PlanCursorShape shape) {
    switch (shape) {
    case PlanCursorShape::Pipelines:
        return pipeline_cursor();
    case PlanCursorShape::Sections:
        return sections_cursor();
    case PlanCursorShape::Box:
        return box_cursor();
    case PlanCursorShape::Cross:
        return QCursor(Qt::CrossCursor);
    case PlanCursorShape::Direction:
        return direction_cursor();
    case PlanCursorShape::Default:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

QIcon plan_tool_icon(PlanToolGlyph g) {
    switch (g) {
    case PlanToolGlyph::SetPipelines:
        return glyph(pipeline_glyph);
    case PlanToolGlyph::DeleteSections:
        return glyph([](QPainter& p) {
            pipeline_glyph(p);
            red_cross(p, QRectF(11, 11, 10, 10));
        });
    case PlanToolGlyph::OriginalCursor:
        return glyph([](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({QPointF(6, 2), QPointF(6, 19), QPointF(10, 15), QPointF(13, 22), QPointF(16, 21),
                                     QPointF(13, 14), QPointF(18, 14)}));
        });
    case PlanToolGlyph::InstallBox:
        return glyph([](QPainter& p) {
            p.drawImage(6, 4, box_image());
            p.setPen(QPen(QColor(0, 140, 0), 2.5));
            p.drawLine(QPointF(17, 19), QPointF(23, 19));
            p.drawLine(QPointF(20, 16), QPointF(20, 22));
        });
    case PlanToolGlyph::DeleteBox:
        return glyph([](QPainter& p) {
            p.drawImage(6, 4, box_image());
            red_cross(p, QRectF(15, 14, 7, 7));
        });
    case PlanToolGlyph::NodesMotion:
        return glyph([](QPainter& p) {
            p.setPen(QPen(Qt::gray, 2));
            p.drawLine(QPointF(2, 18), QPointF(22, 6));
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::red);
            for (QPointF c : {QPointF(2.5, 18), QPointF(12, 12), QPointF(21.5, 6)}) p.drawEllipse(c, 2.5, 2.5);
        });
    case PlanToolGlyph::FreeMotion:
        return glyph([](QPainter& p) {
            p.setPen(QPen(Qt::red, 2));
            p.drawLine(QPointF(2, 18), QPointF(22, 6));
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(2.5, 18), 2.5, 2.5);
            p.drawEllipse(QPointF(21.5, 6), 2.5, 2.5);
        });
    case PlanToolGlyph::ContoursOn:
    case PlanToolGlyph::ContoursOff: {
        const bool on = g == PlanToolGlyph::ContoursOn;
        return glyph([on](QPainter& p) {
            p.setPen(QPen(QColor(0, 110, 0), 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(9, 12), 8, 6);
            p.drawEllipse(QPointF(9, 12), 4, 3);
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(on ? QColor(40, 230, 40) : QColor(70, 90, 70));
            p.drawEllipse(QPointF(19, 6), 4, 4);
        });
    }
    case PlanToolGlyph::SurveyBook:
        return glyph([](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(QColor(150, 90, 40));
            p.drawRect(QRectF(4, 2, 15, 20));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(7, 5, 10, 14));
            p.setPen(QPen(Qt::gray, 1));
            for (int y = 8; y <= 16; y += 3) p.drawLine(8, y, 16, y);
        });
    case PlanToolGlyph::ChangeDirection:
        return glyph([](QPainter& p) { direction_arrows(p, 1.0); });
    }
    return {};
}

QToolButton* PlanTools::add(QWidget* parent, const QString& hint, PlanToolGlyph glyph) {
    auto* b = new QToolButton(parent);
    b->setIcon(plan_tool_icon(glyph));
    b->setIconSize(QSize(24, 24));
    b->setToolTip(hint);
    b->setObjectName(hint);
    buttons_ << b;
    return b;
}

QToolButton* PlanTools::find(const QString& hint) const {
    for (QToolButton* b : buttons_)
        if (b->toolTip() == hint) return b;
    return nullptr;
}

// --- Paint area ---------------------------------------------------------------

PlanPaintArea::PlanPaintArea(PlanInput* input, QWidget* parent) : QWidget(parent), input_(input) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMouseTracking(true);
    marker_ = new QLabel(this);
    marker_->setPixmap(QPixmap::fromImage(box_marker_image()));
    marker_->setFixedSize(12, 15);
    marker_->setAttribute(Qt::WA_TransparentForMouseEvents);
    marker_->hide();
}

void PlanPaintArea::set_drawing_size(QSize size) {
    drawing_size_ = size;
    setMinimumSize(size);
    updateGeometry();
    update();
}

void PlanPaintArea::show_marker(bool visible, QPoint top_left) {
    marker_->move(top_left);
    marker_->setVisible(visible);
}

void PlanPaintArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtCanvas canvas(&painter, logicalDpiY());
    input_->plan_paint(canvas);
}

void PlanPaintArea::mousePressEvent(QMouseEvent* event) {
    // The press that completes a double click is handed over with it.
    if (event->flags().testFlag(Qt::MouseEventCreatedDoubleClick)) return;
    const bool pans = event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && hand_panning_);
    if (pans && scroll_ && !panning_) {
        panning_ = true;
        pan_moved_ = false;
        pan_button_ = event->button();
        pan_start_ = event->globalPosition().toPoint();
        pan_values_ = QPoint(scroll_->horizontalScrollBar()->value(), scroll_->verticalScrollBar()->value());
    }
    const QPoint at = event->position().toPoint();
    input_->plan_mouse_down(at.x(), at.y(), event->button());
}

void PlanPaintArea::set_plan_cursor(const QCursor& cursor) {
    if (panning_ && pan_moved_) pan_restore_ = cursor;
    else setCursor(cursor);
}

void PlanPaintArea::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && event->button() == pan_button_) {
        panning_ = false;
        if (pan_moved_) setCursor(pan_restore_);
        pan_moved_ = false;
    }
    QWidget::mouseReleaseEvent(event);
}

void PlanPaintArea::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    input_->plan_double_click(at.x(), at.y(), event->button());
}

void PlanPaintArea::mouseMoveEvent(QMouseEvent* event) {
    if (panning_ && (event->buttons() & pan_button_)) {
        const QPoint moved = event->globalPosition().toPoint() - pan_start_;
        if (!pan_moved_ && moved.manhattanLength() >= 3) {
            pan_moved_ = true;
            pan_restore_ = cursor();
            setCursor(Qt::ClosedHandCursor);
        }
        if (pan_moved_) {
            scroll_->horizontalScrollBar()->setValue(pan_values_.x() - moved.x());
            scroll_->verticalScrollBar()->setValue(pan_values_.y() - moved.y());
        }
    }
    const QPoint at = event->position().toPoint();
    input_->plan_mouse_move(at.x(), at.y());
}

void PlanPaintArea::wheelEvent(QWheelEvent* event) {
    const int dy = event->angleDelta().y();
    if (dy == 0) {
        event->ignore();
        return;
    }
    input_->plan_wheel(dy > 0);
    event->accept();
}

// --- Status bar -----------------------------------------------------------------

PlanStatusBar::PlanStatusBar(std::vector<int> widths, QWidget* parent)
    : QWidget(parent), widths_(std::move(widths)), texts_(widths_.size()), red_(widths_.size(), false) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize PlanStatusBar::sizeHint() const {
    int w = 0;
    for (int x : widths_) w += x;
    return {w, fontMetrics().height() + 8};
}

void PlanStatusBar::set_panel(int i, const QString& text, bool red) {
    const auto k = static_cast<size_t>(i);
    if (texts_.at(k) == text && red_.at(k) == red) return;
    texts_[k] = text;
    red_[k] = red;
    update();
}

void PlanStatusBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    int x = 0;
    for (size_t i = 0; i < widths_.size(); ++i) {
        // The last panel reaches the right edge of the bar.
        const int w = i + 1 == widths_.size() ? std::max(widths_[i], width() - x) : widths_[i];
        const QRect r(x, 0, w, height());
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(r.adjusted(0, 1, -2, -2));
        p.setPen(red_[i] ? QColor(Qt::red) : palette().color(QPalette::WindowText));
        p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, texts_[i]);
        x += widths_[i];
    }
}

// --- Panel ---------------------------------------------------------------------

PlanPanel::PlanPanel(PlanInput* input, std::vector<int> panel_widths, QWidget* parent) : QWidget(parent) {
    scroll_ = new QScrollArea(this);
    paint_ = new PlanPaintArea(input, scroll_);
    paint_->set_scroll_area(scroll_);
    scroll_->setWidget(paint_);
    scroll_->setWidgetResizable(true);
    scroll_->setBackgroundRole(QPalette::Base);

    zoom_ = new QSlider(Qt::Vertical, this);
    zoom_->setRange(1, 6);
    zoom_->setValue(3);
    zoom_->setPageStep(1);
    zoom_->setTickPosition(QSlider::TicksBothSides);
    zoom_->setTickInterval(1);
    zoom_->setInvertedAppearance(true);
    connect(zoom_, &QSlider::valueChanged, this, &PlanPanel::zoom_step_chosen);

    status_ = new PlanStatusBar(std::move(panel_widths), this);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(scroll_, 1);
    row->addWidget(zoom_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(row, 1);
    layout->addWidget(status_);
}

QSize PlanPanel::client_size() const { return scroll_->viewport()->size(); }

void PlanPanel::show_zoom_step(int step) {
    const QSignalBlocker block(zoom_);
    zoom_->setValue(step);
}

}  // namespace velmora::qt
