#include "budget/ui/components_editor.h"

#include "budget/ui/bill_editor.h"
#include "budget/ui/table_widths.h"
#include "qtcommon/grid_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace velmora::budget {

void merge_works_headers(Grid& g) {
    g.clear_merges();
    g.set_fixed_rows(2);
    g.merge(0, 0, 1, 2);
    g.merge(1, 0, 1, 2);
    g.merge(2, 0, 2, 1);
    g.merge(4, 0, 2, 1);
    g.merge(6, 0, 2, 1);
    g.merge(9, 0, 1, 2);
    g.merge(10, 0, 1, 2);
}

// ---- Component's description -----------------------------------------------

ComponentDescriptionDialog::ComponentDescriptionDialog(Messages& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
    setWindowTitle("Component's description");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    auto add = [&](const QString& label, const QString& after = {}) {
        auto* edit = new QLineEdit(this);
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(edit, row, 1);
        if (!after.isEmpty()) grid->addWidget(new QLabel(after, this), row, 2);
        ++row;
        fields_.push_back({label, edit});
        connect(edit, &QLineEdit::textEdited, this, [this] { model_.edited(); });
    };
    add("Description of the system's component:");
    add("Unit:");
    add("File:", ".csv");
    add("# of pipes in inlet:");
    add("# of valves in inlet");
    add("# of elbows in inlet:");
    add("# of elbows in outlet:");
    add("# of pipes in outlet:");
    add("# of valves in outlet:");
    add("# of Tee:");
    grid->setColumnMinimumWidth(1, 260);
    layout->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton("Ok", this);
    cancel_ = new QPushButton("Cancel", this);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, [this] {
        read_fields();
        act(model_.ok(messages_));
    });
    connect(cancel_, &QPushButton::clicked, this, &ComponentDescriptionDialog::reject);
}

QLineEdit* ComponentDescriptionDialog::field(const QString& label) const {
    for (const auto& [l, e] : fields_)
        if (l == label) return e;
    return nullptr;
}

void ComponentDescriptionDialog::read_fields() {
    auto t = [&](const char* label) { return field(label)->text().toStdString(); };
    ComponentFields& f = model_.fields;
    f.description = t("Description of the system's component:");
    f.unit = t("Unit:");
    f.file = t("File:");
    f.inlet_pipes = t("# of pipes in inlet:");
    f.valves_inlet = t("# of valves in inlet");
    f.elbows_inlet = t("# of elbows in inlet:");
    f.elbows_outlet = t("# of elbows in outlet:");
    f.outlet_pipes = t("# of pipes in outlet:");
    f.valves_outlet = t("# of valves in outlet:");
    f.tees = t("# of Tee:");
}

void ComponentDescriptionDialog::open_component(const ComponentFields& f, bool new_component) {
    model_.load(f, new_component);
    auto set = [&](const char* label, const std::string& text) { field(label)->setText(QString::fromStdString(text)); };
    set("Description of the system's component:", f.description);
    set("Unit:", f.unit);
    // The file is entered without its extension, shown after the field.
    std::string file = f.file;
    if (file.size() > 4 && file.substr(file.size() - 4) == ".csv") file.resize(file.size() - 4);
    set("File:", file);
    set("# of pipes in inlet:", f.inlet_pipes);
    set("# of valves in inlet", f.valves_inlet);
    set("# of elbows in inlet:", f.elbows_inlet);
    set("# of elbows in outlet:", f.elbows_outlet);
    set("# of pipes in outlet:", f.outlet_pipes);
    set("# of valves in outlet:", f.valves_outlet);
    set("# of Tee:", f.tees);
    model_.fields = f;
    model_.fields.file = file;
    exec();
}

void ComponentDescriptionDialog::act(ComponentDescription::Outcome outcome) {
    using O = ComponentDescription::Outcome;
    if (outcome == O::StayOpen) return;
    if (outcome == O::EnterBill && bill_editor_) bill_editor_->open_for_new_component(model_.fields);
    if (outcome == O::EnterBill || model_.changed) QDialog::accept();
    else QDialog::reject();
}

void ComponentDescriptionDialog::reject() {
    read_fields();
    act(model_.cancel(messages_));
}

// A drawing fills the window behind the fields.
void ComponentDescriptionDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(222, 236, 250));
    g.setColorAt(1, QColor(190, 214, 236));
    p.fillRect(rect(), g);
    p.setPen(QPen(QColor(160, 190, 220), 2));
    int base = height() - 20;
    for (int x = 0; x < width(); x += 40) p.drawArc(x, base - 10, 40, 20, 0, 180 * 16);
}

// ---- List of Components ----------------------------------------------------

ComponentsEditor::ComponentsEditor(Document& doc, Messages& messages, QWidget* parent)
    : QDialog(parent), doc_(doc), messages_(messages) {
    setWindowTitle("List of Components");
    setWindowState(windowState() | Qt::WindowMaximized);
    try {
        read_table_file(table_, doc_.files_dir / "obras.csv");
    } catch (const std::exception&) {
        // The installed works list is assumed present.
    }
    merge_works_headers(table_);
    auto* layout = new QVBoxLayout(this);
    view_ = new qt::GridView(&table_, this);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->grid_model()->set_read_only(true);
    show_table();
    layout->addWidget(view_);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    for (const char* text : {"Delete", "Add", "Edit", "OK"}) {
        auto* b = new QPushButton(text, this);
        bar->addWidget(b);
        buttons_.push_back(b);
    }
    bar->addStretch(1);
    layout->addLayout(bar);
    connect(button("Delete"), &QPushButton::clicked, this, &ComponentsEditor::delete_component);
    connect(button("Add"), &QPushButton::clicked, this, &ComponentsEditor::add_component);
    connect(button("Edit"), &QPushButton::clicked, this, &ComponentsEditor::edit_component);
    connect(button("OK"), &QPushButton::clicked, this, &QDialog::accept);
    connect(view_, &qt::GridView::current_changed, this, [this](int, int row) { selected_ = row; });
    resize(1000, 600);
}

// The table is shown with its columns widened to their contents.
void ComponentsEditor::show_table() {
    view_->refresh();
    widen_to_contents(view_);
}

QPushButton* ComponentsEditor::button(const QString& text) const {
    for (auto* b : buttons_)
        if (b->text() == text) return b;
    return nullptr;
}

void ComponentsEditor::add_component() {
    if (!description_) return;
    changed_ = true;
    int appended = table_.row_count();
    table_.set_row_count(appended + 1);
    show_table();
    description_->open_component({}, true);
    table_.delete_row(appended);
    if (description_->model().changed) {
        int row = budget::add_component(table_, description_->model().fields);
        show_table();
        view_->set_current(0, row);
        selected_ = row;
    } else {
        show_table();
    }
}

void ComponentsEditor::edit_component() {
    if (!description_ || selected_ < table_.fixed_rows() || selected_ >= table_.row_count()) return;
    const Grid& t = table_;
    int r = selected_;
    ComponentFields f{t(1, r), t(2, r), t(3, r), t(4, r), t(5, r), t(6, r), t(7, r), t(8, r), t(9, r), t(10, r)};
    description_->open_component(f, false);
}

void ComponentsEditor::delete_component() {
    if (selected_ < 2 || selected_ >= table_.row_count()) return;
    try {
        if (budget::delete_component(table_, selected_, doc_.projects_dir, messages_)) {
            changed_ = true;
            show_table();
        }
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
}

}  // namespace velmora::budget
