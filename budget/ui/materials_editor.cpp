#include "budget/ui/materials_editor.h"

#include "budget/ui/table_widths.h"
#include "qtcommon/grid_view.h"

#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <exception>

namespace velmora::budget {

void merge_price_headers(Grid& g) {
    g.clear_merges();
    g.set_fixed_rows(3);
    for (int c = 0; c <= 4; ++c) g.merge(c, 0, 1, 3);
    g.merge(5, 0, 2, 2);
    g.merge(7, 0, 2, 1);
    g.merge(9, 0, 1, 2);
    g.merge(10, 0, 2, 1);
}

// ---- Adding items ----------------------------------------------------------

AddingItemsDialog::AddingItemsDialog(const std::filesystem::path& files_dir, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Adding items");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Please, select the type of item to add", this));
    types_ = new QComboBox(this);
    try {
        for (const auto& t : item_types(read_table_file(files_dir / "precios.csv")))
            types_->addItem(QString::fromStdString(t));
    } catch (const std::exception&) {
        // The installed price list is assumed present; without it there is no type to offer.
    }
    layout->addWidget(types_);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<std::string> AddingItemsDialog::ask() {
    if (types_->count() > 0) types_->setCurrentIndex(0);
    if (exec() != QDialog::Accepted || types_->count() == 0) return std::nullopt;
    return types_->currentText().toStdString();
}

// ---- Materials Wizard ------------------------------------------------------

