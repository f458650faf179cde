// The Kelvaro windows driven as a user would, with scripted messages, file
// dialogs and clipboard. Each flow also writes PNG grabs of what it shows into
// the screenshot folder (and the print previews, through pdftoppm when present).
#include "common/commatext.h"
#include "common/numtext.h"
#include "common/provision.h"
#include "common/textfile.h"
#include "kelvaro/engine/options.h"
#include "kelvaro/engine/results_export.h"
#include "kelvaro/ui/diameters_window.h"
#include "kelvaro/ui/main_window.h"
#include "kelvaro/ui/options_window.h"
#include "kelvaro/ui/plan_view.h"
#include "kelvaro/ui/profile_view.h"
#include "qtcommon/about_dialog.h"
#include "qtcommon/survey_book_window.h"
#include "qtcommon/window_capture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <filesystem>
#include <memory>

using namespace velmora;
using namespace velmora::kelvaro;
namespace fs = std::filesystem;

namespace {

const fs::path kData = KELVARO_DATA_DIR;
const fs::path kExample = kData / "examples" / "villa_alta.bra";

QString shot(const QString& name) { return qt::screenshot_dir() + "/kelvaro_" + name + ".png"; }

// What a grid view shows, one comma-text line per row (spans show their text once).
std::vector<std::string> shown_lines(qt::GridView* view) {
    std::vector<std::string> lines;
    auto* model = view->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells.push_back(model->index(r, c).data(Qt::DisplayRole).toString().toStdString());
        lines.push_back(commatext::write_line(cells));
    }
    return lines;
}

using qt::when_modal;

}  // namespace

class KelvaroUiTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void paste_readiness_calculate_and_tabs();
    void opened_project_shows_the_rows_the_command_line_writes();
    void save_reopen_new_and_close_questions();
    void export_both_formats();
    void options_questions_in_order_reset_and_consumptions();
    void project_boxes_are_changed_from_the_options_only();
    void diameters_window_refills_on_activation();
    void profiles_reading_cursor_and_grid_controls();
    void printing_documents_and_previews();
    void help_about_and_survey_book();

private:
    std::unique_ptr<ui::MainWindow> make_window();
    void open_example();
    void calculate();

    std::unique_ptr<QTemporaryDir> tmp_;
    fs::path database_, projects_;
    ScriptedMessages messages_;
    ScriptedFileDialogs dialogs_;
    MemoryClipboard clipboard_;
    QString help_opened_;
    std::unique_ptr<ui::MainWindow> w_;
};

void KelvaroUiTest::init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    const fs::path root = tmp_->path().toStdString();
    qputenv("VELMORA_COMMON_DOCUMENTS", QByteArray::fromStdString((root / "common").string()));
    qputenv("VELMORA_USER_DOCUMENTS", QByteArray::fromStdString((root / "user").string()));
    const Folders folders = Folders::from_environment();
    database_ = folders.database_dir(Program::Kelvaro);
    projects_ = folders.projects_dir(Program::Kelvaro);
    provision_reference_files(kData, database_);
    provision_reference_files(kData / "help", database_);
    messages_ = ScriptedMessages();
    dialogs_ = ScriptedFileDialogs();
    help_opened_.clear();
    w_ = make_window();
    w_->resize(1400, 860);
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
}

void KelvaroUiTest::cleanup() {
    if (w_) w_->document().cambios = false;  // no save question on the way out
    w_.reset();
    tmp_.reset();
}

std::unique_ptr<ui::MainWindow> KelvaroUiTest::make_window() {
    Document doc;
    set_folders(doc, Folders::from_environment());
    ui::Session session;
    session.messages = &messages_;
    session.dialogs = &dialogs_;
    session.clipboard = &clipboard_;
    session.open_help = [this](const QString& file) { help_opened_ = file; };
    return std::make_unique<ui::MainWindow>(std::move(doc), session);
}

void KelvaroUiTest::open_example() {
    dialogs_.push(FileChoice{kExample, 1});
    w_->action("Open a Kelvaro File")->trigger();
}

