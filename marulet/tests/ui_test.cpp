// The Marulet windows driven as a user would, with scripted messages, file
// dialogs and clipboard. Each flow writes PNG grabs of what it shows into the
// screenshot folder (the print preview through pdftoppm when present).
#include "common/folders.h"
#include "common/provision.h"
#include "common/textfile.h"
#include "marulet/engine/plan_editor.h"
#include "marulet/engine/project_files.h"
#include "marulet/engine/reference_files.h"
#include "marulet/ui/diameters_window.h"
#include "marulet/ui/main_window.h"
#include "marulet/ui/options_window.h"
#include "marulet/ui/plan_view.h"
#include "marulet/ui/profile_view.h"
#include "qtcommon/print_dialog.h"
#include "qtcommon/survey_book_window.h"
#include "terrain/survey_book.h"
#include "qtcommon/window_capture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <memory>

using namespace velmora;
using namespace velmora::marulet;
namespace fs = std::filesystem;

namespace {

const fs::path kData = MARULET_DATA_DIR;

QString shot(const QString& name) { return qt::screenshot_dir() + "/marulet_" + name + ".png"; }

using qt::when_modal;

void double_click(QWidget* w, QPoint at) {
    QMouseEvent e(QEvent::MouseButtonDblClick, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Clicks the points and finishes the pipeline with a double click on the last.
void draw(QWidget* plan, const std::vector<QPoint>& points) {
    for (const QPoint& p : points) QTest::mouseClick(plan, Qt::LeftButton, Qt::NoModifier, p);
    double_click(plan, points.back());
}

QString cell(const Grid& g, int c, int r) { return QString::fromStdString(g(c, r)); }

}  // namespace

class MaruletUiTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void draw_change_direction_calculate_views_and_export();
    void save_and_close_questions();
    void options_pages_and_diameters();
    void opened_project_enables_the_plan_tools();
    void survey_export_becomes_plan_and_table();

private:
    std::unique_ptr<ui::MainWindow> make_window();
    void draw_small_network();

    std::unique_ptr<QTemporaryDir> tmp_;
    fs::path database_, projects_;
    ScriptedMessages messages_;
    ScriptedFileDialogs dialogs_;
    MemoryClipboard clipboard_;
    QString help_opened_;
    std::unique_ptr<ui::MainWindow> w_;
};

void MaruletUiTest::init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    const fs::path root = tmp_->path().toStdString();
    qputenv("VELMORA_COMMON_DOCUMENTS", QByteArray::fromStdString((root / "common").string()));
    qputenv("VELMORA_USER_DOCUMENTS", QByteArray::fromStdString((root / "user").string()));
    const Folders folders = Folders::from_environment();
    database_ = folders.database_dir(Program::Marulet);
    projects_ = folders.projects_dir(Program::Marulet);
    fs::create_directories(projects_);
    provision_reference_files(kData, database_);
    provision_reference_files(kData / "help", database_);
    messages_ = ScriptedMessages();
    dialogs_ = ScriptedFileDialogs();
    w_ = make_window();
    w_->resize(1500, 900);
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
}

void MaruletUiTest::cleanup() {
    if (w_) w_->document().cambios = false;
    w_.reset();
    tmp_.reset();
}

std::unique_ptr<ui::MainWindow> MaruletUiTest::make_window() {
    Document doc;
    start_up(doc, database_);
    ui::Session session;
    session.messages = &messages_;
    session.dialogs = &dialogs_;
    session.clipboard = &clipboard_;
    session.database_dir = database_;
    session.projects_dir = projects_;
    session.open_help = [this](const QString& file) { help_opened_ = file; };
    return std::make_unique<ui::MainWindow>(std::move(doc), session);
}

