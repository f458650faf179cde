#include "kelvaro/ui/options_window.h"

#include "common/errors.h"
#include "kelvaro/ui/diameters_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace velmora::kelvaro::ui {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
std::string ss(const QString& s) { return s.toStdString(); }

QLabel* note(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}
}  // namespace

const QStringList& OptionsWindow::page_names() {
    static const QStringList names{"Min/max diameter", "Pressures/Unit Flow", "Designing Parameters", "Units"};
    return names;
}

OptionsWindow::OptionsWindow(Document* doc, Messages* messages, DiametersWindow* diameters, QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages), diameters_(diameters) {
    setWindowTitle("Options");
    setModal(true);
    pages_ = new QListWidget(this);
    pages_->setFixedWidth(160);
    stack_ = new QStackedWidget(this);
    stack_->addWidget(diameters_page());
    stack_->addWidget(pressures_page());
    stack_->addWidget(parameters_page());
    stack_->addWidget(units_page());
    connect(pages_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) stack_->setCurrentIndex(row);
    });

    auto* reset_button = new QPushButton("Reset", this);
    auto* ok = new QPushButton("OK", this);
    connect(reset_button, &QPushButton::clicked, this, &OptionsWindow::reset);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(reset_button);
    buttons->addWidget(ok);

    auto* body = new QHBoxLayout;
    body->addWidget(pages_);
    body->addWidget(stack_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    show_page(0);
    resize(720, 470);
}

QLineEdit* OptionsWindow::make_box(const QString& name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->setFixedWidth(90);
    boxes_ << e;
    return e;
}

QLineEdit* OptionsWindow::box(const QString& name) const {
    for (QLineEdit* e : boxes_)
        if (e->objectName() == name) return e;
    return nullptr;
}