MaterialsWizard::MaterialsWizard(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Materials Wizard");
    auto* layout = new QVBoxLayout(this);
    pages_ = new QStackedWidget(this);
    layout->addWidget(pages_);
    for (auto& f : fields_) f = new QLineEdit(this);
    fields_[1]->setText("Unit");

    auto* p1 = new QWidget(pages_);
    auto* l1 = new QFormLayout(p1);
    l1->addRow(new QLabel("Enter the following Information for the new material:", p1));
    l1->addRow("Description:", fields_[0]);
    l1->addRow("Unit:", fields_[1]);
    l1->addRow("Unit Price:", fields_[2]);
    pages_->addWidget(p1);

    auto* p2 = new QWidget(pages_);
    auto* l2 = new QFormLayout(p2);
    auto note = [&](const QString& text) {
        auto* label = new QLabel(text, p2);
        label->setWordWrap(true);
        l2->addRow(label);
    };
    note("If your material is not part of the specifications below, please, leave blank the fields and click on "
         "\"Next\"");
    note("The following information is requiered just for pipes or piping materials such as: valves, male and female "
         "adapters, elbows, reductive tee and all the pipes no matter what type of material are made of. ");
    l2->addRow("Diameter [Inches]:", fields_[3]);
    note("The following information is requiered just for those construction materials whose weight will demand "
         "transportation costs, such as steel bars. Pipes, sand, gravel and cement are excluded.");
    l2->addRow("Weight [kg]:", fields_[4]);
    note("The following information is requiered just for pipes, no matter what type of material are made of. Its "
         "value shoud represent a percentage of the cost of the pipes.");
    l2->addRow("%:", fields_[5]);
    note("The following information is requiered just for pipes, no matter what type of material are made of. Its "
         "value represents de cost per day per unit");
    l2->addRow("Skilled Labor Cost [$/day/unit]:", fields_[6]);
    l2->addRow("Unskilled Labor Cost [$/day/unit]:", fields_[7]);
    pages_->addWidget(p2);

    auto* buttons = new QHBoxLayout;
    previous_ = new QPushButton("Previous", this);
    next_ = new QPushButton("Next", this);
    finish_ = new QPushButton("finish", this);
    cancel_ = new QPushButton("Cancel", this);
    buttons->addStretch(1);
    for (auto* b : {previous_, next_, finish_, cancel_}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(previous_, &QPushButton::clicked, this, [this] { show_page(0); });
    connect(next_, &QPushButton::clicked, this, [this] { show_page(1); });
    connect(finish_, &QPushButton::clicked, this, [this] {
        finished_ = true;
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(560);
    show_page(0);
}

void MaterialsWizard::show_page(int page) {
    pages_->setCurrentIndex(page);
    previous_->setEnabled(page == 1);
    finish_->setEnabled(page == 1);
    next_->setEnabled(page == 0);
}

int MaterialsWizard::page() const { return pages_->currentIndex(); }

QPushButton* MaterialsWizard::button(const QString& text) const {
    for (auto* b : {previous_, next_, finish_, cancel_})
        if (b->text() == text) return b;
    return nullptr;
}

WizardTexts MaterialsWizard::ask() {
    finished_ = false;
    show_page(0);
    exec();
    WizardTexts texts;
    if (finished_)
        for (size_t k = 0; k < texts.size(); ++k) texts[k] = fields_[k]->text().toStdString();
    return texts;
}

// ---- Bill of Materials -----------------------------------------------------

MaterialsEditor::MaterialsEditor(Document& doc, Messages& messages, QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages) {
    setWindowTitle("Bill of Materials");
    setWindowState(windowState() | Qt::WindowMaximized);
    try {
        read_table_file(table_, doc_.files_dir / "precios.csv");
    } catch (const std::exception&) {
        // The installed price list is assumed present.
    }
    merge_price_headers(table_);
    auto* layout = new QVBoxLayout(this);
    view_ = new qt::GridView(&table_, this);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    show_table();
    layout->addWidget(view_);
    bar_ = new QWidget(this);
    bar_->setMinimumHeight(40);
    add_ = new QPushButton("Add", bar_);
    delete_ = new QPushButton("Delete", bar_);
    ok_ = new QPushButton("OK", bar_);
    layout->addWidget(bar_);
    connect(add_, &QPushButton::clicked, this, &MaterialsEditor::add_item);
    connect(delete_, &QPushButton::clicked, this, &MaterialsEditor::delete_item);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(view_, &qt::GridView::current_changed, this, [this](int, int row) { selected_ = row; });
    connect(view_, &qt::GridView::cell_edited, this, [this] { changed_ = true; });
    resize(1000, 600);
}

void MaterialsEditor::set_dialogs(AddingItemsDialog* adding, MaterialsWizard* wizard) {
    adding_ = adding;
    wizard_ = wizard;
}

// The table is shown with its columns widened to their contents.
void MaterialsEditor::show_table() {
    view_->refresh();
    widen_to_contents(view_);
}

QPushButton* MaterialsEditor::button(const QString& text) const {
    for (auto* b : {add_, delete_, ok_})
        if (b->text() == text) return b;
    return nullptr;
}

void MaterialsEditor::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    place_buttons();
}

// "Delete" centred; "OK" from half the bar plus its width plus 30; "Add" at
// half the bar minus twice the width of "OK" minus 30.
void MaterialsEditor::place_buttons() {
    int w = bar_->width();
    int bw = ok_->sizeHint().width();
    int y = (bar_->height() - ok_->sizeHint().height()) / 2;
    for (auto* b : {add_, delete_, ok_}) b->resize(bw, ok_->sizeHint().height());
    delete_->move((w - bw) / 2, y);
    ok_->move(w / 2 + bw + 30, y);
    add_->move(w / 2 - 2 * bw - 30, y);
}

void MaterialsEditor::delete_item() {
    if (!delete_price_item(table_, selected_)) return;
    changed_ = true;
    show_table();
}

void MaterialsEditor::add_item() {
    if (!adding_ || !wizard_) return;
    auto type = adding_->ask();
    if (!type) return;
    QDate today = QDate::currentDate();
    WizardTexts texts = wizard_->ask();
    int row = insert_price_item(table_, *type, today.month(), today.year(), texts);
    if (row < 0) return;
    changed_ = true;
    show_table();
    view_->set_current(0, row);
    selected_ = row;
}

void MaterialsEditor::done(int result) {
    try {
        // Yes writes the list; No keeps the edits here without writing them.
        close_materials_editor(doc_, table_, changed_, messages_);
        changed_ = false;
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
    QDialog::done(result);
}

}  // namespace velmora::budget