void KelvaroUiTest::calculate() {
    QPushButton* calc = w_->button("To Calculate");
    QVERIFY(calc->isEnabled());
    QTest::mouseClick(calc, Qt::LeftButton);
}

void KelvaroUiTest::paste_readiness_calculate_and_tabs() {
    QCOMPARE(w_->windowTitle(), QString("Kelvaro-Orvane"));
    QTabWidget* tabs = w_->tabs();
    QCOMPARE(tabs->tabText(0), QString("Data/Drawing"));
    QCOMPARE(tabs->tabText(1), QString("Spreadsheet"));
    QCOMPARE(tabs->tabText(2), QString("Profiles"));
    // Before a calculation the tabs refuse to change.
    tabs->setCurrentIndex(1);
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(!w_->button("To Calculate")->isEnabled());
    QVERIFY(!w_->action("Print the Spreadsheet")->isEnabled());
    QToolButton* install = w_->plan_view()->tool("Install a Break Pressure Box");
    QVERIFY(!install->isEnabled());
    QCOMPARE(w_->edit(2)->text(), QString("10"));      // from "minpre"
    QCOMPARE(w_->edit(3)->text(), QString("0.0157"));

    // A one-network table pasted from a spreadsheet: source 1, two branches.
    clipboard_.set_text(
        "1\t1\t2\t120\t950\t930\t0\t1\r\n"
        "2\t2\t3\t80\t930\t915\t6\t1\r\n"
        "3\t2\t4\t95\t930\t912\t4\t1\r\n");
    w_->input_view()->set_current(0, 2);
    w_->paste();
    QCOMPARE(w_->document().ZCSG4.row_count(), 5);
    QCOMPARE(w_->input_view()->model()->rowCount(), 5);
    QVERIFY(w_->button("To Calculate")->isEnabled());
    QVERIFY(!install->isEnabled());  // readiness is checked when a key is released

    // Row commands at the current row: the rows below are renumbered.
    w_->input_view()->set_current(1, 3);
    QTest::mouseClick(w_->button("Insert Row"), Qt::LeftButton);
    QCOMPARE(w_->input_view()->model()->rowCount(), 6);
    QCOMPARE(w_->input_view()->model()->index(3, 1).data().toString(), QString());
    QCOMPARE(w_->input_view()->model()->index(4, 0).data().toString(), QString("3"));
    w_->input_view()->set_current(1, 3);
    QTest::mouseClick(w_->button("Delete Row"), Qt::LeftButton);
    QCOMPARE(w_->input_view()->model()->rowCount(), 5);
    QCOMPARE(w_->input_view()->model()->index(3, 0).data().toString(), QString("2"));
    QTest::mouseClick(w_->button("Add Row"), Qt::LeftButton);
    QCOMPARE(w_->input_view()->model()->rowCount(), 6);
    w_->input_view()->set_current(1, 5);
    QTest::mouseClick(w_->button("Delete Row"), Qt::LeftButton);
    QCOMPARE(w_->input_view()->model()->rowCount(), 5);  // an empty row would keep the table from being ready

    w_->input_view()->set_current(3, 4);
    QTest::keyClick(w_->input_view(), Qt::Key_Left);
    QVERIFY(install->isEnabled());
    QVERIFY(w_->plan_view()->tool("Free Motion")->isEnabled());
    QVERIFY(w_->document().cambios);

    calculate();
    QVERIFY2(messages_.records().empty(), messages_.texts().empty() ? "" : messages_.texts()[0].c_str());
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(!w_->button("To Calculate")->isEnabled());
    QVERIFY(w_->action("Print the Spreadsheet")->isEnabled());
    QVERIFY(w_->progress_bar()->isHidden());
    QCOMPARE(w_->results_view()->model()->rowCount(), 2 + 3 + 1);
    QCOMPARE(w_->results_view()->model()->index(5, 0).data().toString(), QString("Total"));
    // Now the tabs change freely.
    tabs->setCurrentIndex(2);
    QCOMPARE(tabs->currentIndex(), 2);
    QVERIFY(w_->statusBar()->isVisible());
    tabs->setCurrentIndex(0);
    QVERIFY(!w_->statusBar()->isVisible());

    // A refused table: a terminal pipe without households.
    w_->document().ZCSG4.set_cell(6, 4, "0");
    w_->input_view()->set_current(1, 4);
    QTest::keyClick(w_->input_view(), Qt::Key_Shift);  // a key released on a "From" cell enables the command
    calculate();
    QCOMPARE(messages_.texts(),
             (std::vector<std::string>{"Terminal nodes without any connection (no households): 4"}));
    QCOMPARE(tabs->currentIndex(), 0);
}

