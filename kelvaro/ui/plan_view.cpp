#include "kelvaro/ui/plan_view.h"

#include "common/errors.h"
#include "kelvaro/engine/plan_drawing.h"
#include "qtcommon/qt_canvas.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora::kelvaro::ui {

PlanCanvas::PlanCanvas(const Document* doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    update_size();
}

void PlanCanvas::update_size() {
    const PlanArea e = plan_drawing_size(*doc_);
    setMinimumSize(std::max(e.width, 200), std::max(e.height, 200));
    update();
}

void PlanCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    qt::QtCanvas canvas(&painter);
    try {
        draw_plan(canvas, *doc_, nullptr, 1, 1);
    } catch (const ConversionError&) {
        // A position that is no number: the plan is left as far as it was drawn.
    }
}

PlanView::PlanView(const Document* doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    auto add = [&](const QString& hint, const QString& text) {
        QToolButton* b = add_tool(hint, text);
        bar->addWidget(b);
        return b;
    };
    add("Set Pipelines", "Pipe");
    add("Delete Sections", "Del");
    add("Original Cursor", "Arrow");
    add("Install a Break Pressure Box", "+BPB");
    add("Delete a Break Pressure Box", "-BPB");
    QToolButton* nodes = add("Nodes Motion", "Nodes");
    QToolButton* free = add("Free Motion", "Free");
    nodes->setCheckable(true);
    free->setCheckable(true);
    nodes->setAutoExclusive(true);
    free->setAutoExclusive(true);
    nodes->setChecked(true);
    QToolButton* contours = add("Turn On/Off Contour Lines", "Contours");
    contours->setCheckable(true);
    contour_interval_ = new QLineEdit("10", this);
    contour_interval_->setToolTip("Contour Lines Frequency");
    contour_interval_->setFixedWidth(32);
    contour_spinner_ = new QSpinBox(this);
    contour_spinner_->setRange(1, 20);
    contour_spinner_->setValue(10);
    contour_spinner_->setToolTip("Contour Lines Frequency");
    bar->addWidget(contour_interval_);
    bar->addWidget(contour_spinner_);
    QToolButton* survey = add("Survey Book Sheet", "Survey Book");
    connect(survey, &QToolButton::clicked, this, &PlanView::survey_book_requested);
    bar->addStretch(1);

    canvas_ = new PlanCanvas(doc, this);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(canvas_);
    scroll_->setBackgroundRole(QPalette::Base);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);
    sync();
}

QToolButton* PlanView::add_tool(const QString& hint, const QString& text) {
    auto* b = new QToolButton(this);
    b->setText(text);
    b->setToolTip(hint);
    b->setObjectName(hint);
    tools_ << b;
    return b;
}

QToolButton* PlanView::tool(const QString& hint) const {
    for (QToolButton* b : tools_)
        if (b->toolTip() == hint) return b;
    return nullptr;
}

void PlanView::sync() {
    const bool on = doc_->plan_tools_enabled;
    for (const char* hint : {"Delete a Break Pressure Box", "Install a Break Pressure Box",
                             "Turn On/Off Contour Lines", "Free Motion", "Nodes Motion"})
        tool(hint)->setEnabled(on);
    contour_interval_->setEnabled(on);
    contour_spinner_->setEnabled(on);
    tool("Delete Sections")->setEnabled(doc_->delete_sections_enabled);
    canvas_->update_size();
}

}  // namespace velmora::kelvaro::ui
