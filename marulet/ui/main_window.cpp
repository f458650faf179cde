#include "marulet/ui/main_window.h"

#include "marulet/engine/calculation.h"
#include "marulet/engine/pipe_table.h"
#include "marulet/engine/plan_editor.h"
#include "marulet/engine/profile_drawing.h"
#include "marulet/engine/project_files.h"
#include "marulet/engine/reference_files.h"
#include "marulet/engine/results_export.h"
#include "marulet/engine/results_print.h"
#include "marulet/ui/diameters_window.h"
#include "marulet/ui/options_window.h"
#include "marulet/ui/plan_view.h"
#include "marulet/ui/profile_view.h"
#include "qtcommon/about_dialog.h"
#include "qtcommon/close_channel.h"
#include "qtcommon/print_dialog.h"
#include "qtcommon/qt_canvas.h"
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
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QWheelEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora::marulet::ui {

const char* const kCaption = "Marulet-Orvane";

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

int index_of(const std::vector<std::string>& list, const std::string& item) {
    auto it = std::find(list.begin(), list.end(), item);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}
}  // namespace

template <class F>
bool MainWindow::guarded(F&& command) {
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        session_.messages->error(e.what());
        return false;
    }
}

MainWindow::MainWindow(Document doc, Session session)
    : doc_(std::move(doc)), session_(std::move(session)) {
    setWindowTitle(kCaption);
    new qt::CloseListener(this, kCaption);
    editor_ = std::make_unique<PlanEditor>(doc_, *session_.messages);

    build_menus_and_tools();

    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    project_ = new QLineEdit(panel);
    project_->setMinimumWidth(320);
    row->addWidget(new QLabel("Project:", panel));
    row->addWidget(project_);
    row->addStretch(1);
    connect(project_, &QLineEdit::textEdited, this, [this](const QString& t) { doc_.project_name = t.toStdString(); });

    tabs_ = new QTabWidget(this);
    tabs_->addTab(build_data_tab(), "Data/Drawing");
    tabs_->addTab(build_results_tab(), "Spreadsheet");
    tabs_->addTab(build_profiles_tab(), "Profiles");
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::tab_changed);

    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setFixedWidth(300);
    progress_->hide();
    status_text_ = new QLabel(this);
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

    // The profile readout: four panels, shown on the Profiles tab only.
    const int widths[4] = {220, 200, 200, 200};
    for (int i = 0; i < 4; ++i) {
        panels_[static_cast<size_t>(i)] = new QLabel(this);
        panels_[static_cast<size_t>(i)]->setMinimumWidth(widths[i]);
        statusBar()->addWidget(panels_[static_cast<size_t>(i)]);
    }
    statusBar()->hide();

    // The other windows, created once, in their order.
    options_ = new OptionsWindow(&doc_, session_.messages, session_.database_dir, this);
    about_ = new qt::AboutDialog(this, "Marulet", "1.0",
                                 "Marulet is a simulator to design sewer networks<br>Velmora<br>"
                                 "<a href=\"https://velmora.org\">https://velmora.org</a>");
    printing_ = new qt::PrintDialog(this, "Graphs");
    survey_ = new qt::SurveyBookWindow(terrain::Designer::Marulet, *session_.messages, *session_.dialogs,
                                       *session_.clipboard, this);
    connect(survey_, &qt::SurveyBookWindow::survey_exported, this,
            [this](const Grid& survey, terrain::SurveyView view) { survey_exported(survey, static_cast<int>(view)); });
    diameters_ = new DiametersWindow(&doc_, this);

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
    add(file, "Save as", &MainWindow::save_project_as);
    add(file, "Exit", &QWidget::close);
    QMenu* settings = menuBar()->addMenu("Settings");
    add(settings, "Options", &MainWindow::open_options);
    QMenu* help = menuBar()->addMenu("Help");
    add(help, "Marulet Help", &MainWindow::open_help);
    add(help, "About Marulet", &MainWindow::open_about);

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
    // The catalogue button has no caption of its own.
    QAction* catalogue = tool("Diameters", QStyle::SP_FileDialogListView, &MainWindow::open_diameters);
    catalogue->setToolTip(QString());
}

