#include "budget/ui/benefits_window.h"

#include "qtcommon/grid_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace velmora::budget {

BenefitsWindow::BenefitsWindow(Document& doc, Messages& messages, QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages) {
    setWindowTitle("Skilled labor costs");
    try {
        read_table_file(table_, doc_.files_dir / "moe.csv");
    } catch (const std::exception&) {
        // The installed benefits table is assumed present.
    }
    table_.set_fixed_rows(1);
    for (int c = 2; c <= 4; ++c) table_.set_editor(c, {EditorKind::ReadOnly, {}});
    table_.set_col_width(0, 260);
    for (int c = 1; c <= 4; ++c) table_.set_col_width(c, 110);
    recompute_benefits(table_, doc_.decimal_separator);

    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(kBenefitsExplanation, this);
    text->setWordWrap(true);
    layout->addWidget(text);
    view_ = new qt::GridView(&table_, this);
    view_->grid_model()->set_locked_text("-----");
    view_->grid_model()->set_separators(doc_.decimal_separator, ',');
    for (int c = 1; c <= 4; ++c) {
        view_->grid_model()->set_display_format(c, "%.2n");
        view_->grid_model()->set_right_aligned(c, true);
    }
    view_->refresh();
    layout->addWidget(view_);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    for (const char* t : {"Delete", "Add", "Save", "Cancel"}) {
        auto* b = new QPushButton(t, this);
        bar->addWidget(b);
        buttons_.push_back(b);
    }
    layout->addLayout(bar);
    connect(button("Delete"), &QPushButton::clicked, this, &BenefitsWindow::delete_row);
    connect(button("Add"), &QPushButton::clicked, this, &BenefitsWindow::add_row);
    connect(button("Save"), &QPushButton::clicked, this, &BenefitsWindow::save);
    connect(button("Cancel"), &QPushButton::clicked, this, &BenefitsWindow::reject);
    connect(view_, &qt::GridView::current_changed, this, [this](int, int row) { selected_ = row; });
    connect(view_, &qt::GridView::key_released, this, [this] {
        changed_ = true;
        recompute();
    });
    resize(760, 420);
}

QPushButton* BenefitsWindow::button(const QString& text) const {
    for (auto* b : buttons_)
        if (b->text() == text) return b;
    return nullptr;
}

void BenefitsWindow::recompute() {
    recompute_benefits(table_, doc_.decimal_separator);
    view_->refresh();
}

void BenefitsWindow::add_row() {
    add_benefit_row(table_, doc_.decimal_separator);
    view_->refresh();
}

void BenefitsWindow::delete_row() {
    if (!delete_benefit_row(table_, selected_, doc_.decimal_separator)) return;
    changed_ = true;
    view_->refresh();
}

void BenefitsWindow::save() {
    try {
        write_table_file(table_, doc_.files_dir / "moe.csv");
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
}

void BenefitsWindow::reject() {
    try {
        if (changed_ && !close_benefits_window(table_, changed_, doc_.files_dir, messages_)) changed_ = false;
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
    QDialog::reject();
}

}  // namespace velmora::budget