void KelvaroUiTest::opened_project_shows_the_rows_the_command_line_writes() {
    open_example();
    QCOMPARE(w_->edit(1)->text(), QString("Villa Alta water system"));
    QVERIFY(w_->plan_view()->tool("Nodes Motion")->isEnabled());
    QVERIFY(w_->plan_view()->tool("Delete Sections")->isEnabled());
    QVERIFY(qt::save_png(w_.get(), shot("main_data_drawing")));
    calculate();
    QVERIFY(messages_.records().empty());
    QVERIFY(qt::save_png(w_.get(), shot("main_spreadsheet")));

    // The same project designed by `velmora kelvaro calc`.
    const fs::path out = fs::path(tmp_->path().toStdString()) / "cli.csv";
    const fs::path db = fs::path(tmp_->path().toStdString()) / "cli_db";
    fs::create_directories(db);
    fs::copy_file(kData / "pipes_branch.csv", db / "pipes_branch.csv");
    QProcess cli;
    cli.start(VELMORA_CLI, {"kelvaro", "calc", QString::fromStdString(kExample.string()), "--data",
                            QString::fromStdString(db.string()), "--csv", QString::fromStdString(out.string())});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    std::vector<std::string> expected = textfile::read_lines(out);
    // "Pipelines design", the ZCSG5 rows, "Nodes hydraulic conditions", the ZCSG6 rows.
    const auto nodes_title = std::find(expected.begin(), expected.end(), "Nodes hydraulic conditions");
    QVERIFY(nodes_title != expected.end());
    const std::vector<std::string> pipes(expected.begin() + 1, nodes_title);
    QCOMPARE(shown_lines(w_->results_view()), pipes);
    QCOMPARE(results_csv_lines(w_->document()), expected);
    // Fixed rows and columns, merged headers.
    const Grid& res = w_->document().ZCSG5;
    QCOMPARE(res.fixed_rows(), 2);
    QCOMPARE(res.fixed_cols(), 2);
    QCOMPARE(w_->results_view()->rowSpan(0, 5), 1);
    QCOMPARE(w_->results_view()->columnSpan(0, 5), 4);
    QCOMPARE(w_->results_view()->rowSpan(0, 0), 2);
    QVERIFY(w_->nodes_view()->isHidden());
}

void KelvaroUiTest::save_reopen_new_and_close_questions() {
    open_example();
    const Grid table = w_->document().ZCSG4;
    const fs::path saved = projects_ / "Copy.bra";
    dialogs_.push(FileChoice{projects_ / "Copy.txt", 1});
    w_->action("Save a Kelvaro File")->trigger();
    for (const char* ext : {".bra", ".ghd", ".crp", ".ghc"}) QVERIFY(fs::exists(fs::path(saved).replace_extension(ext)));
    QCOMPARE(dialogs_.requests().back().filter, std::string("Main pipeline files (*.bra)|*.bra|All Files (*.*)|*.*"));
    QCOMPARE(dialogs_.requests().back().initial_dir, projects_);

    // "New" with changes asks; No keeps the files as they are and empties the tables.
    w_->document().cambios = true;
    messages_.answer_next(Answer::No);
    w_->action("New")->trigger();
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"Would you like to save the changes?"}));
    QVERIFY(w_->document().ZCSG4(1, 2).empty());
    QVERIFY(w_->document().tramosx.empty());

    dialogs_.push(FileChoice{saved, 1});
    w_->action("Open")->trigger();
    QCOMPARE(w_->document().ZCSG4.to_lines(2), table.to_lines(2));
    QCOMPARE(w_->edit(1)->text(), QString("Villa Alta water system"));

    // Closing with changes: the same question; Yes saves through the dialog.
    w_->document().cambios = true;
    messages_.clear();
    messages_.answer_next(Answer::Yes);
    dialogs_.push(FileChoice{projects_ / "Closing.bra", 1});
    w_->close();
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"Would you like to save the changes?"}));
    QVERIFY(fs::exists(projects_ / "Closing.ghd"));

    // A project without a name is not saved.
    auto again = make_window();
    messages_.clear();
    again->action("Save a Kelvaro File")->trigger();
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"Enter the project name"}));
}

