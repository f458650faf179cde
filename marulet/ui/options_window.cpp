#include "marulet/ui/options_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace velmora::marulet::ui {

namespace {
QWidget* page_with(QWidget* parent, QWidget* content, const QString& note = {}) {
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(content, 1);
    if (!note.isEmpty()) layout->addWidget(new QLabel(note, page));
    return page;
}
}  // namespace

OptionsWindow::OptionsWindow(Document* doc, Messages* messages, const std::filesystem::path& database_dir,
                             QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages), model_(database_dir) {
    setWindowTitle("Options");
    setModal(true);
    pages_ = new QListWidget(this);
    pages_->addItems({"Design Parameters", "People per house/Velocities", "Manning coefficients/Infiltration", "Units"});
    pages_->setFixedWidth(220);
    stack_ = new QStackedWidget(this);

    parameters_ = new qt::GridView(&model_.parameters, this);
    connect(parameters_, &qt::GridView::key_released, this, [this](int, int c, int r) {
        if (c == 2 && r >= 1) model_.edit_parameter(r, model_.parameters(2, r));
    });
    stack_->addWidget(page_with(this, parameters_));

    auto* velocities = new QWidget(this);
    auto* form = new QFormLayout(velocities);
    const char* labels[3] = {"# of people per house:", "Min Velocity", "Max Velocity"};
    const char* units[3] = {"Inhabitants", "M/S", "M/S"};
    for (int i = 0; i < 3; ++i) {
        fields_[i] = new QLineEdit(velocities);
        fields_[i]->setFixedWidth(80);
        auto* row = new QHBoxLayout;
        row->addWidget(fields_[i]);
        row->addWidget(new QLabel(units[i], velocities));
        row->addStretch(1);
        form->addRow(labels[i], row);
        connect(fields_[i], &QLineEdit::textEdited, this,
                [this, i](const QString& t) { model_.edit_field(i, t.toStdString()); });
    }
    stack_->addWidget(velocities);

    materials_ = new qt::GridView(&model_.materials, this);
    connect(materials_, &qt::GridView::key_released, this, [this](int, int c, int r) {
        if (c >= 0 && r >= 1) model_.edit_material(c, r, model_.materials(c, r));
    });
    stack_->addWidget(page_with(this, materials_));

    auto* units_page = new QWidget(this);
    auto* units_layout = new QVBoxLayout(units_page);
    units_ = new qt::GridView(&model_.units, units_page);
    units_->grid_model()->set_read_only(true);
    unit_combo_ = new QComboBox(units_page);
    unit_combo_->addItems({"inch", "millimeter"});
    connect(unit_combo_, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (filling_) return;
        model_.choose_unit(t.toStdString(), *doc_);
        units_->refresh();
    });
    auto* combo_row = new QHBoxLayout;
    combo_row->addWidget(new QLabel("Nominal Diameter (ND):", units_page));
    combo_row->addWidget(unit_combo_);
    combo_row->addStretch(1);
    units_layout->addWidget(units_, 1);
    units_layout->addLayout(combo_row);
    units_layout->addWidget(new QLabel("The change of the units will affect the entire calculation process", units_page));
    stack_->addWidget(units_page);

    connect(pages_, &QListWidget::currentRowChanged, stack_, &QStackedWidget::setCurrentIndex);

    auto* ok = new QPushButton("OK", this);
    auto* reset = new QPushButton("Reset", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(reset, &QPushButton::clicked, this, &OptionsWindow::reset_options);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reset);
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* body = new QHBoxLayout;
    body->addWidget(pages_);
    body->addWidget(stack_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(760, 420);
}

void OptionsWindow::show_fields() {
    filling_ = true;
    fields_[0]->setText(QString::fromStdString(model_.people_per_house));
    fields_[1]->setText(QString::fromStdString(model_.min_velocity));
    fields_[2]->setText(QString::fromStdString(model_.max_velocity));
    unit_combo_->setCurrentText(QString::fromStdString(model_.unit_combo()));
    parameters_->refresh();
    materials_->refresh();
    units_->refresh();
    units_->setColumnWidth(0, 170);
    units_->setColumnWidth(1, 130);
    filling_ = false;
}

void OptionsWindow::fill() {
    model_.show();
    show_fields();
    pages_->setCurrentRow(model_.page);
    changed_on_close_ = false;
}

void OptionsWindow::reset_options() {
    model_.reset(*messages_);
    show_fields();
}

void OptionsWindow::done(int result) {
    try {
        changed_on_close_ = model_.close(*messages_);
    } catch (const std::exception& e) {
        messages_->error(e.what());
    }
    QDialog::done(result);
}

}  // namespace velmora::marulet::ui
