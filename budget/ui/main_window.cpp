#include "budget/ui/main_window.h"

#include "budget/engine/catalogues.h"
#include "budget/engine/project.h"
#include "budget/engine/report.h"
#include "budget/engine/report_export.h"
#include "budget/engine/transport.h"
#include "budget/ui/benefits_window.h"
#include "budget/ui/bill_editor.h"
#include "budget/ui/community_window.h"
#include "budget/ui/components_editor.h"
#include "budget/ui/materials_editor.h"
#include "qtcommon/about_dialog.h"
#include "qtcommon/close_channel.h"
#include "qtcommon/grid_view.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace velmora::budget {

namespace {

const QColor kHighlight(166, 202, 240);

// Columns without a width of their own are widened so that headers and
// amounts are not cut; the grid's own widths stay as they are.
void widen(qt::GridView* v, int first_col, int min_width) {
    for (int c = first_col; c < v->grid_model()->columnCount(); ++c)
        if (v->columnWidth(c) < min_width) v->setColumnWidth(c, min_width);
}

QLabel* title_label(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

}  // namespace

template <class Fn>
bool MainWindow::run(Fn&& fn) {
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        session_.messages->error(e.what());
        return false;
    }
}

MainWindow::MainWindow(Document doc, Session session, QWidget* parent)
    : QMainWindow(parent), doc_(std::move(doc)), session_(std::move(session)) {
    setWindowTitle(kMainCaption);
    new qt::CloseListener(this, kMainCaption);

    build_menus();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    top_tabs_ = new QTabWidget(central);
    layout->addWidget(top_tabs_);
    setCentralWidget(central);

    // Start-up before the tables are shown: catalogues, project tables and
    // report headers.
    run([&] {
        inicializardatos(doc_, *session_.messages);
        inicializar(doc_);
    });
    build_data_tabs();
    build_report_tabs();
    connect(top_tabs_, &QTabWidget::currentChanged, this, &MainWindow::top_tab_shown);

    // The catalogue windows, once, in their fixed order.
    Messages& messages = *session_.messages;
    community_ = new CommunityWindow(doc_.files_dir, messages, this);
    materials_ = new MaterialsEditor(doc_, messages, this);
    adding_ = new AddingItemsDialog(doc_.files_dir, this);
    wizard_ = new MaterialsWizard(this);
    materials_->set_dialogs(adding_, wizard_);
    components_ = new ComponentsEditor(doc_, messages, this);
    description_ = new ComponentDescriptionDialog(messages, this);
    components_->set_description_dialog(description_);
    benefits_ = new BenefitsWindow(doc_, messages, this);
    bill_editor_ = new BillEditor(doc_, messages, this);
    description_->set_bill_editor(bill_editor_);
    for (qt::GridView* v : {benefits_->view(), bill_editor_->view()})
        v->grid_model()->set_separators(doc_.decimal_separator, session_.group_separator);
    about_ = new qt::AboutDialog(
        this, "Budget", "1.0",
        "Budget is an application to calculate de costs  of water supply and sanitation projects\nOrvane");

    refresh_all();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::about_window() const { return about_; }

void MainWindow::build_menus() {
    auto add = [&](QMenu* menu, const QString& text, void (MainWindow::*slot)()) {
        QAction* a = menu->addAction(text);
        connect(a, &QAction::triggered, this, slot);
        actions_[text] = a;
        return a;
    };
    QMenu* file = menuBar()->addMenu("File");
    add(file, "New", &MainWindow::new_project);
    add(file, "Open", &MainWindow::open_project);
    add(file, "Save", &MainWindow::save_project);
    QAction* exit = file->addAction("Exit");
    connect(exit, &QAction::triggered, this, &QWidget::close);
    actions_["Exit"] = exit;
    QMenu* data = menuBar()->addMenu("Data");
    add(data, "Bill of Materials/labor/services", &MainWindow::open_materials_editor);
    add(data, "Components/works", &MainWindow::open_components_editor);
    add(data, "Bill of quantities per component", &MainWindow::open_bill_editor);
    add(data, "Skilled Labor Costs", &MainWindow::open_benefits_window);
    QMenu* reports = menuBar()->addMenu("Reports");
    add(reports, "Export Budget Report to Excel", &MainWindow::export_report);
    QMenu* help = menuBar()->addMenu("Help");
    QAction* help_page = help->addAction("Budget Help");
    connect(help_page, &QAction::triggered, this, [this] {
        if (session_.open_help) session_.open_help();
    });
    actions_["Budget Help"] = help_page;
    QAction* about = help->addAction("About Budget");
    connect(about, &QAction::triggered, this, [this] { about_->exec(); });
    actions_["About Budget"] = about;

    QToolBar* bar = addToolBar("Tools");
    bar->setMovable(false);
    auto button = [&](const QString& text, void (MainWindow::*slot)()) {
        auto* b = new QToolButton(bar);
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        connect(b, &QToolButton::clicked, this, slot);
        bar->addWidget(b);
        tool_buttons_[text] = b;
    };
    button("Open", &MainWindow::open_project);
    button("Save", &MainWindow::save_project);
    bar->addSeparator();
    button("Materials/labor prices and qualities", &MainWindow::open_materials_editor);
    button("Components/works", &MainWindow::open_components_editor);
    button("Bill of quantities per component", &MainWindow::open_bill_editor);
    button("Skilled Labor", &MainWindow::open_benefits_window);
}

qt::GridView* MainWindow::add_view(Grid& table) {
    auto* v = new qt::GridView(&table, this);
    v->grid_model()->set_separators(doc_.decimal_separator, session_.group_separator);
    views_[&table] = v;
    return v;
}

void MainWindow::build_data_tabs() {
    data_tabs_ = new QTabWidget(top_tabs_);
    top_tabs_->addTab(data_tabs_, "Initial Data");

    data_tabs_->addTab(add_view(doc_.SG1), "Project ID");
    data_tabs_->addTab(add_view(doc_.SG2), "System Components");
    qt::GridView* diameters = add_view(doc_.SG3);
    diameters->grid_model()->set_locked_text("-----");
    data_tabs_->addTab(diameters, "Diameters");
    data_tabs_->addTab(add_view(doc_.SG4), "Main Pipeline");
    data_tabs_->addTab(add_view(doc_.SG5), "Distribution Network");

    auto* transport_page = new QWidget(data_tabs_);
    auto* tl = new QHBoxLayout(transport_page);
    auto* left = new QVBoxLayout;
    left->addWidget(title_label("Community contribution", transport_page));
    qt::GridView* community = add_view(doc_.SG6);
    community->grid_model()->set_read_only(true);
    left->addWidget(community);
    modify_ = new QPushButton("Modify", transport_page);
    connect(modify_, &QPushButton::clicked, this, &MainWindow::modify_community_list);
    left->addWidget(modify_, 0, Qt::AlignLeft);
    auto* right = new QVBoxLayout;
    right->addWidget(title_label("Transportation", transport_page));
    right->addWidget(add_view(doc_.SG7));
    tl->addLayout(left, 2);
    tl->addLayout(right, 3);
    data_tabs_->addTab(transport_page, "Community contribution and Transportation");

    auto* others_page = new QWidget(data_tabs_);
    auto* ol = new QVBoxLayout(others_page);
    auto* tables = new QHBoxLayout;
    tables->addWidget(add_view(doc_.SG8), 1);
    tables->addWidget(add_view(doc_.SG9), 1);
    ol->addLayout(tables, 1);
    auto* others_row = new QHBoxLayout;
    others_row->addWidget(new QLabel("Specify Others:", others_page));
    others_ = new QLineEdit(others_page);
    others_row->addWidget(others_, 1);
    ol->addLayout(others_row);
    auto* tools_row = new QHBoxLayout;
    tools_row->addWidget(
        new QLabel("The tools cost will be considered as a percentage  of the materials cost as follows:", others_page));
    tools_ = new QLineEdit(others_page);
    tools_->setMaximumWidth(80);
    tools_row->addWidget(tools_);
    tools_row->addWidget(new QLabel("%", others_page));
    tools_row->addStretch(1);
    ol->addLayout(tools_row);
    data_tabs_->addTab(others_page, "Others");

    connect(others_, &QLineEdit::textEdited, this, [this](const QString& t) {
        doc_.others_description = t.toStdString();
        others_field_edited(doc_);
        update_save_state();
    });
    connect(tools_, &QLineEdit::textEdited, this, [this](const QString& t) {
        doc_.tools_percentage = t.toStdString();
        tools_field_edited(doc_);
        update_save_state();
    });

    for (Grid* g : {&doc_.SG1, &doc_.SG2, &doc_.SG3, &doc_.SG4, &doc_.SG5, &doc_.SG7, &doc_.SG8, &doc_.SG9}) {
        connect(views_[g], &qt::GridView::key_released, this,
                [this, g](int, int col, int row) { table_key_released(*g, col, row); });
    }
    connect(data_tabs_, &QTabWidget::currentChanged, this, &MainWindow::data_tab_shown);
}

void MainWindow::build_report_tabs() {
    auto* page = new QWidget(top_tabs_);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar(page);
    export_ = new QPushButton("Export to Excel", bar);
    connect(export_, &QPushButton::clicked, this, &MainWindow::export_report);
    bar->addWidget(export_);
    layout->addWidget(bar);
    report_tabs_ = new QTabWidget(page);
    layout->addWidget(report_tabs_);
    top_tabs_->addTab(page, "Reports");

    auto report_view = [&](Grid& g, std::initializer_list<int> money) {
        qt::GridView* v = add_view(g);
        v->grid_model()->set_read_only(true);
        for (int c : money) v->grid_model()->set_display_format(c, "%.2n");
        for (int c = 1; c < 12; ++c) v->grid_model()->set_right_aligned(c, true);
        return v;
    };
    report_tabs_->addTab(report_view(doc_.SG11, {3, 4, 6, 7, 9, 10, 11}), "Unit prices per component");

    auto* pipes = new QWidget(report_tabs_);
    auto* pl = new QVBoxLayout(pipes);
    auto* upper = new QWidget(pipes);
    auto* ul = new QVBoxLayout(upper);
    ul->setContentsMargins(0, 0, 0, 0);
    ul->addWidget(title_label("Main Pipeline", upper));
    ul->addWidget(report_view(doc_.SG12, {3, 4, 6, 7, 9, 10, 11}));
    auto* lower = new QWidget(pipes);
    auto* ll = new QVBoxLayout(lower);
    ll->setContentsMargins(0, 0, 0, 0);
    ll->addWidget(title_label("Distribution Network", lower));
    ll->addWidget(report_view(doc_.SG13, {3, 4, 6, 7, 9, 10, 11}));
    // The upper pane always takes half of the tab's height.
    pl->addWidget(upper, 1);
    pl->addWidget(lower, 1);
    report_tabs_->addTab(pipes, "Pipelines prices");

    report_tabs_->addTab(report_view(doc_.SG14, {2, 3, 4}), "Budget");
    report_tabs_->addTab(report_view(doc_.SG15, {1, 2, 3, 4}), "Funding");
    report_tabs_->addTab(report_view(doc_.SG16, {2, 3, 4}), "Bill per Component");
    report_tabs_->addTab(report_view(doc_.SG17, {}), "Bill of quantities");
}

qt::GridView* MainWindow::view(const Grid& table) const {
    auto it = views_.find(&table);
    return it == views_.end() ? nullptr : it->second;
}

QAction* MainWindow::action(const QString& text) const {
    auto it = actions_.find(text);
    return it == actions_.end() ? nullptr : it->second;
}

QToolButton* MainWindow::tool_button(const QString& text) const {
    auto it = tool_buttons_.find(text);
    return it == tool_buttons_.end() ? nullptr : it->second;
}

void MainWindow::table_key_released(const Grid& table, int col, int row) {
    ProjectTable which = ProjectTable::SG1;
    if (&table == &doc_.SG2) which = ProjectTable::SG2;
    else if (&table == &doc_.SG3) which = ProjectTable::SG3;
    else if (&table == &doc_.SG4) which = ProjectTable::SG4;
    else if (&table == &doc_.SG5) which = ProjectTable::SG5;
    else if (&table == &doc_.SG7) which = ProjectTable::SG7;
    else if (&table == &doc_.SG8) which = ProjectTable::SG8;
    else if (&table == &doc_.SG9) which = ProjectTable::SG9;
    run([&] { table_edited(doc_, which, col, row); });
    if (which == ProjectTable::SG2) {
        view(doc_.SG3)->refresh();
        widen(view(doc_.SG3), 2, 90);
    }
    if (which == ProjectTable::SG7 || which == ProjectTable::SG8) view(table)->refresh();
    update_save_state();
}

void MainWindow::data_tab_shown(int index) {
    if (data_tabs_->tabText(index) != "Community contribution and Transportation") return;
    run([&] { transport_tab_shown(doc_); });
    view(doc_.SG7)->refresh();
}

void MainWindow::top_tab_shown(int index) {
    if (top_tabs_->tabText(index) != "Reports") return;
    run([&] { reports_tab_shown(doc_); });
    refresh_report();
}

void MainWindow::refresh_report() {
    for (Grid* g : {&doc_.SG11, &doc_.SG12, &doc_.SG13, &doc_.SG14, &doc_.SG15, &doc_.SG16, &doc_.SG17}) {
        qt::GridView* v = view(*g);
        v->grid_model()->clear_cell_colors();
        for (int r : highlighted_rows(doc_, *g))
            for (int c = 0; c < g->col_count(); ++c) v->grid_model()->set_cell_color(c, r, kHighlight);
        v->refresh();
        if (g != &doc_.SG11 && g != &doc_.SG12 && g != &doc_.SG13) widen(v, 1, 110);
    }
}

void MainWindow::update_save_state() {
    actions_["Save"]->setEnabled(doc_.save_menu_enabled);
    tool_buttons_["Save"]->setEnabled(doc_.save_button_enabled);
}

void MainWindow::refresh_all() {
    for (auto& [grid, v] : views_) v->refresh();
    widen(view(doc_.SG3), 2, 90);
    widen(view(doc_.SG9), 1, 110);
    if (view(doc_.SG9)->columnWidth(0) < 180) view(doc_.SG9)->setColumnWidth(0, 180);
    refresh_report();
    others_->setText(QString::fromStdString(doc_.others_description));
    tools_->setText(QString::fromStdString(doc_.tools_percentage));
    update_save_state();
}

void MainWindow::new_project() {
    run([&] { condicionesiniciales(doc_, *session_.messages); });
    refresh_all();
}

void MainWindow::open_project() {
    run([&] { open_command(doc_, *session_.dialogs); });
    // An opening stopped by an unreadable file still leaves the flags of the
    // Open command: the report outdated, Save enabled, the project saved.
    doc_.report_outdated = true;
    doc_.save_button_enabled = doc_.save_menu_enabled = true;
    doc_.saved = true;
    refresh_all();
}

void MainWindow::save_project() {
    run([&] { save_command(doc_, *session_.dialogs); });
    update_save_state();
}

void MainWindow::export_report() {
    run([&] { budget::export_report(doc_, report_workbook_name(doc_), *session_.messages); });
}

void MainWindow::open_materials_editor() {
    materials_->exec();
}

void MainWindow::open_components_editor() {
    components_->exec();
    run([&] {
        if (close_components_editor(doc_, components_->table(), components_->changed(), *session_.messages))
            components_->set_changed(false);
    });
}

void MainWindow::open_bill_editor() { bill_editor_->exec(); }

void MainWindow::open_benefits_window() {
    benefits_->exec();
    run([&] { benefits_window_closed(doc_, benefits_->changed()); });
    refresh_report();
}

void MainWindow::modify_community_list() {
    community_->run();
    run([&] { community_list_closed(doc_, *session_.messages); });
    view(doc_.SG6)->refresh();
    update_save_state();
}

void MainWindow::check_component_bills() {
    if (checking_bills_) return;
    checking_bills_ = true;
    std::vector<int> enter;
    run([&] { enter = budget::check_component_bills(doc_, *session_.messages); });
    for (int i : enter) {
        size_t k = static_cast<size_t>(i);
        ComponentFields f{doc_.obra[k], doc_.ne[k],  doc_.ns[k],  doc_.nee[k],     doc_.nes[k],
                          doc_.nve[k],  doc_.nvs[k], doc_.ntee[k], doc_.archivo[k], doc_.unidad[k]};
        description_->open_component(f, true);
    }
    checking_bills_ = false;
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !session_.check_bills_on_activation) return;
    // The check's own question boxes give the activation back as they close;
    // that return is not a new activation, or a missing file would be asked
    // about again without end.
    if (last_check_.isValid() && last_check_.elapsed() < 500) return;
    QTimer::singleShot(0, this, [this] {
        if (!isActiveWindow() || QApplication::activeModalWidget()) return;
        check_component_bills();
        last_check_.start();
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    run([&] { close_command(doc_, *session_.dialogs, *session_.messages); });
    event->accept();
}

}  // namespace velmora::budget
