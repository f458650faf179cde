#include "tosquin/ui/main_window.h"

#include "common/errors.h"
#include "common/numtext.h"
#include "qtcommon/about_dialog.h"
#include "qtcommon/print_dialog.h"
#include "qtcommon/qt_canvas.h"
#include "qtcommon/qt_ports.h"
#include "tosquin/engine/design.h"
#include "tosquin/engine/graph.h"
#include "tosquin/engine/predetermined.h"
#include "tosquin/engine/profile.h"
#include "tosquin/engine/project_files.h"
#include "tosquin/engine/reference_files.h"
#include "tosquin/engine/sheet_output.h"
#include "tosquin/engine/survey.h"
#include "tosquin/ui/dialogs.h"
#include "tosquin/ui/graph_widget.h"
#include "tosquin/ui/symbols.h"

#include <QAction>
#include <QBoxLayout>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace velmora::tosquin::ui {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// Stretch rows (a number greater than 0 in column 1) right-aligned on one
// line; section rows as ordinary text.
class SheetDelegate : public QStyledItemDelegate {
public:
    SheetDelegate(const Grid& sheet, QObject* parent) : QStyledItemDelegate(parent), sheet_(sheet) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const int row = index.row();
        const bool stretch = row >= 1 && row < sheet_.row_count() && numtext::read_lenient(sheet_(1, row)) > 0;
        option->displayAlignment = (stretch ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }

private:
    const Grid& sheet_;
};

// The three row buttons under the station table: "Delete" in the middle,
// "Insert" 160 pixels to its left and "Add" 160 pixels to its right.
class RowButtons : public QWidget {
public:
    explicit RowButtons(QWidget* parent) : QWidget(parent) {
        for (const char* caption : {"Insert", "Delete", "Add"}) {
            auto* b = new QPushButton(caption, this);
            b->setObjectName(caption);
            b->resize(100, 28);
            buttons_.push_back(b);
        }
        setMinimumHeight(36);
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        const int centre = width() / 2;
        for (int i = 0; i < 3; ++i) {
            QPushButton* b = buttons_[static_cast<size_t>(i)];
            b->move(centre + (i - 1) * 160 - b->width() / 2, 4);
        }
    }

private:
    std::vector<QPushButton*> buttons_;
};

Key key_kind(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return Key::Digit;
    switch (key) {
        case Qt::Key_Period: return Key::Dot;
        case Qt::Key_Backspace: return Key::Backspace;
        // Arrows, and the keys that move or end an edit or only modify
        // another key, leave the cell as it is.
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta:
        case Qt::Key_AltGr:
        case Qt::Key_CapsLock: return Key::Arrow;
        default: return Key::Other;
    }
}

// An editor open on the current cell shows what the command left there.
void sync_editor(qt::GridView* view) {
    auto* editor = qobject_cast<QLineEdit*>(view->focusWidget());
    if (!editor || !view->isAncestorOf(editor)) return;
    const QString text = QString::fromStdString(view->grid()->cell(view->current_col(), view->current_row()));
    if (editor->text() != text) editor->setText(text);
}

bool paste_chord(int key) {
    return key == Qt::Key_V && (QApplication::keyboardModifiers() & Qt::ControlModifier);
}

}  // namespace

template <typename F>
bool MainWindow::guarded(F&& f) {
    try {
        f();
        return true;
    } catch (const FileError& e) {
        messages_.error(e.what());
    } catch (const ConversionError& e) {
        messages_.error(e.what());
    } catch (const CommandError& e) {
        messages_.error(e.what());
    }
    return false;
}