//   1 ---> 2 ---> 3
//          ^
//          |   (drawn from 2 down to 4 and 5, then turned to flow up)
//          4
//          ^
//          |
//          5
void MaruletUiTest::draw_small_network() {
    QWidget* plan = w_->plan_view()->canvas();
    QTest::mouseClick(w_->button("Set Pipelines"), Qt::LeftButton);
    QCOMPARE(plan->cursor().shape(), Qt::BitmapCursor);
    draw(plan, {{60, 60}, {200, 60}, {340, 60}});
    QCOMPARE(plan->cursor().shape(), Qt::ArrowCursor);
    // A later pipeline starts at the nearest node; until its first new point
    // a line follows the mouse, whose position the first panel shows.
    QTest::mouseClick(w_->button("Set Pipelines"), Qt::LeftButton);
    QTest::mouseClick(plan, Qt::LeftButton, Qt::NoModifier, QPoint(203, 63));
    QMouseEvent move(QEvent::MouseMove, QPointF(210, 150), plan->mapToGlobal(QPointF(210, 150)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plan, &move);
    QCOMPARE(w_->plan_view()->panel()->status_bar()->text(0), QString("Screen X:Y=210 : 150"));
    QVERIFY(w_->editor().rubber_band().has_value());
    draw(plan, {{200, 200}, {200, 320}});
}

void MaruletUiTest::draw_change_direction_calculate_views_and_export() {
    QCOMPARE(w_->windowTitle(), QString("Marulet-Orvane"));
    QTabWidget* tabs = w_->tabs();
    QCOMPARE(tabs->tabText(0), QString("Data/Drawing"));
    QCOMPARE(tabs->tabText(1), QString("Spreadsheet"));
    QCOMPARE(tabs->tabText(2), QString("Profiles"));
    tabs->setCurrentIndex(1);
    QCOMPARE(tabs->currentIndex(), 0);  // locked until a calculation
    QVERIFY(!w_->button("To Calculate")->isEnabled());
    QVERIFY(!w_->button("Change Direction of the Flow")->isEnabled());

    draw_small_network();
    const Grid& g = w_->document().SG4;
    QCOMPARE(g.row_count(), 6);
    QCOMPARE(cell(g, 1, 4) + cell(g, 2, 4), QString("24"));
    QCOMPARE(cell(g, 1, 5) + cell(g, 2, 5), QString("45"));
    QVERIFY(w_->button("Change Direction of the Flow")->isEnabled());
    QVERIFY(w_->button("To Calculate")->isEnabled());

    // Lengths, ground elevations and households pasted from a spreadsheet.
    clipboard_.set_text("100\t110\t105\t10\r\n90\t105\t101\t8\r\n70\t105\t108\t6\r\n60\t108\t112\t4\r\n");
    w_->pipe_view()->set_current(3, 2);
    w_->paste();
    // Material and diameter chosen from the drop-downs.
    auto* model = w_->pipe_view()->model();
    for (int r = 2; r < 6; ++r) {
        w_->pipe_view()->set_current(kMaterial, r);
        model->setData(model->index(r, kMaterial), "PVC", Qt::EditRole);
        w_->pipe_view()->set_current(kNominalInch, r);
        model->setData(model->index(r, kNominalInch), "8", Qt::EditRole);
    }
    QCOMPARE(cell(g, kNominalMm, 5), QString("200"));
    QCOMPARE(cell(g, kInternalInch, 5), QString("7.92"));

    // Turning the branch: From/To and the ground elevations swap.
    QTest::mouseClick(w_->button("Change Direction of the Flow"), Qt::LeftButton);
    QTest::mouseClick(w_->plan_view()->canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 130));
    QCOMPARE(cell(g, 1, 4) + ">" + cell(g, 2, 4), QString("4>2"));
    QCOMPARE(cell(g, 4, 4) + ">" + cell(g, 5, 4), QString("108>105"));
    QTest::mouseClick(w_->plan_view()->canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 260));
    QCOMPARE(cell(g, 1, 5) + ">" + cell(g, 2, 5), QString("5>4"));
    QCOMPARE(cell(g, 4, 5) + ">" + cell(g, 5, 5), QString("112>108"));
    QCOMPARE(w_->document().plan.tramossentido[1], (std::vector<std::string>{"f", "f", "i"}));
    QVERIFY(qt::save_png(w_.get(), shot("plan_with_arrows")));

    // A key released in a ground elevation column with the table complete
    // gives the drawing its elevations and enables the contour lines.
    QVERIFY(!w_->button("Turn On/Off Contour Lines")->isEnabled());
    w_->pipe_view()->set_current(kGroundFrom, 2);
    QTest::keyClick(w_->pipe_view(), Qt::Key_Down);
    QVERIFY(w_->button("Turn On/Off Contour Lines")->isEnabled());
    QCOMPARE(w_->document().plan.tramosz[1][2], std::string("112"));
    QTest::mouseClick(w_->button("Turn On/Off Contour Lines"), Qt::LeftButton);
    QVERIFY(w_->editor().contours_on());
    w_->plan_view()->repaint();
    QVERIFY(qt::save_png(w_->plan_view(), shot("plan_contours")));

    QTest::mouseClick(w_->button("To Calculate"), Qt::LeftButton);
    QVERIFY2(messages_.records().empty(), messages_.texts().empty() ? "" : messages_.texts()[0].c_str());
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(!w_->button("To Calculate")->isEnabled());
    QVERIFY(w_->action("Print the Spreadsheet")->isEnabled());
    const Grid& z = w_->document().ZCSG5;
    QCOMPARE(cell(z, kResPopulation, 2), QString("50"));
    QCOMPARE(cell(z, kResDiameter, 2), QString("8"));
    QVERIFY(qt::save_png(w_.get(), shot("results_current")));

    // The future view: whole-number populations of the grown town.
    QTest::mouseClick(w_->future_view_button(), Qt::LeftButton);
    QCOMPARE(cell(z, kResPopulation, 2), QString("219"));  // round(50 x 1.03^50)
    QVERIFY(qt::save_png(w_.get(), shot("results_future")));
    QTest::mouseClick(w_->current_view_button(), Qt::LeftButton);
    QCOMPARE(cell(z, kResPopulation, 2), QString("50"));

    // The profile with its readout in the status bar.
    tabs->setCurrentIndex(2);
    QCOMPARE(tabs->currentIndex(), 2);
    QVERIFY(w_->statusBar()->isVisible());
    ui::ProfileView* profile = w_->profile_view();
    profile->readout_at(profile->width() / 5, profile->height() / 3);
    QVERIFY(w_->status_panel(1)->text().startsWith("Trench Level [m]= "));
    QVERIFY(w_->status_panel(2)->text().startsWith("Trench Depth [m]= "));
    QVERIFY(qt::save_png(w_.get(), shot("profile")));

    // Saved, then exported as text: the same lines the command line writes.
    QTest::keyClicks(w_->project_edit(), "Hillside");
    QCOMPARE(w_->document().project_name, std::string("Hillside"));
    const fs::path project = projects_ / "hillside.sew";
    dialogs_.push(FileChoice{project, 1});
    w_->action("Save as")->trigger();
    QVERIFY(fs::exists(project));
    const fs::path csv = projects_ / "hillside -SpreadSheet.csv";
    dialogs_.push(FileChoice{csv, 3});
    QTest::mouseClick(w_->button("Export to EXCEL"), Qt::LeftButton);
    const fs::path expected = projects_ / "cli.csv";
    QProcess cli;
    cli.start(VELMORA_CLI, {"marulet", "calc", QString::fromStdString(project.string()), "--data",
                            QString::fromStdString(database_.string()), "--csv",
                            QString::fromStdString(expected.string())});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(textfile::read_lines(csv), textfile::read_lines(expected));
    QCOMPARE(textfile::read_lines(csv).size(), size_t(1 + 6 + 1 + 6));

    // The workbook, and a workbook that cannot be written.
    dialogs_.push(FileChoice{projects_ / "hillside.xlsx", 1});
    QTest::mouseClick(w_->button("Export to EXCEL"), Qt::LeftButton);
    QVERIFY(fs::file_size(projects_ / "hillside.xlsx") > 0);
    QVERIFY(messages_.records().empty());
    dialogs_.push(FileChoice{projects_ / "missing" / "hillside.xlsx", 1});
    QTest::mouseClick(w_->button("Export to EXCEL"), Qt::LeftButton);
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"not saved"}));

    // Printing with the future view on screen prints both situations and
    // leaves the current one shown.
    QTest::mouseClick(w_->future_view_button(), Qt::LeftButton);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = QString::fromStdString((projects_ / "print.pdf").string());
    printer.setOutputFileName(pdf);
    QCOMPARE(w_->print_to(printer, true, true), 4);
    QVERIFY(w_->current_view_button()->isChecked());
    QCOMPARE(w_->document().view, View::Current);
    QCOMPARE(cell(z, kResPopulation, 2), QString("50"));
    QVERIFY(fs::file_size(pdf.toStdString()) > 0);
    QProcess::execute("pdftoppm", {"-png", "-r", "40", pdf, qt::screenshot_dir() + "/marulet_print"});
}

