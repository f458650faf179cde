#include "tosquin/ui/dialogs.h"

#include "common/errors.h"
#include "common/numtext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace velmora::tosquin::ui {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// Runs an engine command that may stop on a malformed file.
template <typename F>
bool guarded(Messages& messages, F&& f) {
    try {
        f();
        return true;
    } catch (const FileError& e) {
        messages.error(e.what());
    } catch (const ConversionError& e) {
        messages.error(e.what());
    }
    return false;
}

}  // namespace

// ---- "Diameters" -------------------------------------------------------------

CatalogueDialog::CatalogueDialog(Document& doc, Messages& messages, QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages) {
    setWindowTitle("Diameters");
    view_ = new qt::GridView(&window_.grid, this);
    auto* add = new QPushButton("Add", this);
    auto* del = new QPushButton("Delete", this);
    auto* ins = new QPushButton("Insert", this);
    ok_ = new QPushButton("Ok", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (auto* b : {add, del, ins, ok_}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addLayout(buttons);
    resize(900, 520);

    connect(add, &QPushButton::clicked, this, [this] {
        catalogue_add(window_);
        view_->refresh();
    });
    connect(del, &QPushButton::clicked, this, [this] {
        catalogue_delete(window_, view_->current_row());
        view_->refresh();
    });
    connect(ins, &QPushButton::clicked, this, [this] {
        catalogue_insert(window_, view_->current_row());
        view_->refresh();
    });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(view_, &qt::GridView::cell_edited, this, [this](int, int, const QString&) { window_.cambio = true; });
    connect(view_, &qt::GridView::key_released, this, [this](int, int col, int row) {
        if (col == 3 || col == 7 || col == 8 || col == 9) {
            convert_pressures(window_.grid, col, row);
            view_->refresh();
        }
    });
}

void CatalogueDialog::open_window() {
    if (!guarded(messages_, [&] { window_ = open_catalogue(doc_); })) return;
    window_.grid.set_fixed_rows(1);
    view_->set_grid(&window_.grid);
    view_->refresh();
    exec();
}

void CatalogueDialog::done(int result) {
    guarded(messages_, [&] { catalogue_close(doc_, window_, messages_); });
    window_.cambio = false;
    QDialog::done(result);
}

// ---- "Working pressure for design" -------------------------------------------

WorkingPressureDialog::WorkingPressureDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Working pressure for design");
    edit_ = new QLineEdit("80", this);
    edit_->setValidator(new QIntValidator(0, 1000, edit_));
    edit_->setMaximumWidth(60);
    auto* ok = new QPushButton("Ok", this);
    auto* row = new QHBoxLayout;
    row->addWidget(edit_);
    row->addWidget(new QLabel("%", this));
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("The pressure specified by the manufacturer ", this));
    layout->addWidget(new QLabel("in column 2, will be affected by this factor", this));
    layout->addLayout(row);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

int WorkingPressureDialog::percent() const { return static_cast<int>(numtext::read_int_lenient(edit_->text().toStdString())); }

// ---- "Predetermined Diameters" -----------------------------------------------

PredeterminedDiametersDialog::PredeterminedDiametersDialog(Document& doc, Messages& messages, QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages) {
    setWindowTitle("Predetermined Diameters");
    view_ = new qt::GridView(&doc_.predeterminados, this);
    ok_ = new QPushButton("Ok", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("The simulator will force the use of these diameters in the design", this));
    layout->addWidget(view_);
    layout->addWidget(ok_, 0, Qt::AlignHCenter);
    resize(680, 320);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(view_, &qt::GridView::key_pressed, this, [this](int, int, int) { doc_.cambios = true; });
    connect(view_, &qt::GridView::key_released, this, [this](int, int, int row) {
        doc_.cambios = true;
        predetermined_key_released(doc_, row);
        view_->refresh();
    });
    connect(view_, &qt::GridView::cell_edited, this, [this](int col, int row, const QString& text) {
        if (col != 3 && col != 4) return;
        const auto& items = col == 3 ? lists_.dpul : lists_.dmm;
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == text.toStdString()) {
                pick_predetermined_diameter(doc_, lists_, col, row, static_cast<int>(i));
                doc_.cambios = true;
                view_->refresh();
                return;
            }
    });
}