MainWindow::MainWindow(const Folders& folders, std::filesystem::path help_file, Ports ports, QWidget* parent)
    : QMainWindow(parent),
      own_messages_(ports.messages ? nullptr : std::make_unique<qt::QtMessages>(this, "Tosquin")),
      own_dialogs_(ports.dialogs ? nullptr : std::make_unique<qt::QtFileDialogs>(this)),
      own_clipboard_(ports.clipboard ? nullptr : std::make_unique<qt::QtClipboard>()),
      messages_(ports.messages ? *ports.messages : *own_messages_),
      dialogs_(ports.dialogs ? *ports.dialogs : *own_dialogs_),
      clipboard_(ports.clipboard ? *ports.clipboard : *own_clipboard_),
      help_file_(std::move(help_file)),
      open_url_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setWindowTitle(kCaption);
    register_symbols();
    doc_.carpetadatos = folders.database_dir(Program::Tosquin);
    doc_.carpetaproyectos = folders.projects_dir(Program::Tosquin);

    tabs_ = new QTabWidget(this);
    tabs_->addTab(build_graph_tab(), "Main Pipeline");
    tabs_->addTab(build_sheet_tab(), "Spreadsheet");
    tabs_->addTab(build_data_tab(), "Data");
    setCentralWidget(tabs_);
    build_menus();

    // The dialogs, once, in the program's order.
    catalogue_ = new CatalogueDialog(doc_, messages_, this);
    working_pressure_ = new WorkingPressureDialog(this);
    predetermined_diameters_ = new PredeterminedDiametersDialog(doc_, messages_, this);
    predetermined_sections_ = new PredeterminedSectionsDialog(doc_, messages_, this);
    print_dialog_ = new qt::PrintDialog(this, "Graph");
    options_ = new OptionsDialog(doc_, messages_, *working_pressure_, this);
    about_ = new qt::AboutDialog(this, "Tosquin", "1.0",
                                 "Tosquin is a simulator to design main pipelines<br><br>Orvane");
    if (auto* box = qobject_cast<QBoxLayout*>(about_->layout())) {
        auto* picture = new QLabel(about_);
        picture->setPixmap(about_picture());
        box->insertWidget(0, picture, 0, Qt::AlignHCenter);
    }

    // Start-up: the reference files, then the empty project on the "Data" tab.
    activated();
    guarded([&] { nuevoproyecto(doc_); });
    tabs_->setCurrentIndex(kData);
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::tab_changed);
    refresh_all();
    resize(1200, 800);
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::build_graph_tab() {
    auto* page = new QWidget(this);
    graph_tools_ = new QToolBar(page);
    graph_tools_->setIconSize(QSize(24, 24));
    auto add = [&](const QString& hint, const QIcon& icon, auto slot) {
        QAction* a = graph_tools_->addAction(icon, hint);
        a->setObjectName(hint);
        a->setToolTip(hint);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add("Exit from the current project", style()->standardIcon(QStyle::SP_DialogCloseButton),
        [this] { exit_project(); });
    add("Restart the design", style()->standardIcon(QStyle::SP_BrowserReload), [this] { restart(); });
    auto mode = [&](const QString& hint, GraphCursor cursor, EditMode m) {
        add(hint, QIcon(cursor_pixmap(cursor)), [this, m] { graph_->set_mode(m); });
    };
    mode("Erase", GraphCursor::Erase, EditMode::Erase);
    mode("Arrow cursor", GraphCursor::Arrow, EditMode::None);
    mode("Set break pressure boxes", GraphCursor::SetBox, EditMode::SetBox);
    mode("Set air valve", GraphCursor::SetAirValve, EditMode::SetAirValve);
    mode("Set washout valve", GraphCursor::SetWashoutValve, EditMode::SetWashoutValve);
    mode("Move BPB", GraphCursor::MoveBox, EditMode::MoveBox);
    add("Insert Diameter", QIcon(), [this] { insert_diameter(); });
    add("Insert type of pipes", QIcon(), [this] { insert_type_of_pipes(); });
    graph_tools_->addSeparator();
    graph_tools_->addWidget(new QLabel("X axis in Pixels=", page));
    width_ = new QSpinBox(page);
    width_->setRange(100, 3000);
    width_->setSingleStep(10);
    width_->setValue(doc_.graph.width);
    graph_tools_->addWidget(width_);
    connect(width_, &QSpinBox::valueChanged, this, [this](int w) {
        doc_.graph.width = std::min(w, 3000);
        if (doc_.graph.present) graph_->redraw(false);
        else graph_->resize(doc_.graph.width, doc_.graph.height);
    });

    graph_ = new GraphWidget(doc_, editor_, messages_);
    scroll_ = new QScrollArea(page);
    scroll_->setWidget(graph_);
    scroll_->setBackgroundRole(QPalette::Base);
    scroll_->viewport()->installEventFilter(this);
    connect(graph_, &GraphWidget::changed, this, [this] {
        refresh_panels();
        refresh_commands();
    });

    auto* status = new QFrame(page);
    auto* sl = new QHBoxLayout(status);
    sl->setContentsMargins(0, 0, 0, 0);
    for (size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(status);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setMinimumWidth(200);
        sl->addWidget(panels_[i], i == 3 ? 1 : 0);
    }
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(graph_tools_);
    layout->addWidget(scroll_, 1);
    layout->addWidget(status);
    return page;
}

QWidget* MainWindow::build_sheet_tab() {
    for (int c = 0; c < doc_.StringGrid1.col_count(); ++c)
        doc_.StringGrid1.set_col_width(c, c < 2 ? 86 : c == 8 || c == 9 ? 100 : 78);
    sheet_ = new qt::GridView(&doc_.StringGrid1, this);
    sheet_->grid_model()->set_read_only(true);
    sheet_->setItemDelegate(new SheetDelegate(doc_.StringGrid1, sheet_));
    sheet_->setWordWrap(false);
    return sheet_;
}

QWidget* MainWindow::build_data_tab() {
    auto* page = new QWidget(this);
    auto* panel = new QFrame(page);
    panel->setFrameStyle(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panel);
    struct Field {
        int slot;
        const char* caption;
        int row, col;
    } fields[] = {
        {1, "Project=", 0, 0},
        {2, "# of Stations=", 1, 0},
        {3, "Q [L/S] =", 2, 0},
        {4, "Residual Pressure at BPB  [m]=", 3, 0},
        {6, "Initial Elevation [M]=", 0, 2},
        {5, "Length factor=", 1, 2},
        {7, "Initial accumulated distance=", 2, 2},
    };
    for (const auto& f : fields) {
        auto* e = new QLineEdit(panel);
        e->setObjectName(QString("Edit%1").arg(f.slot));
        edits_[static_cast<size_t>(f.slot)] = e;
        grid->addWidget(new QLabel(f.caption, panel), f.row, f.col);
        grid->addWidget(e, f.row, f.col + 1);
    }
    edits_[1]->setMinimumWidth(260);
    profile_ = new QRadioButton("Profile Data", panel);
    survey_mode_ = new QRadioButton("Survey Book", panel);
    profile_->setChecked(true);
    grid->addWidget(profile_, 3, 2);
    grid->addWidget(survey_mode_, 3, 3);
    grid->setColumnStretch(4, 1);

    auto edited = [this](int slot, const QString& text) {
        const std::string t = text.toStdString();
        switch (slot) {
            case 1: doc_.Edit1 = t; break;
            case 2: doc_.Edit2 = t; break;
            case 3: doc_.Edit3 = t; break;
            case 4: doc_.Edit4 = t; break;
            case 5: doc_.LFE = t; break;
            case 6: doc_.Edit6 = t; break;
            case 7: doc_.Edit7 = t; break;
        }
        if (slot <= 4) doc_.cambios = true;
        if (slot >= 2 && slot <= 4) doc_.recalcular = true;
    };
    for (int slot : {1, 2, 3, 4, 5, 6, 7})
        connect(edits_[static_cast<size_t>(slot)], &QLineEdit::textEdited, this,
                [edited, slot](const QString& t) { edited(slot, t); });

    for (int c = 0; c < 3; ++c) doc_.SG2.set_col_width(c, c == 0 ? 60 : 120);
    sg2_ = new qt::GridView(&doc_.SG2, page);
    sg3_ = new qt::GridView(&doc_.SG3, page);
    tables_ = new QStackedWidget(page);
    tables_->addWidget(sg2_);
    tables_->addWidget(sg3_);
    row_buttons_ = new RowButtons(page);

    connect(sg2_, &qt::GridView::key_pressed, this, [this](int, int, int) { doc_.cambios = true; });
    connect(sg2_, &qt::GridView::key_released, this, [this](int key, int col, int row) {
        if (paste_chord(key)) {
            paste_stations();
            return;
        }
        station_key_released(doc_, key_kind(key), col, row);
        sync_editor(sg2_);
        sg2_->refresh();
    });
    connect(sg3_, &qt::GridView::key_released, this, [this](int key, int col, int row) {
        if (paste_chord(key)) {
            paste_survey_book();
            return;
        }
        survey_key_released(doc_, key_kind(key), col, row);
        sync_editor(sg3_);
        refresh_all();
    });
    connect(sg2_, &qt::GridView::context_menu_requested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        menu.addAction("Paste", this, &MainWindow::paste_stations);
        menu.exec(pos);
    });
    connect(sg3_, &qt::GridView::context_menu_requested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        menu.addAction("Paste", this, &MainWindow::paste_survey_book);
        menu.exec(pos);
    });
    connect(profile_, &QRadioButton::toggled, this, [this](bool on) {
        set_input_mode(doc_, on ? InputMode::ProfileData : InputMode::SurveyBook);
        refresh_all();
    });
    connect(row_button("Insert"), &QPushButton::clicked, this, [this] {
        insert_station(doc_, sg2_->current_row());
        refresh_all();
    });
    connect(row_button("Delete"), &QPushButton::clicked, this, [this] {
        delete_station(doc_, sg2_->current_row());
        refresh_all();
    });
    connect(row_button("Add"), &QPushButton::clicked, this, [this] {
        add_station(doc_);
        refresh_all();
    });

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(panel);
    layout->addWidget(tables_, 1);
    layout->addWidget(row_buttons_);
    return page;
}