void MaruletUiTest::save_and_close_questions() {
    draw_small_network();
    QVERIFY(w_->document().cambios);
    messages_.answer_next(Answer::No);
    w_->action("New")->trigger();
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"Would you like to save the changes?"}));
    QCOMPARE(messages_.records().at(0).title, std::string("Warning"));
    QVERIFY(w_->document().plan.tramosnudos.empty());

    // "Save" without a project name refuses; closing asks again (saving does
    // not clear the flag).
    messages_.clear();
    w_->action("Save a Kelvaro File")->trigger();
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"Enter the project name"}));
    messages_.clear();
    messages_.answer_next(Answer::No);
    w_->close();
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"Would you like to save the changes?"}));
}

void MaruletUiTest::options_pages_and_diameters() {
    QCOMPARE(w_->pipe_view()->isColumnHidden(kNominalMm), true);
    QCOMPARE(w_->pipe_view()->isColumnHidden(kNominalInch), false);
    ui::OptionsWindow* options = w_->options_window();
    messages_.answer_next(Answer::Yes);  // "Do you want to save the changes?"
    when_modal([options](QWidget* modal) {
        QCOMPARE(modal, static_cast<QWidget*>(options));
        QCOMPARE(options->windowTitle(), QString("Options"));
        for (int page = 0; page < 4; ++page) {
            options->page_list()->setCurrentRow(page);
            QCOMPARE(options->stack()->currentIndex(), page);
            QVERIFY(qt::save_png(options, shot(QString("options_page%1").arg(page + 1))));
        }
        options->unit_combo()->setCurrentText("millimeter");
        QCOMPARE(options->model().units(2, 3), std::string("mm"));
        options->accept();
    });
    w_->action("Options")->trigger();
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"Do you want to save the changes?"}));
    QCOMPARE(w_->document().unidaddiametro, std::string("mm"));
    QCOMPARE(w_->pipe_view()->isColumnHidden(kNominalMm), false);
    QCOMPARE(w_->pipe_view()->isColumnHidden(kNominalInch), true);

    ui::DiametersWindow* diameters = w_->diameters_window();
    when_modal([diameters](QWidget* modal) {
        QCOMPARE(modal, static_cast<QWidget*>(diameters));
        QCOMPARE(diameters->windowTitle(), QString("Diameters"));
        QCOMPARE(diameters->view()->model()->index(1, 1).data().toString(), QString("PVC"));
        QVERIFY(qt::save_png(diameters, shot("diameters")));
        diameters->accept();
    });
    w_->action("Diameters")->trigger();
}