void KelvaroUiTest::export_both_formats() {
    open_example();
    calculate();
    dialogs_.push(FileChoice{projects_ / "book.xls", 1});
    QTest::mouseClick(w_->button("Export to EXCEL"), Qt::LeftButton);
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"The file has been saved"}));
    QCOMPARE(textfile::read_bytes(projects_ / "book.xls").substr(0, 2), std::string("PK"));
    const FileDialogRequest first = dialogs_.requests().back();
    QCOMPARE(first.file_name, std::string("villa_alta -SpreadSheet"));
    QCOMPARE(first.filter_index, 1);

    dialogs_.push(FileChoice{projects_ / "values.csv", 2});
    QTest::mouseClick(w_->button("Export to EXCEL"), Qt::LeftButton);
    QCOMPARE(textfile::read_lines(projects_ / "values.csv"), results_csv_lines(w_->document()));
    dialogs_.push(std::nullopt);
    QTest::mouseClick(w_->button("Export to EXCEL"), Qt::LeftButton);
    QCOMPARE(dialogs_.requests().back().filter_index, 2);
    QCOMPARE(dialogs_.requests().back().file_name, std::string("values -SpreadSheet"));
}

void KelvaroUiTest::options_questions_in_order_reset_and_consumptions() {
    ui::OptionsWindow* options = w_->options_window();
    QCOMPARE(options->windowTitle(), QString("Options"));
    QStringList pages;
    for (int i = 0; i < options->page_list()->count(); ++i) pages << options->page_list()->item(i)->text();
    QCOMPARE(pages, ui::OptionsWindow::page_names());
    options->fill();
    options->show();
    QVERIFY(QTest::qWaitForWindowExposed(options));
    for (int page = 0; page < 4; ++page) {
        options->page_list()->setCurrentRow(page);
        QCOMPARE(options->current_page(), page);
        QVERIFY(qt::save_png(options, shot(QString("options_page%1").arg(page + 1))));
    }
    QCOMPARE(options->box("QUE")->text(), QString("0.0157"));
    QCOMPARE(options->parameters_view()->model()->index(2, 0).data().toString(), QString("Max Hour Flow"));

    // One change in each group; the questions come in the groups' order.
    emit options->min_box()->activated(1);
    options->min_box()->setCurrentIndex(1);
    QTest::keyClicks(options->box("MinPRE"), "5");  // "105"
    QCOMPARE(w_->document().presmin, 105.0);       // takes effect at once
    QTest::keyClicks(options->box("PerE"), "0");    // "200"
    options->unit_box()->setCurrentIndex(1);
    emit options->unit_box()->activated(1);
    for (Answer a : {Answer::Yes, Answer::No, Answer::Yes, Answer::Yes}) messages_.answer_next(a);
    options->accept();
    const std::string save = "Do you want to save the changes?";
    QCOMPARE(messages_.texts(), (std::vector<std::string>{save, save, save, save}));
    QCOMPARE(textfile::read_lines(database_ / "minmaxdia"), (std::vector<std::string>{"1", "5", "140"}));
    QCOMPARE(textfile::read_lines(database_ / "minpre"), default_minpre());
    QCOMPARE(textfile::read_lines(database_ / "usage")[3], std::string("200"));
    QCOMPARE(load_units(database_ / "units.qtx")(2, 3), std::string("mm"));

    // Deleting the second consumption with the Delete key.
    options->fill();
    options->show();
    options->page_list()->setCurrentRow(2);
    options->consumption_list()->setCurrentRow(1);
    QTest::mouseClick(options->consumption_list()->viewport(), Qt::LeftButton, {},
                      options->consumption_list()->visualItemRect(options->consumption_list()->item(1)).center());
    QTest::keyClick(options->consumption_list(), Qt::Key_Delete);
    QCOMPARE(options->consumption_list()->count(), 2);
    QCOMPARE(options->consumption_list()->item(1)->text(), QString("120"));
    messages_.clear();
    messages_.answer_next(Answer::Yes);
    options->accept();
    QCOMPARE(textfile::read_lines(database_ / "usage"),
             (std::vector<std::string>{"2.5", "3", "5", "200", "60", "120"}));

    // "Reset" asks, then restores every option file.
    messages_.clear();
    options->fill();
    messages_.answer_next(Answer::Yes);
    QPushButton* reset = nullptr;
    for (auto* b : options->findChildren<QPushButton*>())
        if (b->text() == "Reset") reset = b;
    QVERIFY(reset);
    QTest::mouseClick(reset, Qt::LeftButton);
    QCOMPARE(messages_.texts().at(0), std::string("Do you want to reset the options to the original conditions? If yes "
                                                  "all the changes will be lost"));
    QCOMPARE(textfile::read_lines(database_ / "usage"), default_usage());
    QCOMPARE(textfile::read_lines(database_ / "minmaxdia"), default_minmaxdia());
    QCOMPARE(options->box("PerE")->text(), QString("20"));
    options->hide();
}