void MainWindow::build_menus() {
    auto named = [this](QAction* a, const QString& name) {
        a->setObjectName(name);
        return a;
    };
    QMenu* file = menuBar()->addMenu("File");
    named(file->addAction("New", this, [this] { new_project_command(); }), "New");
    named(file->addAction("Open", this, [this] { open_project(); }), "Open");
    named(file->addAction("Save As", this, [this] { save_project_as(); }), "Save As");
    QMenu* sheet = file->addMenu("Save Spreadsheet As");
    sheet->menuAction()->setObjectName("Save Spreadsheet As");
    named(sheet->addAction("Excel", this, [this] { guarded([&] { export_sheet(doc_, dialogs_, messages_); }); }),
          "Excel");
    named(sheet->addAction("CSV", this, [this] { guarded([&] { save_sheet_csv(doc_, dialogs_, messages_); }); }), "CSV");
    file->addSeparator();
    named(file->addAction("Diameters", this,
                          [this] {
                              catalogue_->open_window();
                              activated();
                          }),
          "Diameters");
    named(file->addAction("Print", this, [this] { print_command(); }), "Print");
    file->addSeparator();
    named(file->addAction("Exit", this,
                          [this] {
                              if (doc_.cambios) guarded([&] { preguntarguardar(doc_, messages_); });
                              close();
                          }),
          "Exit");
    QMenu* settings = menuBar()->addMenu("Settings");
    named(settings->addAction("Options", this,
                              [this] {
                                  options_->open_window();
                                  activated();
                              }),
          "Options");
    QMenu* insert = menuBar()->addMenu("Insert");
    named(insert->addAction("Diameter", this, [this] { insert_diameter(); }), "Diameter");
    named(insert->addAction("Piping Type", this, [this] { insert_type_of_pipes(); }), "Piping Type");
    QMenu* help = menuBar()->addMenu("Help");
    named(help->addAction("Tosquin Help", this,
                          [this] { open_url_(QUrl::fromLocalFile(QString::fromStdString(help_file_.string()))); }),
          "Tosquin Help");
    named(help->addAction("About Tosquin", this, [this] { about_->exec(); }), "About Tosquin");

    QToolBar* tools = addToolBar("Tools");
    tools->setMovable(false);
    auto button = [&](const QString& hint, QStyle::StandardPixmap icon, auto slot) {
        QAction* a = tools->addAction(style()->standardIcon(icon), hint);
        a->setToolTip(hint);
        a->setObjectName(hint);
        connect(a, &QAction::triggered, this, slot);
    };
    button("Open a file", QStyle::SP_DialogOpenButton, [this] { open_project(); });
    button("Save as \"QTX\" file", QStyle::SP_DialogSaveButton, [this] { save_project(); });
    button("Diameters button", QStyle::SP_FileDialogDetailedView, [this] {
        catalogue_->open_window();
        activated();
    });
    tools->actions().back()->setToolTip("Diameters");
    button("Print Graph and Spreadsheet", QStyle::SP_FileDialogContentsView, [this] { print_command(); });
    button("Export to Excel", QStyle::SP_FileDialogListView,
           [this] { guarded([&] { export_sheet(doc_, dialogs_, messages_); }); });
}

