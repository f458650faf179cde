#include "kelvaro/ui/main_window.h"

#include "kelvaro/engine/design.h"
#include "kelvaro/engine/input_table.h"
#include "kelvaro/engine/options.h"
#include "kelvaro/engine/project_files.h"
#include "kelvaro/engine/results_export.h"
#include "kelvaro/ui/diameters_window.h"
#include "kelvaro/ui/options_window.h"
#include "kelvaro/ui/plan_view.h"
#include "kelvaro/ui/printing.h"
#include "kelvaro/ui/profile_view.h"
#include "kelvaro/ui/symbols.h"
#include "qtcommon/about_dialog.h"
#include "qtcommon/close_channel.h"
#include "qtcommon/print_dialog.h"
#include "qtcommon/qt_ports.h"
#include "qtcommon/survey_book_window.h"
#include "qtcommon/table_panel.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace velmora::kelvaro::ui {

const char* const kCaption = "Kelvaro-Orvane";

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

void set_text_kept(QLineEdit* edit, const std::string& text) {
    const QString t = qs(text);
    if (edit->text() != t) edit->setText(t);
}
}  // namespace

template <class F>
void MainWindow::guarded(F&& command) {
    try {
        command();
    } catch (const std::exception& e) {
        session_.messages->error(e.what());
    }
}

MainWindow::MainWindow(Document doc, Session session) : doc_(std::move(doc)), session_(std::move(session)) {
    setWindowTitle(kCaption);
    register_symbols();
    new qt::CloseListener(this, kCaption);

    build_menus_and_tools();

    // Project panel.
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    for (int i = 0; i < 3; ++i) {
        edits_[i] = new QLineEdit(panel);
        edits_[i]->setObjectName(QString("Edit%1").arg(i + 1));
    }
    edits_[0]->setMinimumWidth(260);
    edits_[1]->setFixedWidth(70);
    edits_[2]->setFixedWidth(70);
    row->addWidget(new QLabel("Project:", panel));
    row->addWidget(edits_[0], 2);
    row->addSpacing(20);
    row->addWidget(new QLabel("Min Residual Pressure:", panel));
    row->addWidget(edits_[1]);
    row->addSpacing(20);
    auto* unit_flow = new QLabel("Unit flow in nodes\n[Q/household]", panel);
    row->addWidget(unit_flow);
    row->addWidget(edits_[2]);
    row->addStretch(1);
    connect(edits_[0], &QLineEdit::textEdited, this, [this](const QString& t) { doc_.Edit1 = t.toStdString(); });
    edits_[1]->installEventFilter(this);
    edits_[2]->installEventFilter(this);

    tabs_ = new QTabWidget(this);
    tabs_->addTab(build_data_tab(), "Data/Drawing");
    tabs_->addTab(build_results_tab(), "Spreadsheet");
    tabs_->addTab(build_profiles_tab(), "Profiles");
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::tab_changed);

    // Progress of "To Calculate" and its status text, under the tabs.
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setFixedWidth(300);
    progress_->hide();
    status_text_ = new QLabel(this);
    connect(profile_, &ProfileView::drawing_failed, status_text_, &QLabel::setText);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_);
    bottom->addWidget(status_text_, 1);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(panel);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);
    setCentralWidget(central);

    // The status bar of the profiles: four panels, shown on that tab only.
    const int widths[4] = {220, 160, 240, 150};
    for (int i = 0; i < 4; ++i) {
        panels_[static_cast<size_t>(i)] = new QLabel(this);
        panels_[static_cast<size_t>(i)]->setMinimumWidth(widths[i]);
        statusBar()->addWidget(panels_[static_cast<size_t>(i)]);
    }
    statusBar()->hide();

    // The other windows, created once, in their order.
    diameters_ = new DiametersWindow(&doc_, this);
    options_ = new OptionsWindow(&doc_, session_.messages, diameters_, this);
    about_ = new qt::AboutDialog(this, "Kelvaro", "1.0",
                                 "Kelvaro is a simulator to design distribution networks<br>Velmora<br>"
                                 "<a href=\"https://velmora.org\">https://velmora.org</a>");
    printing_ = new qt::PrintDialog(this, "Graph");
    survey_ = new qt::SurveyBookWindow(terrain::Designer::Kelvaro, *session_.messages, *session_.dialogs,
                                       session_.clipboard ? *session_.clipboard : own_clipboard_, this);
    survey_->book().dialog_dir = doc_.carpetaproyectos;
    connect(survey_, &qt::SurveyBookWindow::survey_exported, this,
            [this](const Grid&, terrain::SurveyView) { import_survey(survey_->book()); });

    permitir(doc_, false);
    doc_.calculate_enabled = false;
    doc_.delete_sections_enabled = false;
    doc_.print_enabled = false;
    resize(1280, 800);
    becoming_active();
}