void PredeterminedDiametersDialog::prepare() {
    open_predetermined_diameters(doc_);
    lists_ = diameter_lists(doc_.ref);
    Grid& g = doc_.predeterminados;
    g.set_editor(0, ColumnEditor{EditorKind::ReadOnly, {}});
    g.set_editor(1, ColumnEditor{EditorKind::ReadOnly, {}});
    g.set_editor(3, ColumnEditor{EditorKind::DropDown, lists_.dpul});
    g.set_editor(4, ColumnEditor{EditorKind::DropDown, lists_.dmm});
    for (int c = 1; c < 5; ++c) g.set_col_width(c, c < 3 ? 120 : 150);
    view_->refresh();
}

void PredeterminedDiametersDialog::accept() {
    const std::string message = check_predetermined_diameters(doc_);
    if (!message.empty()) {
        messages_.warning("Warning", message);
        return;
    }
    QDialog::accept();
}

void PredeterminedDiametersDialog::reject() {
    const std::string message = close_predetermined_diameters(doc_);
    if (!message.empty()) messages_.warning("Warning", message);
    QDialog::reject();
}

// ---- "Predetermined Sections" ------------------------------------------------

PredeterminedSectionsDialog::PredeterminedSectionsDialog(Document& doc, Messages& messages, QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages) {
    setWindowTitle("Predetermined Sections");
    view_ = new qt::GridView(&doc_.tramosfijos, this);
    ok_ = new QPushButton("Ok", this);
    clear_ = new QPushButton("Clear", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(clear_);
    buttons->addWidget(ok_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("The simulator will force the use of these type of pipes in the design", this));
    layout->addWidget(new QLabel("Right click to delete/insert rows", this));
    layout->addWidget(view_);
    layout->addLayout(buttons);
    resize(560, 420);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(clear_, &QPushButton::clicked, this, [this] {
        clear_fixed_sections(doc_);
        view_->refresh();
    });
    connect(view_, &qt::GridView::current_changed, this, [this](int col, int) { cell_selected(col); });
    connect(view_, &qt::GridView::key_released, this, [this](int key, int col, int row) {
        doc_.cambios = true;
        if ((col != 2 && col != 3) || key <= 0x20 || key >= 0x7f) return;
        prefix_ = type_in_fixed_section(doc_, col, row, prefix_, static_cast<char>(key));
        view_->refresh();
    });
    connect(view_, &qt::GridView::context_menu_requested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        menu.addAction("Delete", this, &PredeterminedSectionsDialog::delete_row);
        menu.addAction("Insert", this, &PredeterminedSectionsDialog::insert_row);
        menu.exec(pos);
    });
}

void PredeterminedSectionsDialog::cell_selected(int col) {
    prefix_.clear();
    // The type and working-pressure columns complete what is typed from the
    // catalogue instead of taking the typed text.
    view_->setEditTriggers(col == 2 || col == 3 ? QAbstractItemView::NoEditTriggers
                                                : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                                      QAbstractItemView::AnyKeyPressed |
                                                      QAbstractItemView::SelectedClicked);
}

void PredeterminedSectionsDialog::prepare() {
    write_predetermined_headers(doc_);
    for (int c = 0; c < 4; ++c) doc_.tramosfijos.set_col_width(c, c == 3 ? 160 : 100);
    view_->refresh();
    cell_selected(view_->current_col());
}

void PredeterminedSectionsDialog::delete_row() {
    delete_fixed_section(doc_, view_->current_row());
    view_->refresh();
}

void PredeterminedSectionsDialog::insert_row() {
    insert_fixed_section(doc_, view_->current_row());
    view_->refresh();
}

void PredeterminedSectionsDialog::accept() {
    const std::string message = check_fixed_sections(doc_);
    if (!message.empty()) {
        messages_.warning("Warning", message);
        return;
    }
    QDialog::accept();
}

void PredeterminedSectionsDialog::reject() {
    const std::string message = close_fixed_sections(doc_);
    if (!message.empty()) messages_.warning("Warning", message);
    QDialog::reject();
}

// ---- "Options" -----------------------------------------------------------------