QLineEdit* MainWindow::edit(int n) const {
    if (n == 5) return edits_[5];
    return n >= 1 && n <= 7 ? edits_[static_cast<size_t>(n)] : nullptr;
}

QPushButton* MainWindow::row_button(const QString& caption) const {
    return row_buttons_->findChild<QPushButton*>(caption);
}

QAction* MainWindow::action(const QString& name) const { return findChild<QAction*>(name); }

void MainWindow::activated() {
    guarded([&] { leerarchivos(doc_); });
}

void MainWindow::refresh_all() {
    auto set = [](QLineEdit* e, const std::string& t) {
        if (e->text().toStdString() != t) e->setText(q(t));
    };
    set(edits_[1], doc_.Edit1);
    set(edits_[2], doc_.Edit2);
    set(edits_[3], doc_.Edit3);
    set(edits_[4], doc_.Edit4);
    set(edits_[5], doc_.LFE);
    set(edits_[6], doc_.Edit6);
    set(edits_[7], doc_.Edit7);
    const bool profile = doc_.input_mode == InputMode::ProfileData;
    {
        QSignalBlocker block(profile_);
        profile_->setChecked(profile);
        survey_mode_->setChecked(!profile);
    }
    tables_->setCurrentIndex(profile ? 0 : 1);
    row_buttons_->setVisible(profile);
    sg2_->refresh();
    sg3_->refresh();
    sheet_->refresh();
    if (!doc_.graph.present) graph_->clear_picture();
    refresh_panels();
    refresh_commands();
}

