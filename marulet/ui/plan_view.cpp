#include "marulet/ui/plan_view.h"

#include <QHBoxLayout>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora::marulet::ui {

namespace {

qt::PlanCursorShape shape_of(PlanCursor c) {
    switch (c) {
    case PlanCursor::Pipelines:
        return qt::PlanCursorShape::Pipelines;
    case PlanCursor::Sections:
        return qt::PlanCursorShape::Sections;
    case PlanCursor::Direction:
        return qt::PlanCursorShape::Direction;
    case PlanCursor::Default:
        break;
    }
    return qt::PlanCursorShape::Default;
}

}  // namespace

PlanView::PlanView(Document* doc, PlanEditor* editor, Messages* messages, QWidget* parent)
    : QWidget(parent), doc_(doc), editor_(editor), messages_(messages) {
    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    auto add = [&](const QString& hint, qt::PlanToolGlyph glyph) {
        QToolButton* b = tools_.add(this, hint, glyph);
        bar->addWidget(b);
        return b;
    };
    auto choose = [this](PlanTool t) { return [this, t] { command([&] { editor_->choose_tool(t); }); }; };
    connect(add("Set Pipelines", qt::PlanToolGlyph::SetPipelines), &QToolButton::clicked, this,
            choose(PlanTool::SetPipelines));
    connect(add("Delete Sections", qt::PlanToolGlyph::DeleteSections), &QToolButton::clicked, this,
            choose(PlanTool::DeleteSections));
    connect(add("Change Direction of the Flow", qt::PlanToolGlyph::ChangeDirection), &QToolButton::clicked, this,
            choose(PlanTool::ChangeDirection));
    connect(add("Original Cursor", qt::PlanToolGlyph::OriginalCursor), &QToolButton::clicked, this,
            choose(PlanTool::OriginalCursor));
    bar->addSpacing(8);

    QToolButton* contours = add("Turn On/Off Contour Lines", qt::PlanToolGlyph::ContoursOff);
    connect(contours, &QToolButton::clicked, this, [this] { command([&] { editor_->toggle_contours(); }); });
    interval_ = new QSpinBox(this);
    interval_->setRange(1, 10);
    interval_->setValue(1);
    interval_->setToolTip("Contour Lines Frequency");
    interval_->setObjectName("ContourInterval");
    connect(interval_, &QSpinBox::valueChanged, this, [this](int v) {
        command([&] { editor_->set_contour_interval(std::to_string(v)); });
    });
    bar->addWidget(interval_);
    bar->addSpacing(8);
    QToolButton* survey = add("Survey Book Sheet", qt::PlanToolGlyph::SurveyBook);
    connect(survey, &QToolButton::clicked, this, &PlanView::survey_book_requested);
    bar->addStretch(1);

    panel_ = new qt::PlanPanel(this, {200, 200, 300, 50}, this);
    connect(panel_, &qt::PlanPanel::zoom_step_chosen, this, [this](int step) {
        if (step != editor_->zoom_step()) command([&] { editor_->set_zoom_step(step); });
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(panel_, 1);
    sync();
}

QToolButton* PlanView::tool(const QString& hint) const { return tools_.find(hint); }

template <class F>
void PlanView::command(F&& run) {
    try {
        run();
    } catch (const std::exception& e) {
        messages_->error(e.what());
    }
    sync();
    emit edited();
}

void PlanView::show_status() {
    for (int i = 0; i < 4; ++i) panel_->status_bar()->set_panel(i, QString::fromStdString(editor_->status(i)), false);
}

void PlanView::sync() {
    tool("Delete Sections")->setEnabled(editor_->delete_sections_enabled());
    tool("Change Direction of the Flow")->setEnabled(editor_->change_direction_enabled());
    tool("Turn On/Off Contour Lines")->setEnabled(doc_->contours_enabled);
    tool("Turn On/Off Contour Lines")
        ->setIcon(qt::plan_tool_icon(editor_->contours_on() ? qt::PlanToolGlyph::ContoursOn
                                                            : qt::PlanToolGlyph::ContoursOff));
    interval_->setEnabled(doc_->contours_enabled);
    const int interval = std::atoi(editor_->contour_interval().c_str());
    if (interval >= 1 && interval <= 10 && interval_->value() != interval) {
        const QSignalBlocker block(interval_);
        interval_->setValue(interval);
    }

    qt::PlanPaintArea* area = canvas();
    area->set_plan_cursor(qt::plan_cursor(shape_of(editor_->cursor())));
    area->set_hand_panning(editor_->cursor() == PlanCursor::Default);
    show_status();
    try {
        const terrain::PlanArea size = plan_drawing_size(*doc_);
        area->set_drawing_size(QSize(size.width, size.height));
    } catch (const std::exception&) {
        // A position that is no number: the drawing keeps its size.
    }
    panel_->show_zoom_step(editor_->zoom_step());
    area->update();
}

void PlanView::window_wheel(bool forward) { command([&] { editor_->wheel(forward, false); }); }

// Only the left button draws, deletes or turns; the middle one pans.
void PlanView::plan_mouse_down(int x, int y, Qt::MouseButton button) {
    if (button != Qt::LeftButton) return;
    command([&] { editor_->mouse_down(x, y); });
}

// A double click arrives in place of the second press: the double click runs
// first, then that press (which does nothing once a pipeline is done).
void PlanView::plan_double_click(int x, int y, Qt::MouseButton button) {
    if (button != Qt::LeftButton) return;
    command([&] {
        editor_->double_click();
        editor_->mouse_down(x, y);
    });
}

void PlanView::plan_mouse_move(int x, int y) {
    const bool band = editor_->mouse_move(x, y);
    show_status();
    if (band) canvas()->update();
}

void PlanView::plan_wheel(bool forward) { command([&] { editor_->wheel(forward, true); }); }

void PlanView::plan_paint(Canvas& canvas) {
    try {
        trazargrafica(*editor_, *doc_, canvas, 1, 1);
        if (auto band = editor_->rubber_band()) {
            canvas.set_pen(Pen{colors::kBlack, 1, PenStyle::Solid});
            canvas.line((*band)[0].x, (*band)[0].y, (*band)[1].x, (*band)[1].y);
        }
    } catch (const std::exception&) {
        // A position that is no number: the plan is left as far as it was drawn.
    }
}

}  // namespace velmora::marulet::ui
