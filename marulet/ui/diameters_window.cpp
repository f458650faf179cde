#include "marulet/ui/diameters_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::marulet::ui {

DiametersWindow::DiametersWindow(Document* doc, QWidget* parent) : QDialog(parent), doc_(doc) {
    setWindowTitle("Diameters");
    setModal(true);
    view_ = new qt::GridView(&doc_->catalogue, this);
    view_->grid_model()->set_read_only(true);
    auto* ok = new QPushButton("OK", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    resize(520, 440);
}

void DiametersWindow::refill() {
    view_->set_grid(&doc_->catalogue);
    view_->refresh();
}

}  // namespace velmora::marulet::ui