void MainWindow::refresh_panels() {
    for (size_t i = 0; i < panels_.size(); ++i) panels_[i]->setText(q(doc_.status_panels[i]));
}

void MainWindow::refresh_commands() {
    const CommandState& c = doc_.commands;
    const bool tools = c.design_tools && doc_.graph.present;
    auto enable = [this](const QString& name, bool on) {
        if (QAction* a = action(name)) a->setEnabled(on);
    };
    enable("Open", c.open);
    enable("Open a file", c.open);
    enable("Save as \"QTX\" file", c.save);
    // A new project is saved through "Save As" once its profile is drawn.
    enable("Save As", c.save_as || tools);
    enable("Save Spreadsheet As", c.export_sheet);
    enable("Excel", c.export_sheet);
    enable("CSV", c.export_sheet);
    enable("Export to Excel", c.export_sheet);
    enable("New", c.new_project);
    for (const char* name : {"Arrow cursor", "Exit from the current project", "Erase", "Set break pressure boxes",
                             "Set air valve", "Set washout valve", "Insert Diameter", "Insert type of pipes",
                             "Restart the design", "Diameter", "Piping Type", "Print", "Print Graph and Spreadsheet"})
        enable(name, tools);
    enable("Move BPB", tools && doc_.nsecciones >= 1);
    if (current_tab_ == kData) enable("Set break pressure boxes", false);
}

void MainWindow::select_tab(int index) {
    switching_ = true;
    tabs_->setCurrentIndex(index);
    switching_ = false;
    current_tab_ = index;
    tab_shown(index);
}

void MainWindow::tab_changed(int index) {
    if (switching_) return;
    const int from = current_tab_;
    const bool unprepared = doc_.disenado == 0;
    bool ok = false;
    guarded([&] { ok = leave_tab(doc_, messages_); });
    if (!ok) {
        switching_ = true;
        tabs_->setCurrentIndex(from);
        switching_ = false;
        refresh_all();
        return;
    }
    if (unprepared && doc_.disenado != 0) {
        // A profile prepared now: "Main Pipeline" shows it drawn and designed.
        doc_.recalcular = true;
        select_tab(kMainPipeline);
        return;
    }
    current_tab_ = index;
    tab_shown(index);
}

void MainWindow::tab_shown(int index) {
    if (index == kMainPipeline && doc_.recalcular) {
        viewport_resized();
        graph_->render([&](Canvas& c) {
            bool drawn = false;
            guarded([&] { drawn = show_main_pipeline(doc_, messages_, c); });
            return drawn;
        });
    } else if (index == kData) {
        show_data_tab(doc_);
    }
    refresh_all();
}

