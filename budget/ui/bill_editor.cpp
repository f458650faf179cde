#include "budget/ui/bill_editor.h"

#include "common/numtext.h"
#include "qtcommon/grid_view.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace velmora::budget {

namespace {
enum Role { kCode = Qt::UserRole, kUnit };
}

BillEditor::BillEditor(Document& doc, Messages& messages, QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages) {
    setWindowTitle("Bill of quantities per component");
    try {
        read_table_file(works_, doc_.files_dir / "obras.csv");
        read_table_file(prices_, doc_.files_dir / "precios.csv");
    } catch (const std::exception&) {
        // The installed catalogues are assumed present.
    }
    table_ = Grid(4, 1, 1, 0);
    table_.set_row(0, {"Code", "Description", "Unit", "Quantity"});
    table_.set_col_width(0, 300);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("choose one component", this));
    components_ = new QComboBox(this);
    for (int r = 2; r < works_.row_count(); ++r) components_->addItem(QString::fromStdString(works_(1, r)));
    layout->addWidget(components_);
    auto* middle = new QHBoxLayout;
    view_ = new qt::GridView(&table_, this);
    view_->grid_model()->set_separators(doc_.decimal_separator, ',');
    middle->addWidget(view_, 3);

    picker_ = new QFrame(this);
    picker_->setFrameShape(QFrame::StyledPanel);
    auto* pl = new QVBoxLayout(picker_);
    pl->addWidget(new QLabel("Quantity", picker_));
    quantity_ = new QLineEdit(picker_);
    pl->addWidget(quantity_);
    pl->addWidget(new QLabel("Type a material", picker_));
    filter_ = new QLineEdit(picker_);
    pl->addWidget(filter_);
    materials_ = new QListWidget(picker_);
    pl->addWidget(materials_);
    auto* pb = new QHBoxLayout;
    picker_ok_ = new QPushButton("OK", picker_);
    picker_cancel_ = new QPushButton("Cancel", picker_);
    pb->addWidget(picker_ok_);
    pb->addWidget(picker_cancel_);
    pl->addLayout(pb);
    picker_->hide();
    middle->addWidget(picker_, 2);
    layout->addLayout(middle);

    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    for (const char* text : {"Delete material", "Add material", "Save", "Cancel"}) {
        auto* b = new QPushButton(text, this);
        bar->addWidget(b);
        buttons_.push_back(b);
    }
    layout->addLayout(bar);

    connect(components_, &QComboBox::activated, this, &BillEditor::choose_component);
    connect(button("Delete material"), &QPushButton::clicked, this, &BillEditor::delete_material);
    connect(button("Add material"), &QPushButton::clicked, this, &BillEditor::add_material);
    connect(button("Save"), &QPushButton::clicked, this, &BillEditor::save);
    connect(button("Cancel"), &QPushButton::clicked, this, &QDialog::reject);
    connect(filter_, &QLineEdit::textEdited, this, &BillEditor::fill_materials);
    connect(picker_ok_, &QPushButton::clicked, this, &BillEditor::picker_accept);
    connect(materials_, &QListWidget::itemDoubleClicked, this, &BillEditor::picker_accept);
    connect(picker_cancel_, &QPushButton::clicked, this, &BillEditor::picker_reject);
    connect(view_, &qt::GridView::current_changed, this, [this](int, int row) { selected_ = row; });
    resize(1000, 560);

    if (components_->count() > 0) {
        components_->setCurrentIndex(0);
        try {
            read_table_file(table_, bill_file(0));
        } catch (const std::exception&) {
            // A missing bill is reported by the main window's check.
        }
    }
    view_->refresh();
}

QPushButton* BillEditor::button(const QString& text) const {
    for (auto* b : buttons_)
        if (b->text() == text) return b;
    return nullptr;
}

std::filesystem::path BillEditor::bill_file(int index) const { return doc_.files_dir / works_(9, index + 2); }

void BillEditor::choose_component(int index) {
    picker_->hide();
    try {
        read_table_file(table_, bill_file(index));
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
    selected_ = -1;
    view_->refresh();
}

void BillEditor::open_for_new_component(const ComponentFields& fields) {
    try {
        add_component(works_, fields);
        int row = works_.row_count() - 1;
        begin_new_component_bill(table_, doc_.files_dir / works_(9, row));
        components_->addItem(QString::fromStdString(works_(1, row)));
        components_->setCurrentIndex(components_->count() - 1);
        read_table_file(table_, bill_file(components_->count() - 1));
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
    view_->refresh();
    exec();
}

void BillEditor::fill_materials(const QString& filter) {
    materials_->clear();
    std::string f = filter.toLower().toStdString();
    for (int r = kFirstPriceRow; r < prices_.row_count(); ++r) {
        QString description = QString::fromStdString(prices_(2, r));
        if (!f.empty() && !description.toLower().contains(QString::fromStdString(f))) continue;
        auto* item = new QListWidgetItem(description, materials_);
        item->setData(kCode, QString::fromStdString(prices_(0, r)));
        item->setData(kUnit, QString::fromStdString(prices_(3, r)));
    }
}

void BillEditor::add_material() {
    table_.set_row_count(table_.row_count() + 1);
    view_->refresh();
    quantity_->clear();
    filter_->clear();
    fill_materials({});
    picker_->show();
    quantity_->setFocus();
}

void BillEditor::picker_accept() {
    if (picker_->isHidden()) return;
    int appended = table_.row_count() - 1;
    QListWidgetItem* item = materials_->currentItem();
    table_.set_row_count(appended);
    bool added = false;
    if (item) {
        added = add_bill_line(table_, quantity_->text().toStdString(), item->data(kCode).toString().toStdString(),
                              item->text().toStdString(), item->data(kUnit).toString().toStdString(), messages_,
                              doc_.decimal_separator);
    } else {
        double q = numtext::read_lenient(quantity_->text().toStdString(), doc_.decimal_separator);
        if (q > 0) added = true;  // nothing chosen: the empty line is dropped
        else messages_.warning("Warning", "A quantity must be entered");
    }
    if (!added) {
        table_.set_row_count(appended + 1);  // the picker stays open on its empty line
        return;
    }
    table_.set_fixed_rows(1);
    picker_->hide();
    view_->refresh();
}

void BillEditor::picker_reject() {
    if (picker_->isHidden()) return;
    table_.set_row_count(table_.row_count() - 1);
    picker_->hide();
    view_->refresh();
}

void BillEditor::delete_material() {
    if (!delete_bill_line(table_, selected_)) return;
    selected_ = -1;
    view_->refresh();
}

void BillEditor::save() {
    int index = components_->currentIndex();
    if (index < 0) return;
    try {
        write_table_file(table_, bill_file(index));
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
}

}  // namespace velmora::budget
