#include "kelvaro/ui/plan_view.h"

#include "common/errors.h"
#include "kelvaro/engine/plan_drawing.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace velmora::kelvaro::ui {

namespace {

qt::PlanCursorShape shape_of(PlanCursor c) {
    switch (c) {
    case PlanCursor::Pipelines:
        return qt::PlanCursorShape::Pipelines;
    case PlanCursor::Sections:
        return qt::PlanCursorShape::Sections;
    case PlanCursor::Box:
        return qt::PlanCursorShape::Box;
    case PlanCursor::Cross:
        return qt::PlanCursorShape::Cross;
    case PlanCursor::Default:
        break;
    }
    return qt::PlanCursorShape::Default;
}

MouseButton button_of(Qt::MouseButton b) {
    if (b == Qt::RightButton) return MouseButton::Right;
    if (b == Qt::MiddleButton) return MouseButton::Middle;
    return MouseButton::Left;
}

}  // namespace

PlanView::PlanView(Document* doc, Messages* messages, QWidget* parent)
    : QWidget(parent), doc_(doc), messages_(messages), editor_(*doc, *messages) {
    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    auto add = [&](const QString& hint, qt::PlanToolGlyph glyph) {
        QToolButton* b = tools_.add(this, hint, glyph);
        bar->addWidget(b);
        return b;
    };
    auto choose = [this](PlanTool t) { return [this, t] { command([&] { editor_.choose_tool(t); }); }; };
    connect(add("Set Pipelines", qt::PlanToolGlyph::SetPipelines), &QToolButton::clicked, this,
            choose(PlanTool::SetPipelines));
    connect(add("Delete Sections", qt::PlanToolGlyph::DeleteSections), &QToolButton::clicked, this,
            choose(PlanTool::DeleteSections));
    connect(add("Original Cursor", qt::PlanToolGlyph::OriginalCursor), &QToolButton::clicked, this,
            choose(PlanTool::OriginalCursor));
    bar->addSpacing(8);
    connect(add("Install a Break Pressure Box", qt::PlanToolGlyph::InstallBox), &QToolButton::clicked, this,
            choose(PlanTool::InstallBox));
    connect(add("Delete a Break Pressure Box", qt::PlanToolGlyph::DeleteBox), &QToolButton::clicked, this,
            choose(PlanTool::DeleteBox));
    QToolButton* nodes = add("Nodes Motion", qt::PlanToolGlyph::NodesMotion);
    QToolButton* free = add("Free Motion", qt::PlanToolGlyph::FreeMotion);
    for (QToolButton* b : {nodes, free}) {
        b->setCheckable(true);
        b->setAutoExclusive(true);
    }
    nodes->setChecked(true);
    connect(nodes, &QToolButton::clicked, this, [this] { command([&] { editor_.choose_motion(BoxMotion::Nodes); }); });
    connect(free, &QToolButton::clicked, this, [this] { command([&] { editor_.choose_motion(BoxMotion::Free); }); });
    bar->addSpacing(8);

    QToolButton* contours = add("Turn On/Off Contour Lines", qt::PlanToolGlyph::ContoursOff);
    connect(contours, &QToolButton::clicked, this, [this] { command([&] { editor_.toggle_contours(); }); });
    contour_interval_ = new QLineEdit(QString::fromStdString(editor_.contour_interval()), this);
    contour_interval_->setToolTip("Contour Lines Frequency");
    contour_interval_->setFixedWidth(32);
    contour_interval_->installEventFilter(this);
    bar->addWidget(contour_interval_);
    auto* spin = new QVBoxLayout;
    spin->setSpacing(0);
    spin_up_ = new QToolButton(this);
    spin_down_ = new QToolButton(this);
    spin_up_->setArrowType(Qt::UpArrow);
    spin_down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {spin_up_, spin_down_}) {
        b->setFixedSize(16, 12);
        b->setToolTip("Contour Lines Frequency");
        spin->addWidget(b);
    }
    bar->addLayout(spin);
    connect(spin_up_, &QToolButton::clicked, this, [this] { command([&] { editor_.spin_contour_interval(+1); }); });
    connect(spin_down_, &QToolButton::clicked, this, [this] { command([&] { editor_.spin_contour_interval(-1); }); });
    bar->addSpacing(8);
    QToolButton* survey = add("Survey Book Sheet", qt::PlanToolGlyph::SurveyBook);
    connect(survey, &QToolButton::clicked, this, &PlanView::survey_book_requested);
    bar->addStretch(1);

    panel_ = new qt::PlanPanel(this, {200, 200, 300, 50}, this);
    connect(panel_, &qt::PlanPanel::zoom_step_chosen, this,
            [this](int step) { command([&] { editor_.set_zoom_step(step); }); });
    editor_.set_repaint_callback([this] { canvas()->repaint(); });

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

