#pragma once
// The plan area that Kelvaro and Marulet share: a scrollable white paint area
// whose mouse events go to the designer's plan editor, the box marker that
// follows the editor's candidate, a zoom track bar at its right edge and a
// status bar of owner-drawn panels under it, plus the cursor and button
// pictures of the plan tools.
//
// The area holds no rule: every press, double click, move and wheel turn is
// handed to a PlanInput (the designer's adapter over its editor), and painting
// asks the same adapter to draw on a Canvas. The designer then tells the area
// what to show (cursor, marker, panel texts, drawing size) from its editor.
#include "common/canvas.h"

#include <QIcon>
#include <QImage>
#include <QList>
#include <QWidget>

#include <vector>

class QLabel;
class QScrollArea;
class QSlider;
class QToolButton;

namespace velmora::qt {

// What the plan area forwards to. Positions are plan pixels (the paint
// area's own coordinates, scroll offset included).
class PlanInput {
public:
    virtual ~PlanInput() = default;
    virtual void plan_mouse_down(int x, int y, Qt::MouseButton button) = 0;
    // A double click: the second press of the pair comes here, not to
    // plan_mouse_down.
    virtual void plan_double_click(int x, int y, Qt::MouseButton button) = 0;
    virtual void plan_mouse_move(int x, int y) = 0;
    // The wheel turned over the plan; forward is away from the user.
    virtual void plan_wheel(bool forward) = 0;
    virtual void plan_paint(Canvas& canvas) = 0;
};

// The plan tools' cursors.
enum class PlanCursorShape { Default, Pipelines, Sections, Box, Cross, Direction };
QCursor plan_cursor(PlanCursorShape shape);

// The marker that shows a box candidate (12 x 15 pixels).
QImage box_marker_image();
// A break pressure box as drawn on the plan (12 x 15 pixels).
QImage box_image();

// Pictures of the plan tool buttons.
enum class PlanToolGlyph {
    SetPipelines,
    DeleteSections,
    OriginalCursor,
    InstallBox,
    DeleteBox,
    NodesMotion,
    FreeMotion,
    ContoursOn,
    ContoursOff,
    SurveyBook,
    ChangeDirection
};
QIcon plan_tool_icon(PlanToolGlyph glyph);

// A plan's tool buttons (24-pixel pictures), found again by their hint.
class PlanTools {
public:
    QToolButton* add(QWidget* parent, const QString& hint, PlanToolGlyph glyph);
    QToolButton* find(const QString& hint) const;

private:
    QList<QToolButton*> buttons_;
};

// The paint box inside the scroll area. Dragging with the middle button, or
// with the left button while panning by hand is on (the designer's default
// cursor), moves the plan in its scroll area under a closed hand; the press
// still reaches the plan.
class PlanPaintArea : public QWidget {
    Q_OBJECT
public:
    PlanPaintArea(PlanInput* input, QWidget* parent);

    // The drawing's size; the area still fills the visible part when smaller.
    void set_drawing_size(QSize size);
    QSize drawing_size() const { return drawing_size_; }

    // The box marker: its top left corner goes to `top_left`. It lets every
    // mouse event through to the plan, so a press on it is a press on the
    // plan at the same position.
    void show_marker(bool visible, QPoint top_left);
    QLabel* marker() const { return marker_; }

    // The scroll area whose bars a drag moves.
    void set_scroll_area(QScrollArea* scroll) { scroll_ = scroll; }
    void set_hand_panning(bool on) { hand_panning_ = on; }
    bool hand_panning() const { return hand_panning_; }
    bool panning() const { return panning_; }
    // The tool's cursor; while a drag shows the hand it is put up when the
    // drag ends.
    void set_plan_cursor(const QCursor& cursor);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    PlanInput* input_;
    QSize drawing_size_;
    QLabel* marker_;
    QScrollArea* scroll_ = nullptr;
    bool hand_panning_ = false;
    // A drag in progress: the button, where it started (global) and the
    // scroll bar values then; the cursor to restore when it ends.
    bool panning_ = false;
    bool pan_moved_ = false;
    Qt::MouseButton pan_button_ = Qt::NoButton;
    QPoint pan_start_;
    QPoint pan_values_;
    QCursor pan_restore_;
};

// Panels of fixed widths, the last one reaching the right edge; a panel
// flagged red draws its text in red.
class PlanStatusBar : public QWidget {
    Q_OBJECT
public:
    PlanStatusBar(std::vector<int> widths, QWidget* parent);
    int panel_count() const { return static_cast<int>(widths_.size()); }
    int panel_width(int i) const { return widths_.at(static_cast<size_t>(i)); }
    void set_panel(int i, const QString& text, bool red);
    QString text(int i) const { return texts_.at(static_cast<size_t>(i)); }
    bool is_red(int i) const { return red_.at(static_cast<size_t>(i)); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> widths_;
    std::vector<QString> texts_;
    std::vector<bool> red_;
};

// The whole plan: scroll area with the paint area, the zoom track bar (1 to 6)
// at its right edge, the status bar below.
class PlanPanel : public QWidget {
    Q_OBJECT
public:
    PlanPanel(PlanInput* input, std::vector<int> panel_widths, QWidget* parent);

    PlanPaintArea* paint_area() const { return paint_; }
    QScrollArea* scroll_area() const { return scroll_; }
    QSlider* zoom_bar() const { return zoom_; }
    PlanStatusBar* status_bar() const { return status_; }
    // Client size of the scrolling area in pixels.
    QSize client_size() const;
    // Moves the track bar without telling anyone.
    void show_zoom_step(int step);

signals:
    void zoom_step_chosen(int step);

private:
    PlanPaintArea* paint_;
    QScrollArea* scroll_;
    QSlider* zoom_;
    PlanStatusBar* status_;
};

}  // namespace velmora::qt