void MainWindow::viewport_resized() {
    const QSize size = scroll_->viewport()->size();
    doc_.graph.height = std::max(300, size.height() - 4);
    const int minimum = std::min(3000, (size.width() / 10 + 1) * 10);
    width_->setMinimum(std::max(100, std::min(minimum, 3000)));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize) {
        const int height = doc_.graph.height;
        const int width = doc_.graph.width;
        QSignalBlocker block(width_);
        viewport_resized();
        doc_.graph.width = width_->value();
        if (doc_.graph.present && (height != doc_.graph.height || width != doc_.graph.width)) graph_->redraw(false);
        else graph_->resize(doc_.graph.width, doc_.graph.height);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::paste_stations() {
    const auto block = sg2_->selection_block();
    paste_profile(doc_, messages_, clipboard_.text(), block.left, block.top);
    doc_.cambios = true;
    refresh_all();
}

void MainWindow::paste_survey_book() {
    const auto block = sg3_->selection_block();
    paste_survey(doc_, clipboard_.text(), block.left, block.top);
    doc_.cambios = true;
    refresh_all();
}

void MainWindow::open_project() {
    bool opened = false;
    graph_->render([&](Canvas& c) {
        guarded([&] { opened = open_command(doc_, dialogs_, messages_, c); });
        return opened;
    });
    if (opened) select_tab(kMainPipeline);
    refresh_all();
}

void MainWindow::save_project() {
    guarded([&] { save(doc_); });
    refresh_all();
}

void MainWindow::save_project_as() {
    guarded([&] { tosquin::save_as(doc_, dialogs_); });
    refresh_all();
}

void MainWindow::new_project_command() {
    guarded([&] { new_project(doc_); });
    graph_->clear_picture();
    select_tab(kData);
}

void MainWindow::exit_project() {
    guarded([&] { exit_current_project(doc_, messages_); });
    graph_->clear_picture();
    select_tab(kData);
}

void MainWindow::restart() {
    GraphEdit edit = restart_design(doc_, messages_);
    if (edit.redraw) graph_->redraw(edit.warn);
    refresh_all();
}

void MainWindow::insert_diameter() {
    predetermined_diameters_->prepare();
    predetermined_diameters_->exec();
    redesign_after_dialog();
    activated();
    refresh_all();
}

void MainWindow::insert_type_of_pipes() {
    predetermined_sections_->prepare();
    predetermined_sections_->exec();
    redesign_after_dialog();
    activated();
    refresh_all();
}

void MainWindow::redesign_after_dialog() {
    graph_->render([&](Canvas& c) {
        bool drawn = false;
        guarded([&] { drawn = after_predetermined_dialog(doc_, messages_, c); });
        return drawn;
    });
}

void MainWindow::print_command() {
    if (!print_dialog_->ask()) return;
    print_to(*print_dialog_->printer(), print_dialog_->prints_graph(), print_dialog_->prints_table());
}

void MainWindow::print_to(QPrinter& printer, bool graph, bool sheet) {
    if (!graph && !sheet) return;
    printer.setDocName(QString::fromStdString(doc_.archivoproyecto.string()));
    // A PDF is laid out as an office printer's page of 600 dots per inch.
    if (printer.outputFormat() == QPrinter::PdfFormat) printer.setResolution(600);
    printer.setPageOrientation(graph ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer)) {
        messages_.error("The printer could not be started.");
        return;
    }
    if (graph) {
        qt::QtCanvas canvas(&painter, printer.resolution());
        const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
        const int fx = print_factor(printer.logicalDpiX(), logicalDpiX(), page.width(), doc_.graph.width);
        const int fy = print_factor(printer.logicalDpiY(), logicalDpiY(), page.height(), doc_.graph.height);
        dibujargrafica(doc_, canvas, fx, fy);
    }
    if (sheet) {
        if (graph) {
            printer.setPageOrientation(QPageLayout::Portrait);
            printer.newPage();
        }
        qt::QtCanvas canvas(&painter, printer.resolution());
        std::vector<int> widths;
        for (int c = 0; c < doc_.StringGrid1.col_count(); ++c) widths.push_back(sheet_->columnWidth(c));
        const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
        print_sheet(doc_.StringGrid1, canvas, doc_.archivoproyecto.string(), widths, page.width());
    }
    painter.end();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    guarded([&] { window_closing(doc_, messages_, dialogs_); });
    event->accept();
}

}  // namespace velmora::tosquin::ui