QWidget* OptionsWindow::diameters_page() {
    auto* page = new QGroupBox("Diameters for designing", this);
    min_ = new QComboBox(page);
    max_ = new QComboBox(page);
    min_->setMinimumWidth(120);
    max_->setMinimumWidth(120);
    QLineEdit* hwc = make_box("HWC");
    auto* list = new QPushButton("Diameters list", page);
    connect(min_, &QComboBox::activated, this, [this](int i) { editor_.choose_min(i); });
    connect(max_, &QComboBox::activated, this, [this](int i) { editor_.choose_max(i); });
    connect(hwc, &QLineEdit::textEdited, this, [this](const QString& t) { editor_.set_hwc(ss(t)); });
    connect(list, &QPushButton::clicked, this, [this] {
        diameters_->exec();
        fill();  // this window becomes active again
    });
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow("Min", min_);
    form->addRow("Max", max_);
    form->addRow("HWC", hwc);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(list, 0, Qt::AlignLeft);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsWindow::pressures_page() {
    auto* page = new QGroupBox("Pressures/Unit Flow", this);
    auto* grid = new QGridLayout;
    struct Row { const char* caption; const char* name; const char* unit; };
    const Row rows[] = {{"Min Residual Pressure", "MinPRE", "m"},
                        {"Max Static Pressure", "MaxPE", "m"},
                        {"Unit Flow [Q/Household]", "QUE", "L/S"},
                        {"Instantaneous Flow =", "IQE", "* sqrt(# HH-1)"}};
    int r = 0;
    for (const Row& row : rows) {
        QLineEdit* e = make_box(row.name);
        grid->addWidget(new QLabel(row.caption, page), r, 0);
        grid->addWidget(e, r, 1);
        grid->addWidget(new QLabel(row.unit, page), r, 2);
        ++r;
    }
    box("QUE")->setReadOnly(true);
    connect(box("MinPRE"), &QLineEdit::textEdited, this,
            [this](const QString& t) { editor_.set_min_pressure(*doc_, ss(t)); });
    connect(box("MaxPE"), &QLineEdit::textEdited, this, [this](const QString& t) { editor_.set_max_pressure(ss(t)); });
    connect(box("IQE"), &QLineEdit::textEdited, this,
            [this](const QString& t) { editor_.set_instantaneous_factor(ss(t)); });
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(note("Note: Recommended Values for Instantaneous Factors are", page));
    layout->addWidget(note("0.15 for Household connections and 0.20 for public stand taps", page));
    layout->addWidget(note("Use  \"0\" if you do  not want to consider this parameter", page));
    layout->addWidget(note("The Unit Flow should be changed from the Design Parameters Option ", page));
    layout->addStretch(1);
    return page;
}

QWidget* OptionsWindow::parameters_page() {
    auto* page = new QGroupBox("Designing Parameters", this);
    auto* grid = new QGridLayout;
    struct Row { const char* caption; const char* name; const char* unit; };
    const Row rows[] = {{"Max Hour Factor=", "HmE", ""},
                        {"Population Growth Rate=", "TasaE", "%"},
                        {"# of people/HH=", "habE", ""},
                        {"Designing period=", "PerE", "Years"}};
    for (int r = 0; r < 4; ++r) {
        QLineEdit* e = make_box(rows[r].name);
        grid->addWidget(new QLabel(rows[r].caption, page), r, 0);
        grid->addWidget(e, r, 1);
        grid->addWidget(new QLabel(rows[r].unit, page), r, 2);
        connect(e, &QLineEdit::textEdited, this, [this, r](const QString& t) {
            editor_.set_parameter(r, ss(t));
            show_values();
        });
    }
    new_consumption_ = new QLineEdit(page);
    new_consumption_->setFixedWidth(90);
    auto* add = new QPushButton("Add", page);
    connect(add, &QPushButton::clicked, this, &OptionsWindow::add_consumption);
    grid->addWidget(new QLabel("New Consumption/capita/day=", page), 4, 0);
    grid->addWidget(new_consumption_, 4, 1);
    grid->addWidget(add, 4, 2);

    consumptions_ = new QListWidget(page);
    consumptions_->setFixedWidth(130);
    consumptions_->installEventFilter(this);
    connect(consumptions_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        editor_.click_consumption(consumptions_->row(item));
        show_values();
    });
    auto* list_box = new QVBoxLayout;
    list_box->addWidget(new QLabel("Liters/capita/day", page));
    list_box->addWidget(consumptions_, 1);

    table_view_ = new qt::GridView(&table_copy_, page);
    table_view_->grid_model()->set_read_only(true);
    table_view_->setMinimumWidth(290);
    auto* lower = new QHBoxLayout;
    lower->addLayout(list_box);
    lower->addWidget(table_view_, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addLayout(lower, 1);
    return page;
}

QWidget* OptionsWindow::units_page() {
    auto* page = new QGroupBox("Units", this);
    units_view_ = new qt::GridView(&units_copy_, page);
    units_view_->grid_model()->set_read_only(true);
    unit_ = new QComboBox(page);
    unit_->addItems({"inch", "milimeter"});
    connect(unit_, &QComboBox::activated, this, [this](int) {
        editor_.choose_diameter_unit(ss(unit_->currentText()));
        show_values();
    });
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Nominal Diameter (ND)", page));
    row->addWidget(unit_);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(units_view_, 1);
    layout->addLayout(row);
    layout->addWidget(note("The change of the units will affect the entire calculation process", page));
    layout->addWidget(note("Make sure that the pipes file corresponds to the units especified in this table", page));
    return page;
}

void OptionsWindow::show_page(int page) {
    if (pages_->count() == 0) pages_->addItems(page_names());
    pages_->setCurrentRow(page);
    stack_->setCurrentIndex(page);
}

int OptionsWindow::current_page() const { return stack_->currentIndex(); }

void OptionsWindow::fill() {
    try {
        editor_.fill(*doc_);
    } catch (const FileError& e) {
        messages_->error(e.what());
    } catch (const ConversionError& e) {
        messages_->error(e.what());
    }
    show_all();
}

void OptionsWindow::show_all() {
    min_->clear();
    max_->clear();
    for (const auto& d : editor_.diameter_choices()) {
        min_->addItem(qs(d));
        max_->addItem(qs(d));
    }
    min_->setCurrentIndex(editor_.min_index());
    max_->setCurrentIndex(editor_.max_index());
    box("HWC")->setText(qs(editor_.hwc()));
    const char* pressure_boxes[] = {"MinPRE", "MaxPE", "QUE", "IQE"};
    for (int i = 0; i < 4; ++i) box(pressure_boxes[i])->setText(qs(editor_.minpre_lines().at(i)));
    const char* parameter_boxes[] = {"HmE", "TasaE", "habE", "PerE"};
    for (int i = 0; i < 4; ++i) box(parameter_boxes[i])->setText(qs(editor_.usage_lines().at(i)));
    show_consumptions();
    show_values();
}

void OptionsWindow::show_consumptions() {
    consumptions_->clear();
    for (const auto& c : editor_.consumptions()) consumptions_->addItem(qs(c));
    consumptions_->setCurrentRow(editor_.selected_consumption());
}

// The computed table, the unit flow it gives and the units table.
void OptionsWindow::show_values() {
    table_copy_ = editor_.parameters_table();
    table_view_->set_grid(&table_copy_);
    table_view_->refresh();
    box("QUE")->setText(qs(editor_.QUE));
    units_copy_ = editor_.units();
    units_view_->set_grid(&units_copy_);
    units_view_->refresh();
    unit_->setCurrentIndex(unit_->findText(qs(units_copy_(1, 3))));
}

void OptionsWindow::add_consumption() {
    editor_.add_consumption(ss(new_consumption_->text()));
    show_consumptions();
}

bool OptionsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == consumptions_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        editor_.delete_consumption();
        show_consumptions();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsWindow::reset() {
    try {
        editor_.reset(*doc_, *messages_);
    } catch (const FileError& e) {
        messages_->error(e.what());
    }
    show_all();
}

void OptionsWindow::done(int result) {
    try {
        editor_.close(*doc_, *messages_);
    } catch (const FileError& e) {
        messages_->error(e.what());
    }
    QDialog::done(result);
}

}  // namespace velmora::kelvaro::ui