void KelvaroUiTest::project_boxes_are_changed_from_the_options_only() {
    open_example();
    // A key in the pressure box: the notice, and the option value comes back.
    QTest::keyClick(w_->edit(2), Qt::Key_5);
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"To change this value, double click on the box"}));
    QCOMPARE(w_->edit(2)->text(), QString("10"));

    // Double click on the unit flow: the Options window on "Designing
    // Parameters"; picking 90 L/person/day makes the main window ask.
    messages_.clear();
    int page_shown = -1;
    when_modal([&](QWidget* modal) {
        auto* options = qobject_cast<ui::OptionsWindow*>(modal);
        if (!options) return;
        page_shown = options->current_page();
        QListWidget* list = options->consumption_list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        options->accept();
    });
    messages_.answer_next(Answer::Yes);
    QTest::mouseDClick(w_->edit(3), Qt::LeftButton);
    QCOMPARE(page_shown, 2);
    QCOMPARE(messages_.texts(),
             (std::vector<std::string>{"The consumption has changed to 90 L/person/day. Do you want to change the unit "
                                       "flow in nodes?"}));
    const double future = 5 * std::pow(1.03, 20);
    QCOMPARE(w_->edit(3)->text().toStdString(), numtext::format_pattern(2.5 * 90 * future / 86400, "#,##0.0000"));
    QCOMPARE(w_->options_window()->current_page(), 0);  // the page list starts over
}

void KelvaroUiTest::diameters_window_refills_on_activation() {
    ui::DiametersWindow* d = w_->diameters_window();
    QCOMPARE(d->windowTitle(), QString("Diameters"));
    const Grid catalogue = load_catalogue(database_ / "pipes_branch.csv");
    QCOMPARE(d->grid_view()->model()->rowCount(), catalogue.row_count());
    QCOMPARE(d->grid_view()->columnWidth(2), 68);
    when_modal([&](QWidget* modal) {
        if (modal != d) return;
        QVERIFY(qt::save_png(d, shot("diameters")));
        d->grid_view()->model()->setData(d->grid_view()->model()->index(1, 2), "99", Qt::EditRole);
        QTest::mouseClick(d->findChild<QPushButton*>(), Qt::LeftButton);
    });
    w_->action("Available Diameters")->trigger();
    // The edit was not saved: the grid is filled from the file again.
    QCOMPARE(d->grid_view()->model()->index(1, 2).data().toString().toStdString(), catalogue(2, 1));
}

