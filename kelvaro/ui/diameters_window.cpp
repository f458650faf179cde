#include "kelvaro/ui/diameters_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::kelvaro::ui {

DiametersWindow::DiametersWindow(Document* doc, QWidget* parent) : QDialog(parent), doc_(doc) {
    setWindowTitle("Diameters");
    setModal(true);
    view_ = new qt::GridView(&doc_->catalogue, this);
    auto* ok = new QPushButton("Ok", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    resize(500, 420);
}

void DiametersWindow::refill() {
    view_->set_grid(&doc_->catalogue);
    view_->refresh();
}

}  // namespace velmora::kelvaro::ui