MainWindow::~MainWindow() = default;

void MainWindow::build_menus_and_tools() {
    auto add = [this](QMenu* menu, const QString& text, auto slot) {
        QAction* a = menu->addAction(text);
        connect(a, &QAction::triggered, this, slot);
        actions_ << a;
        return a;
    };
    QMenu* file = menuBar()->addMenu("File");
    add(file, "New", &MainWindow::new_project);
    add(file, "Open", &MainWindow::open_project);
    add(file, "Exit", &QWidget::close);
    QMenu* pipes = menuBar()->addMenu("Pipes");
    add(pipes, "List of Diameters", &MainWindow::open_diameters);
    QMenu* settings = menuBar()->addMenu("Settings");
    QAction* options = settings->addAction("Options");
    connect(options, &QAction::triggered, this, [this] { open_options(-1); });
    actions_ << options;
    QMenu* help = menuBar()->addMenu("Help");
    add(help, "Kelvaro Help", &MainWindow::open_help);
    add(help, "About Kelvaro", &MainWindow::open_about);

    QToolBar* bar = addToolBar("Tools");
    bar->setMovable(false);
    auto tool = [&](const QString& hint, QStyle::StandardPixmap icon, auto slot) {
        QAction* a = bar->addAction(style()->standardIcon(icon), hint);
        a->setToolTip(hint);
        connect(a, &QAction::triggered, this, slot);
        actions_ << a;
        return a;
    };
    tool("Open a Kelvaro File", QStyle::SP_DialogOpenButton, &MainWindow::open_project);
    tool("Save a Kelvaro File", QStyle::SP_DialogSaveButton, &MainWindow::save_project);
    tool("Print the Spreadsheet", QStyle::SP_FileDialogDetailedView, &MainWindow::print_spreadsheet);
    tool("Available Diameters", QStyle::SP_FileDialogListView, &MainWindow::open_diameters);
}

QWidget* MainWindow::build_data_tab() {
    auto* tab = new QWidget(this);
    plan_ = new PlanView(&doc_, session_.messages, tab);
    connect(plan_, &PlanView::survey_book_requested, this, &MainWindow::open_survey_book);
    connect(plan_, &PlanView::edited, this, &MainWindow::sync);

    input_view_ = new qt::GridView(&doc_.ZCSG4, tab);
    input_view_->setMinimumWidth(520);
    connect(input_view_, &qt::GridView::current_changed, this, [this](int c, int r) {
        doc_.current_col = c;
        doc_.current_row = r;
    });
    connect(input_view_, &qt::GridView::key_released, this, [this](int, int c, int r) {
        if (c < 0 || r < 0) return;
        doc_.current_col = c;
        doc_.current_row = r;
        guarded([&] { key_released(doc_); });
        sync();
    });
    qt::TablePanel right = qt::make_table_panel(
        input_view_,
        {.calculate = [this] { to_calculate(); },
         .add_row =
             [this] {
                 add_row(doc_);
                 sync();
             },
         .insert_row =
             [this] {
                 insert_row(doc_);
                 sync();
             },
         .delete_row =
             [this] {
                 delete_row(doc_);
                 sync();
             },
         .paste = [this] { paste(); }},
        tab);
    buttons_ << right.buttons;

    auto* split = new QSplitter(Qt::Horizontal, tab);
    split->addWidget(plan_);
    split->addWidget(right.widget);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(split);
    return tab;
}