void KelvaroUiTest::profiles_reading_cursor_and_grid_controls() {
    open_example();
    calculate();
    w_->tabs()->setCurrentIndex(2);
    QTest::qWait(20);
    ui::ProfileView* view = w_->profile_view();
    QVERIFY(view->perfiles);
    const ProfileChart chart = build_profile_chart(w_->document(), view->width(), view->height());
    QVERIFY(chart.pipes() > 0);
    const double x = chart.px((numtext::read_lenient(chart.xper1[0]) + numtext::read_lenient(chart.xper2[0])) / 2);
    view->move_cursor(QPoint(static_cast<int>(x), view->height() / 2));
    QVERIFY(view->reading().found);
    QVERIFY(w_->status_panel(0)->text().startsWith("X:Z [m]= "));
    QVERIFY(w_->status_panel(1)->text().startsWith("HGL [m]= "));
    QVERIFY(w_->status_panel(2)->text().startsWith("Residual Pressure [m]= "));
    QVERIFY(w_->status_panel(3)->text().startsWith("Diameter= "));
    QVERIFY(qt::save_png(w_.get(), shot("main_profiles")));

    QPushButton* toggle = w_->button("Hide Grid");
    QTest::mouseClick(toggle, Qt::LeftButton);
    QCOMPARE(toggle->text(), QString("Show Grid"));
    QVERIFY(!view->options.showgrid);
    w_->grid_at()->setValue(4);
    QCOMPARE(view->options.grid_at, std::string("4"));
    QVERIFY(qt::save_png(w_.get(), shot("main_profiles_hidden_grid_at_4")));
    QTest::mouseClick(toggle, Qt::LeftButton);
    QCOMPARE(toggle->text(), QString("Hide Grid"));
}

void KelvaroUiTest::printing_documents_and_previews() {
    open_example();
    calculate();
    w_->tabs()->setCurrentIndex(2);
    QTest::qWait(20);
    const QString dir = qt::screenshot_dir();
    struct Case { const char* name; bool drawings, table; int documents; };
    for (const Case& c : {Case{"all", true, true, 3}, Case{"graph", true, false, 2}, Case{"spreadsheet", false, true, 1}}) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = dir + "/kelvaro_print_" + c.name + ".pdf";
        printer.setOutputFileName(pdf);
        QCOMPARE(w_->print_to(printer, c.drawings, c.table), c.documents);
        QVERIFY(QFileInfo(pdf).size() > 0);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        // Page previews to look at.
        QProcess::execute("pdftoppm", {"-png", "-r", "50", pdf, dir + "/kelvaro_print_" + c.name});
    }
    QVERIFY(messages_.records().empty());

    // The "Printing" window answered with Cancel prints nothing.
    when_modal([](QWidget* modal) {
        if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
    });
    w_->action("Print the Spreadsheet")->trigger();
    QVERIFY(messages_.records().empty());
}

void KelvaroUiTest::help_about_and_survey_book() {
    w_->action("Kelvaro Help")->trigger();
    QCOMPARE(help_opened_.toStdString(), (database_ / "Kelvaro Help.html").string());
    QVERIFY(fs::exists(help_opened_.toStdString()));
    QString about_text;
    when_modal([&](QWidget* modal) {
        for (auto* l : modal->findChildren<QLabel*>()) about_text += l->text() + "\n";
        QVERIFY(qt::save_png(modal, shot("about")));
        qobject_cast<QDialog*>(modal)->accept();
    });
    w_->action("About Kelvaro")->trigger();
    QVERIFY(about_text.contains("Kelvaro is a simulator to design distribution networks"));
    // "Survey Book Sheet" opens the survey book; closed by "OK" it changes nothing.
    QString survey_caption;
    when_modal([&](QWidget* modal) {
        survey_caption = modal->windowTitle();
        w_->survey_book_window()->ok_button()->click();
    });
    w_->plan_view()->tool("Survey Book Sheet")->click();
    QCOMPARE(survey_caption, QString("Survey Book"));
    QVERIFY(messages_.records().empty());
    QCOMPARE(w_->document().tramosnudos, TextLists{});
}

QTEST_MAIN(KelvaroUiTest)
#include "ui_test.moc"
