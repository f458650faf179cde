#pragma once
// The plan area on the left of "Data/Drawing": its tool bar and the drawing of
// the pipelines and boxes. The drawing editor (pipelines, sections, boxes,
// contours) fills this area in its own work; until then the plan is shown
// read-only and only the tools' enabled states follow the document.
#include "kelvaro/engine/document.h"

#include <QScrollArea>
#include <QWidget>

class QToolButton;
class QSpinBox;
class QLineEdit;

namespace velmora::kelvaro::ui {

class PlanCanvas : public QWidget {
    Q_OBJECT
public:
    PlanCanvas(const Document* doc, QWidget* parent);
    void update_size();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Document* doc_;
};

class PlanView : public QWidget {
    Q_OBJECT
public:
    PlanView(const Document* doc, QWidget* parent);
    // Enabled states from the document (permitir, "Delete Sections") and a repaint.
    void sync();
    QToolButton* tool(const QString& hint) const;
    PlanCanvas* canvas() const { return canvas_; }

signals:
    void survey_book_requested();

private:
    QToolButton* add_tool(const QString& hint, const QString& text);
    const Document* doc_;
    PlanCanvas* canvas_;
    QScrollArea* scroll_;
    QList<QToolButton*> tools_;
    QLineEdit* contour_interval_;
    QSpinBox* contour_spinner_;
};

}  // namespace velmora::kelvaro::ui
