#pragma once
// A plain paint area for the plan: it paints through the engine's plan
// drawing and forwards presses and double clicks to the plan editor.
#include "marulet/engine/document.h"
#include "marulet/engine/plan_editor.h"

#include <QWidget>

namespace velmora::marulet::ui {

class PlanView : public QWidget {
    Q_OBJECT
public:
    PlanView(Document* doc, PlanEditor* editor, QWidget* parent = nullptr);
    // Size and cursor follow the drawing and the tool.
    void sync();

signals:
    // The editor changed the document (rows, flags, enabled commands).
    void edited();
    void failed(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    Document* doc_;
    PlanEditor* editor_;
};

}  // namespace velmora::marulet::ui