void MaruletUiTest::opened_project_enables_the_plan_tools() {
    QVERIFY(!w_->button("Delete Sections")->isEnabled());
    dialogs_.push(FileChoice{kData / "examples" / "hillside_community.sew", 1});
    w_->action("Open a Kelvaro File")->trigger();
    QVERIFY(messages_.records().empty());
    QVERIFY(!w_->document().plan.tramosnudos.empty());
    QVERIFY(w_->button("Delete Sections")->isEnabled());
    QVERIFY(w_->button("Change Direction of the Flow")->isEnabled());
    QVERIFY(w_->button("To Calculate")->isEnabled());
    QVERIFY(!w_->document().cambios);
    QVERIFY(!w_->project_edit()->text().isEmpty());
    QVERIFY(qt::save_png(w_.get(), shot("opened_example")));

    // Help opens the shipped page of the Database folder; About shows and closes.
    w_->action("Marulet Help")->trigger();
    QVERIFY(help_opened_.endsWith("/Marulet Help.html"));
    when_modal([](QWidget* modal) {
        QVERIFY(qt::save_png(modal, shot("about")));
        static_cast<QDialog*>(modal)->accept();
    });
    w_->action("About Marulet")->trigger();
    QCOMPARE(w_->print_dialog()->graph_button()->text(), QString("Graphs"));
}