OptionsDialog::OptionsDialog(Document& doc, Messages& messages, WorkingPressureDialog& working_pressure,
                             QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages), working_pressure_(working_pressure) {
    setWindowTitle("Options");
    list_ = new QListWidget(this);
    list_->addItems({"Units", "Working Pressure/HWC", "Minimun Diameter", "Works\u00B4 Unit Prices - Currency symbol"});
    list_->setMaximumWidth(250);
    stack_ = new QStackedWidget(this);

    // Units.
    auto* units = new QWidget(stack_);
    units_view_ = new qt::GridView(&doc_.ref.unidades, units);
    units_view_->grid_model()->set_read_only(true);
    diameter_unit_ = new QComboBox(units);
    diameter_unit_->addItems({"inch", "millimeter"});
    pressure_unit_ = new QComboBox(units);
    pressure_unit_->addItems({"pounds per square inch", "Kg per square cm", "atmosphere", "megapascal"});
    auto* unit_boxes = new QGridLayout;
    unit_boxes->addWidget(new QLabel("Nominal Diameter (ND)", units), 0, 0);
    unit_boxes->addWidget(diameter_unit_, 0, 1);
    unit_boxes->addWidget(new QLabel("Working Pressure (P)", units), 1, 0);
    unit_boxes->addWidget(pressure_unit_, 1, 1);
    auto* ul = new QVBoxLayout(units);
    ul->addWidget(units_view_);
    ul->addLayout(unit_boxes);
    ul->addWidget(note("The units change will affect the entire calculation process", units));
    ul->addWidget(note("Make sure that the pipes file corresponds to the units especified in this table", units));

    // Working pressure and HWC.
    auto* pressures = new QWidget(stack_);
    pressures_view_ = new qt::GridView(&doc_.ref.presiones, pressures);
    load_ = new QPushButton("Load from file", pressures);
    auto* pl = new QVBoxLayout(pressures);
    pl->addWidget(pressures_view_);
    pl->addWidget(load_, 0, Qt::AlignLeft);
    pl->addWidget(note("WP: The Working Pressure specified by the Manufacturer", pressures));
    pl->addWidget(note("Design P: The pressure in meters of water column utilized by the program", pressures));
    pl->addWidget(note("HWC: The friction coefficient of Hazen Williams", pressures));

    // Minimum diameter.
    auto* minimum = new QWidget(stack_);
    pressure_box_ = new QComboBox(minimum);
    diameter_box_ = new QComboBox(minimum);
    auto* ml = new QGridLayout(minimum);
    ml->addWidget(new QLabel("Pressure for first instance design", minimum), 0, 0);
    ml->addWidget(pressure_box_, 0, 1);
    ml->addWidget(new QLabel("Minimun diameter for designing", minimum), 1, 0);
    ml->addWidget(diameter_box_, 1, 1);
    ml->addWidget(new QLabel("The pressure for first instance design will be utilized by the program to ", minimum), 2,
                  0, 1, 2);
    ml->addWidget(new QLabel("do the first estimation of the equivalent diameter", minimum), 3, 0, 1, 2);
    ml->setRowStretch(4, 1);

    // Prices.
    auto* prices = new QWidget(stack_);
    currency_ = new QLineEdit(prices);
    currency_->setMaximumWidth(80);
    prices_view_ = new qt::GridView(&prices_, prices);
    auto* prl = new QGridLayout(prices);
    prl->addWidget(new QLabel("Currency symbol", prices), 0, 0);
    prl->addWidget(currency_, 0, 1, Qt::AlignLeft);
    prl->addWidget(prices_view_, 1, 0, 1, 2);
    prl->addWidget(new QLabel("The unit prices will be utilized as a parameter to choose the most ", prices), 2, 0, 1, 2);
    prl->addWidget(new QLabel("economical design", prices), 3, 0, 1, 2);

    for (auto* page : {units, pressures, minimum, prices}) stack_->addWidget(page);
    ok_ = new QPushButton("Ok", this);
    auto* body = new QHBoxLayout;
    body->addWidget(list_);
    body->addWidget(stack_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(ok_, 0, Qt::AlignRight);
    resize(900, 460);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(list_, &QListWidget::currentRowChanged, this, &OptionsDialog::show_page);
    connect(diameter_unit_, &QComboBox::activated, this, [this](int i) {
        choose_diameter_unit(doc_, window_, i);
        units_view_->refresh();
    });
    connect(pressure_unit_, &QComboBox::activated, this, [this](int i) {
        choose_pressure_unit(doc_, window_, i);
        units_view_->refresh();
    });
    connect(pressures_view_, &qt::GridView::key_released, this, [this](int, int, int) { window_.cambio2 = true; });
    connect(load_, &QPushButton::clicked, this, &OptionsDialog::load_from_file);
    connect(pressure_box_, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (filling_) return;
        window_.pressure_box = t.toStdString();
        window_.cambio3 = true;
    });
    connect(diameter_box_, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (filling_) return;
        window_.diameter_box = t.toStdString();
        window_.cambio3 = true;
    });
    connect(currency_, &QLineEdit::textEdited, this, [this](const QString& t) {
        window_.currency = t.toStdString();
        window_.cambio4 = true;
        fill_prices();
    });
    connect(prices_view_, &qt::GridView::cell_edited, this, [this](int col, int row, const QString& t) {
        if (col == 1 && row >= 1 && row <= 3) window_.prices[static_cast<size_t>(row - 1)] = t.toStdString();
        window_.cambio4 = true;
    });
    window_ = open_options(doc_);
}

