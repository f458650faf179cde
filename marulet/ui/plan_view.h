#pragma once
// The plan on the left of "Data/Drawing": its tool bar (by hint), the
// scrollable plan, the zoom track bar and the four status panels (200, 200,
// 300 and 50 pixels). Every event goes to the PlanEditor; this view only shows
// what the editor and the document hold afterwards.
#include "common/ports.h"
#include "marulet/engine/document.h"
#include "marulet/engine/plan_editor.h"
#include "qtcommon/plan_canvas.h"

#include <QWidget>

class QSpinBox;
class QToolButton;

namespace velmora::marulet::ui {

class PlanView : public QWidget, public qt::PlanInput {
    Q_OBJECT
public:
    PlanView(Document* doc, PlanEditor* editor, Messages* messages, QWidget* parent);

    // Shows the document and the editor as they are now: enabled tools,
    // cursor, status panels, drawing size, track bar, contour controls.
    void sync();

    QToolButton* tool(const QString& hint) const;
    qt::PlanPanel* panel() const { return panel_; }
    qt::PlanPaintArea* canvas() const { return panel_->paint_area(); }
    QSpinBox* contour_interval_box() const { return interval_; }

    // The wheel turned elsewhere on the main window.
    void window_wheel(bool forward);

    // qt::PlanInput
    void plan_mouse_down(int x, int y, Qt::MouseButton button) override;
    void plan_double_click(int x, int y, Qt::MouseButton button) override;
    void plan_mouse_move(int x, int y) override;
    void plan_wheel(bool forward) override;
    void plan_paint(Canvas& canvas) override;

signals:
    void survey_book_requested();
    // An editor command ran: the pipe table, "To Calculate" and the project
    // may have changed.
    void edited();

private:
    // Runs an editor command; an error it raises is shown. Then the view and
    // the owner redraw.
    template <class F>
    void command(F&& run);
    void show_status();

    Document* doc_;
    PlanEditor* editor_;
    Messages* messages_;
    qt::PlanPanel* panel_;
    qt::PlanTools tools_;
    QSpinBox* interval_;
};

}  // namespace velmora::marulet::ui