QWidget* MainWindow::build_results_tab() {
    auto* tab = new QWidget(this);
    auto* title = new QLabel("Pipes Design", tab);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    results_view_ = new qt::GridView(&doc_.ZCSG5, tab);
    results_view_->grid_model()->set_read_only(true);
    results_view_->set_widen_to_fit(qt::GridView::Fit::Headers);
    nodes_view_ = new qt::GridView(&doc_.ZCSG6, tab);
    nodes_view_->grid_model()->set_read_only(true);
    nodes_view_->set_widen_to_fit(qt::GridView::Fit::Headers);
    nodes_view_->hide();
    auto* export_button = new QPushButton("Export to EXCEL", tab);
    connect(export_button, &QPushButton::clicked, this, &MainWindow::export_to_excel);
    buttons_ << export_button;
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    bar->addWidget(export_button);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(title);
    layout->addWidget(results_view_, 1);
    layout->addWidget(nodes_view_);
    layout->addLayout(bar);
    return tab;
}

QWidget* MainWindow::build_profiles_tab() {
    auto* tab = new QWidget(this);
    grid_toggle_ = new QPushButton("Hide Grid", tab);
    buttons_ << grid_toggle_;
    grid_at_ = new QSpinBox(tab);
    grid_at_->setRange(1, 20);
    grid_at_->setValue(10);
    auto* controls = new QHBoxLayout;
    controls->addWidget(grid_toggle_);
    controls->addSpacing(20);
    controls->addWidget(new QLabel("Grid at", tab));
    controls->addWidget(grid_at_);
    controls->addWidget(new QLabel("M", tab));
    controls->addStretch(1);

    profile_ = new ProfileView(&doc_, tab);
    auto* scroll = new QScrollArea(tab);
    scroll->setWidgetResizable(true);
    scroll->setWidget(profile_);
    connect(grid_toggle_, &QPushButton::clicked, this, [this] {
        profile_->options.showgrid = !profile_->options.showgrid;
        grid_toggle_->setText(profile_->options.showgrid ? "Hide Grid" : "Show Grid");
        profile_->update();
    });
    connect(grid_at_, &QSpinBox::valueChanged, this, [this](int v) {
        profile_->options.grid_at = std::to_string(v);
        profile_->update();
    });
    connect(profile_, &ProfileView::panels_changed, this, [this](const std::array<std::string, 4>& panels) {
        for (size_t i = 0; i < 4; ++i) panels_[i]->setText(qs(panels[i]));
    });
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(controls);
    layout->addWidget(scroll, 1);
    return tab;
}

QLineEdit* MainWindow::edit(int n) const { return n >= 1 && n <= 3 ? edits_[n - 1] : nullptr; }

QPushButton* MainWindow::button(const QString& caption) const {
    for (QPushButton* b : buttons_)
        if (b->text() == caption) return b;
    return nullptr;
}

QAction* MainWindow::action(const QString& text_or_hint) const {
    for (QAction* a : actions_)
        if (a->text() == text_or_hint || a->toolTip() == text_or_hint) return a;
    return nullptr;
}

// Shows what the document holds now.
void MainWindow::sync() {
    for (int i = 0; i < 3; ++i) set_text_kept(edits_[i], i == 0 ? doc_.Edit1 : i == 1 ? doc_.Edit2 : doc_.Edit3);
    input_view_->refresh();
    results_view_->refresh();
    nodes_view_->refresh();
    button("To Calculate")->setEnabled(doc_.calculate_enabled);
    action("Print the Spreadsheet")->setEnabled(doc_.print_enabled);
    plan_->sync();
    profile_->perfiles = doc_.profiles_enabled;
    profile_->update();
    show_tab(doc_.current_tab);
}

void MainWindow::show_tab(int index) {
    if (tabs_->currentIndex() == index) return;
    switching_ = true;
    tabs_->setCurrentIndex(index);
    switching_ = false;
    shown_tab_ = index;
    statusBar()->setVisible(index == 2);
}

// The tabs refuse to change until a calculation has run.
void MainWindow::tab_changed(int index) {
    if (switching_) return;
    if (!doc_.mostrarcalculos && index != shown_tab_) {
        show_tab(shown_tab_);
        return;
    }
    shown_tab_ = index;
    doc_.current_tab = index;
    statusBar()->setVisible(index == 2);
}

void MainWindow::becoming_active() {
    options_->show_page(0);
    guarded([&] { kelvaro::becoming_active(doc_); });
    plan_->editor().becoming_active();
    diameters_->refill();
    sync();
}