void OptionsDialog::fill_prices() {
    prices_.set_row(0, {"Work", "Unit Price (" + window_.currency + ")"});
    prices_.set_row(1, {"Break Pressure Box (BPB)", window_.prices[0]});
    prices_.set_row(2, {"Air Valve (AV)", window_.prices[1]});
    prices_.set_row(3, {"Washout Valve (WV)", window_.prices[2]});
    prices_.set_editor(0, ColumnEditor{EditorKind::ReadOnly, {}});
    prices_.set_col_width(0, 200);
    prices_.set_col_width(1, 140);
    prices_view_->refresh();
}

void OptionsDialog::open_window() {
    // The flags keep their values between uses; the boxes show the files.
    OptionsWindow fresh = open_options(doc_);
    window_.pressure_box = fresh.pressure_box;
    window_.diameter_box = fresh.diameter_box;
    window_.currency = fresh.currency;
    window_.prices = fresh.prices;
    filling_ = true;
    currency_->setText(q(window_.currency));
    diameter_unit_->setCurrentText(q(doc_.ref.unidades(1, 3)));
    pressure_unit_->setCurrentText(q(doc_.ref.unidades(1, 4)));
    filling_ = false;
    doc_.ref.unidades.set_fixed_rows(1);
    for (int c = 0; c < 3; ++c) doc_.ref.unidades.set_col_width(c, c == 0 ? 190 : 170);
    doc_.ref.presiones.set_fixed_rows(1);
    for (int c = 0; c < 4; ++c) doc_.ref.presiones.set_col_width(c, c == 2 ? 150 : 90);
    units_view_->set_grid(&doc_.ref.unidades);
    pressures_view_->set_grid(&doc_.ref.presiones);
    units_view_->refresh();
    pressures_view_->refresh();
    fill_prices();
    list_->setCurrentRow(0);
    show_page(0);
    exec();
}

void OptionsDialog::show_page(int page) {
    stack_->setCurrentIndex(page);
    if (page != 2) return;
    guarded(messages_, [&] { show_minimum_diameter_page(doc_, window_); });
    filling_ = true;
    pressure_box_->clear();
    for (const auto& item : window_.pressure_items) pressure_box_->addItem(q(item));
    pressure_box_->setCurrentText(q(window_.pressure_box));
    diameter_box_->clear();
    for (const auto& item : window_.diameter_items) diameter_box_->addItem(q(item));
    diameter_box_->setCurrentText(q(window_.diameter_box));
    filling_ = false;
}

void OptionsDialog::load_from_file() {
    window_.cambio2 = true;
    working_pressure_.exec();
    guarded(messages_, [&] { load_pressures_from_catalogue(doc_, working_pressure_.percent()); });
    doc_.ref.presiones.set_fixed_rows(1);
    for (int c = 0; c < 4; ++c) doc_.ref.presiones.set_col_width(c, c == 2 ? 150 : 90);
    pressures_view_->refresh();
}

void OptionsDialog::accept() {
    guarded(messages_, [&] { options_ok(doc_, window_, messages_); });
    QDialog::accept();
}

}  // namespace velmora::tosquin::ui