QWidget* MainWindow::build_data_tab() {
    auto* tab = new QWidget(this);
    plan_ = new PlanView(&doc_, editor_.get(), session_.messages, tab);
    editor_->set_repaint_callback([this] { plan_->canvas()->repaint(); });
    connect(plan_, &PlanView::survey_book_requested, this, &MainWindow::open_survey_book);
    connect(plan_, &PlanView::edited, this, &MainWindow::sync);

    pipe_view_ = new qt::GridView(&doc_.SG4, tab);
    pipe_view_->setMinimumWidth(560);
    // Reals show with two decimals; the cells keep what was typed.
    for (int c : {kLength, kGroundFrom, kGroundTo}) pipe_view_->grid_model()->set_display_format(c, "%.2f");
    connect(pipe_view_, &qt::GridView::current_changed, this, [this](int c, int r) {
        if (c < 0 || r < 0) return;
        select_cell(doc_, c, r);
    });
    connect(pipe_view_, &qt::GridView::key_released, this, [this](int, int c, int r) {
        if (c < 0 || r < 0) return;
        doc_.selected_col = c;
        doc_.selected_row = r;
        guarded([&] { key_released(doc_); });
        sync();
    });
    connect(pipe_view_, &qt::GridView::cell_edited, this, [this](int c, int r, const QString& text) {
        if (c != kMaterial && c != kNominalInch && c != kNominalMm) return;
        select_cell(doc_, c, r);
        const std::vector<std::string>& list =
            c == kMaterial ? doc_.materiallist : c == kNominalInch ? doc_.dplglist : doc_.dmmlist;
        choose_item(doc_, c, index_of(list, text.toStdString()));
        select_cell(doc_, c, r);  // a new material offers its own diameters
        sync();
    });
    qt::TablePanel right = qt::make_table_panel(
        pipe_view_,
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
    view_current_ = new QRadioButton("At the Begining of the Period", tab);
    view_future_ = new QRadioButton("At the End of the Designing Period", tab);
    view_current_->setChecked(true);
    connect(view_current_, &QRadioButton::clicked, this, [this] { show_view(false); });
    connect(view_future_, &QRadioButton::clicked, this, [this] { show_view(true); });
    auto* views = new QHBoxLayout;
    views->addWidget(view_current_);
    views->addWidget(view_future_);
    views->addStretch(1);
    results_view_ = new qt::GridView(&doc_.ZCSG5, tab);
    results_view_->grid_model()->set_read_only(true);
    results_view_->set_widen_to_fit(qt::GridView::Fit::Everything);
    auto* export_button = new QPushButton("Export to EXCEL", tab);
    connect(export_button, &QPushButton::clicked, this, &MainWindow::export_to_excel);
    buttons_ << export_button;
    views->addWidget(export_button);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(views);
    layout->addWidget(results_view_, 1);
    return tab;
}

QWidget* MainWindow::build_profiles_tab() {
    auto* tab = new QWidget(this);
    grid_toggle_ = new QPushButton("Hide Grid", tab);
    buttons_ << grid_toggle_;
    auto* controls = new QHBoxLayout;
    controls->addWidget(grid_toggle_);
    controls->addStretch(1);
    profile_ = new ProfileView(&doc_, tab);
    connect(grid_toggle_, &QPushButton::clicked, this, [this] {
        profile_->showgrid = !profile_->showgrid;
        grid_toggle_->setText(profile_->showgrid ? "Hide Grid" : "Show Grid");
        profile_->update();
    });
    connect(profile_, &ProfileView::panels_changed, this, [this](const std::array<std::string, 4>& panels) {
        for (size_t i = 0; i < 4; ++i) panels_[i]->setText(qs(panels[i]));
    });
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(controls);
    layout->addWidget(profile_, 1);
    return tab;
}

QAbstractButton* MainWindow::button(const QString& caption) const {
    for (QPushButton* b : buttons_)
        if (b->text() == caption || b->toolTip() == caption) return b;
    return plan_->tool(caption);
}

QSlider* MainWindow::zoom_bar() const { return plan_->panel()->zoom_bar(); }

QAction* MainWindow::action(const QString& text_or_hint) const {
    for (QAction* a : actions_)
        if (a->text() == text_or_hint || (!a->toolTip().isEmpty() && a->toolTip() == text_or_hint)) return a;
    return nullptr;
}

void MainWindow::sync() {
    if (project_->text() != qs(doc_.project_name)) project_->setText(qs(doc_.project_name));
    pipe_view_->refresh();
    results_view_->refresh();
    button("To Calculate")->setEnabled(doc_.calcular_enabled);
    action("Print the Spreadsheet")->setEnabled(doc_.print_enabled);
    if (doc_.progress_counter == 0 && !doc_.calcular_enabled) progress_->hide();
    plan_->sync();
    profile_->update();
    if (!doc_.mostrarresultados && shown_tab_ != 0) show_tab(0);
}

void MainWindow::show_tab(int index) {
    shown_tab_ = index;
    switching_ = true;
    tabs_->setCurrentIndex(index);
    switching_ = false;
    statusBar()->setVisible(index == 2);
}

// The results tabs refuse to open until a calculation has run.
void MainWindow::tab_changed(int index) {
    if (switching_) return;
    if (!doc_.mostrarresultados && index != 0) {
        show_tab(shown_tab_);
        return;
    }
    shown_tab_ = index;
    statusBar()->setVisible(index == 2);
}

void MainWindow::becoming_active() {
    guarded([&] { load_reference_data(doc_, session_.database_dir); });
    editor_->becoming_active();
    diameters_->refill();
    sync();
}

void MainWindow::to_calculate() {
    progress_->setValue(0);
    progress_->show();
    qt::QtProgress progress(progress_, [this](const QString& s) { status_text_->setText(s); });
    Outcome outcome = Outcome::Stopped;
    guarded([&] { outcome = calcular(doc_, *session_.messages, progress); });
    if (outcome == Outcome::Done || outcome == Outcome::Incomplete) {
        progress_->hide();
        view_current_->setChecked(doc_.view == View::Current);
        view_future_->setChecked(doc_.view == View::Future);
        sync();
        show_tab(1);
        return;
    }
    sync();
}

void MainWindow::show_view(bool future) {
    NullProgress progress;
    guarded([&] { future ? view_future(doc_, *session_.messages, progress) : view_current(doc_, *session_.messages, progress); });
    sync();
}

void MainWindow::new_project() {
    guarded([&] { new_command(doc_, *session_.messages, *session_.dialogs, session_.projects_dir); });
    editor_->plan_replaced();
    sync();
}

void MainWindow::open_project() {
    guarded([&] {
        if (open_command(doc_, *session_.messages, *session_.dialogs, session_.projects_dir))
            editor_->plan_replaced();
    });
    sync();
    if (!doc_.mostrarresultados || tabs_->currentIndex() != 0) show_tab(0);
}

void MainWindow::save_project() {
    guarded([&] { save_command(doc_, *session_.messages, *session_.dialogs, session_.projects_dir); });
    sync();
}

void MainWindow::save_project_as() {
    guarded([&] { save_as_command(doc_, *session_.messages, *session_.dialogs, session_.projects_dir); });
    sync();
}

void MainWindow::print_spreadsheet() {
    const bool proceed = printing_->ask();
    becoming_active();
    if (!proceed) return;
    print_to(*printing_->printer(), printing_->prints_graph(), printing_->prints_table());
}

int MainWindow::print_to(QPrinter& printer, bool graphs, bool table) {
    printer.setPageOrientation(QPageLayout::Landscape);
    const std::string title = doc_.project_file.string();
    printer.setDocName(qs(title));
    const int ax = print_scale(printer.resolution(), logicalDpiX());
    const int ay = print_scale(printer.resolution(), logicalDpiY());
    const DrawingScales scales = drawing_scales(ax, ay);
    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    qt::QtCanvas canvas(&painter, printer.resolution());
    int printed = 0;
    auto next_page = [&] {
        if (printed++ > 0) printer.newPage();
    };
    guarded([&] {
        if (graphs) {
            next_page();
            trazargrafica(*editor_, doc_, canvas, scales.plan_x, scales.plan_y);
            next_page();
            dibujarperfiles(doc_, canvas, scales.profile_x, scales.profile_y, profile_->width(), profile_->height(),
                            profile_->showgrid);
        }
        if (table) {
            NullProgress progress;
            view_future(doc_, *session_.messages, progress);
            next_page();
            print_results_table(doc_, canvas, title + " --- Future situation");
            view_current(doc_, *session_.messages, progress);
            next_page();
            print_results_table(doc_, canvas, title + " --- Current situation");
            view_current_->setChecked(true);
        }
    });
    painter.end();
    sync();
    return printed;
}

void MainWindow::export_to_excel() {
    guarded([&] { export_command(doc_, *session_.messages, *session_.dialogs, session_.projects_dir); });
}

void MainWindow::paste() {
    const qt::GridView::Block block = pipe_view_->selection_block();
    if (block.left < 0 || block.top < 0) return;
    const std::string text = session_.clipboard ? session_.clipboard->text() : std::string();
    marulet::paste(doc_, text, block.left, block.top);
    sync();
}

void MainWindow::open_options() {
    options_->fill();
    options_->exec();
    if (options_->changed_on_close()) ocultarcolumnas(doc_);
    becoming_active();
}

void MainWindow::open_diameters() {
    diameters_->exec();
    becoming_active();
}

void MainWindow::open_help() {
    const QString file = qs((session_.database_dir / "Marulet Help.html").string());
    if (session_.open_help) session_.open_help(file);
}

void MainWindow::open_about() {
    about_->exec();
    becoming_active();
}

void MainWindow::open_survey_book() {
    survey_->run();
    becoming_active();
}

void MainWindow::survey_exported(const Grid& survey, int view) {
    const QSize client = plan_->panel()->client_size();
    const terrain::PlanArea area{client.width(), client.height()};
    guarded([&] { editor_->import_survey(survey, static_cast<terrain::SurveyView>(view), area); });
    sync();
    show_tab(0);
}

void MainWindow::wheelEvent(QWheelEvent* event) {
    if (event->angleDelta().y() == 0) return;
    plan_->window_wheel(event->angleDelta().y() > 0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    guarded([&] { close_command(doc_, *session_.messages, *session_.dialogs, session_.projects_dir); });
    event->accept();
}

}  // namespace velmora::marulet::ui