void MainWindow::project_box_key(int box) {
    project_box_key_released(doc_, box, *session_.messages);
    sync();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const int box = watched == edits_[1] ? 2 : watched == edits_[2] ? 3 : 0;
    if (box != 0) {
        if (event->type() == QEvent::KeyRelease) {
            project_box_key(box);
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            if (box == 2) {
                open_options(1);
            } else {
                open_options(2);
                after_unit_flow_options(doc_, options_->editor(), *session_.messages);
                sync();
            }
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::to_calculate() {
    progress_->setValue(0);
    progress_->show();
    qt::QtProgress progress(progress_, [this](const QString& s) { status_text_->setText(s); });
    guarded([&] { kelvaro::to_calculate(doc_, *session_.messages, progress); });
    progress_->hide();
    sync();
}

void MainWindow::new_project() {
    guarded([&] { new_command(doc_, *session_.dialogs, *session_.messages); });
    sync();
}

void MainWindow::open_project() {
    guarded([&] { open_command(doc_, *session_.dialogs, *session_.messages); });
    plan_->editor().project_opened();
    sync();
}

void MainWindow::save_project() {
    guarded([&] { save_command(doc_, *session_.dialogs, *session_.messages); });
    sync();
}

void MainWindow::print_spreadsheet() {
    const bool proceed = printing_->ask();
    becoming_active();  // one of the program's windows closed
    if (!proceed) return;
    print_to(*printing_->printer(), printing_->prints_graph(), printing_->prints_table());
}

int MainWindow::print_to(QPrinter& printer, bool drawings, bool table) {
    PrintRequest request;
    request.drawings = drawings;
    request.table = table;
    request.profile_area = profile_->size();
    request.profile_options = profile_->options;
    request.screen_dpi_x = logicalDpiX();
    request.screen_dpi_y = logicalDpiY();
    request.plan_editor = &plan_->editor();
    int printed = 0;
    guarded([&] { printed = print_results(printer, doc_, request); });
    return printed;
}

void MainWindow::export_to_excel() {
    guarded([&] { export_command(doc_, *session_.dialogs, *session_.messages); });
}

void MainWindow::paste() {
    const qt::GridView::Block block = input_view_->selection_block();
    if (block.left < 0 || block.top < 0) return;
    const std::string text = session_.clipboard ? session_.clipboard->text() : std::string();
    kelvaro::paste(doc_, text, block.left, block.top);
    sync();
}

void MainWindow::open_options(int page) {
    if (page >= 0) options_->show_page(page);
    options_->fill();
    options_->exec();
    becoming_active();
}

void MainWindow::open_diameters() {
    diameters_->exec();
    becoming_active();
}

void MainWindow::open_help() {
    const QString file = qs((doc_.carpetadatos / "Kelvaro Help.html").string());
    if (session_.open_help) session_.open_help(file);
}

void MainWindow::open_about() {
    about_->exec();
    becoming_active();
}

void MainWindow::open_survey_book() {
    survey_->book().dialog_dir = doc_.carpetaproyectos;
    survey_->run();
    becoming_active();  // one of the program's windows closed
}

void MainWindow::import_survey(const terrain::SurveyBook& book) {
    // The last file the program read or wrote: the survey book's when it
    // read or wrote one, else the project's.
    const std::filesystem::path last = book.last_file().empty() ? doc_.last_file : book.last_file();
    const QSize client = plan_->panel()->client_size();
    bool imported = false;
    guarded([&] {
        imported = plan_->editor().import_survey(book, PlanArea{client.width(), client.height()}, last,
                                                 *session_.dialogs);
    });
    if (imported) {
        progress_->setValue(0);
        progress_->hide();
        status_text_->clear();
    }
    sync();
}

void MainWindow::wheelEvent(QWheelEvent* event) {
    const int dy = event->angleDelta().y();
    if (tabs_->currentIndex() != 0 || dy == 0) {
        QMainWindow::wheelEvent(event);
        return;
    }
    plan_->window_wheel(dy > 0);
    event->accept();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    guarded([&] { close_command(doc_, *session_.dialogs, *session_.messages); });
    event->accept();
}

}  // namespace velmora::kelvaro::ui