// A traverse of three shots exported from the planimetry view: three
// two-point pipelines, the pipe table's first columns, the results tabs locked
// again, "To Calculate" and the contour lines available.
void MaruletUiTest::survey_export_becomes_plan_and_table() {
    using terrain::SurveyView;
    const terrain::SurveyColumns& c = terrain::survey_columns(SurveyView::Planimetry);
    Grid survey(c.count, 6, 2, 1);
    const char* shots[3][7] = {{"1", "2", "3", "1000", "998", "40", "0"},
                               {"2", "3", "2", "998", "995", "35", "40"},
                               {"3", "4", "4", "995", "991", "30", "75"}};
    for (int k = 0; k < 3; ++k) {
        const int r = k + 2;
        survey.set_cell(0, r, std::to_string(k + 1));
        survey.set_cell(c.from, r, shots[k][0]);
        survey.set_cell(c.to, r, shots[k][1]);
        survey.set_cell(c.households, r, shots[k][2]);
        survey.set_cell(c.elevation_from, r, shots[k][3]);
        survey.set_cell(c.elevation_to, r, shots[k][4]);
        survey.set_cell(c.distance, r, shots[k][5]);
        survey.set_cell(c.total_x, r, std::to_string(std::stoi(shots[k][6]) + std::stoi(shots[k][5])));
        survey.set_cell(c.total_y, r, std::to_string(10 * k));
    }
    w_->document().mostrarresultados = true;  // as after a calculation
    emit w_->survey_window()->survey_exported(survey, SurveyView::Planimetry);
    const Document& doc = w_->document();
    QCOMPARE(doc.plan.tramosnudos.size(), size_t(3));
    QCOMPARE(doc.plan.tramossentido[2], (std::vector<std::string>{"i", "i"}));
    QCOMPARE(doc.SG4.row_count(), 5);
    QCOMPARE(doc.SG4.row(4, 0, 7), (std::vector<std::string>{"3", "3", "4", "30", "995", "991", "4"}));
    QVERIFY(w_->button("To Calculate")->isEnabled());
    QVERIFY(w_->button("Turn On/Off Contour Lines")->isEnabled());
    QVERIFY(w_->button("Change Direction of the Flow")->isEnabled());
    w_->tabs()->setCurrentIndex(1);
    QCOMPARE(w_->tabs()->currentIndex(), 0);
    QVERIFY(qt::save_png(w_->plan_view(), shot("survey_import")));
}

QTEST_MAIN(MaruletUiTest)
#include "ui_test.moc"