void PlanView::sync() {
    const bool on = doc_->plan_tools_enabled;
    for (const char* hint : {"Delete a Break Pressure Box", "Install a Break Pressure Box",
                             "Turn On/Off Contour Lines", "Free Motion", "Nodes Motion"})
        tool(hint)->setEnabled(on);
    contour_interval_->setEnabled(on);
    spin_up_->setEnabled(on);
    spin_down_->setEnabled(on);
    tool("Delete Sections")->setEnabled(doc_->delete_sections_enabled);
    tool(editor_.motion() == BoxMotion::Nodes ? "Nodes Motion" : "Free Motion")->setChecked(true);
    QToolButton* contours = tool("Turn On/Off Contour Lines");
    contours->setIcon(qt::plan_tool_icon(editor_.contours_on() ? qt::PlanToolGlyph::ContoursOn
                                                               : qt::PlanToolGlyph::ContoursOff));
    const QString interval = QString::fromStdString(editor_.contour_interval());
    if (contour_interval_->text() != interval) contour_interval_->setText(interval);

    qt::PlanPaintArea* area = canvas();
    area->set_plan_cursor(qt::plan_cursor(shape_of(editor_.cursor())));
    area->set_hand_panning(editor_.cursor() == PlanCursor::Default);
    const PointF m = editor_.marker_position();
    area->show_marker(editor_.marker_visible() && editor_.has_candidate(),
                      QPoint(static_cast<int>(std::lround(m.x)) - 6, static_cast<int>(std::lround(m.y)) - 7));
    for (int i = 0; i < 4; ++i) {
        panel_->status_bar()->set_panel(i, QString::fromStdString(editor_.status(i)), editor_.red(i));
        editor_.status_panel_drawn(i);
    }
    try {
        const PlanArea size = plan_drawing_size(*doc_);
        area->set_drawing_size(QSize(size.width, size.height));
    } catch (const ConversionError&) {
        // A position that is no number: the drawing keeps its size.
    }
    panel_->show_zoom_step(editor_.zoom_step());
    area->update();
}

void PlanView::window_wheel(bool forward) { command([&] { editor_.wheel(forward, false); }); }

void PlanView::plan_mouse_down(int x, int y, Qt::MouseButton button) {
    command([&] { editor_.mouse_down(x, y, button_of(button)); });
}

void PlanView::plan_double_click(int x, int y, Qt::MouseButton button) {
    // The pipeline is finished first; the press of the double click then
    // counts as a press on the plan, in the mode the finish left.
    command([&] {
        editor_.double_click();
        editor_.mouse_down(x, y, button_of(button));
    });
}

void PlanView::plan_mouse_move(int x, int y) {
    try {
        editor_.mouse_move(x, y);
    } catch (const std::exception& e) {
        messages_->error(e.what());
    }
    const PointF m = editor_.marker_position();
    canvas()->show_marker(editor_.marker_visible() && editor_.has_candidate(),
                          QPoint(static_cast<int>(std::lround(m.x)) - 6, static_cast<int>(std::lround(m.y)) - 7));
    for (int i = 0; i < 4; ++i) {
        panel_->status_bar()->set_panel(i, QString::fromStdString(editor_.status(i)), editor_.red(i));
        editor_.status_panel_drawn(i);
    }
    if (editor_.rubber_band()) canvas()->update();
}

void PlanView::plan_wheel(bool forward) { command([&] { editor_.wheel(forward, true); }); }

void PlanView::plan_paint(Canvas& canvas) {
    try {
        paint_plan(canvas, *doc_, editor_);
    } catch (const ConversionError&) {
        // A position that is no number: the plan is left as far as it was drawn.
    }
}

bool PlanView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == contour_interval_ && event->type() == QEvent::KeyRelease) {
        const std::string text = contour_interval_->text().toStdString();
        bool redraw = false;
        try {
            redraw = editor_.contour_interval_typed(text);
        } catch (const std::exception& e) {
            messages_->error(e.what());
        }
        if (redraw) canvas()->update();
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velmora::kelvaro::ui
