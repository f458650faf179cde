// The Kelvaro plan driven with the mouse: a network drawn with clicks and
// double clicks, a break pressure box placed on it, the design compared with
// `velmora kelvaro calc` on the saved project; and a survey book handed to the
// plan through "Survey Book Sheet". PNG grabs of the plan go to the
// screenshot folder.
#include "common/commatext.h"
#include "common/provision.h"
#include "common/textfile.h"
#include "kelvaro/engine/options.h"
#include "kelvaro/ui/main_window.h"
#include "kelvaro/ui/plan_view.h"
#include "qtcommon/plan_canvas.h"
#include "qtcommon/survey_book_window.h"
#include "qtcommon/window_capture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <filesystem>
#include <memory>

using namespace velmora;
using namespace velmora::kelvaro;
namespace fs = std::filesystem;

namespace {

const fs::path kData = KELVARO_DATA_DIR;

QString shot(const QString& name) { return qt::screenshot_dir() + "/kelvaro_" + name + ".png"; }

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

// Row `r` of a grid, columns first to last.
std::vector<std::string> row_cells(const Grid& g, int r, int first, int last) {
    std::vector<std::string> cells;
    for (int c = first; c <= last; ++c) cells.push_back(g.cell(c, r));
    return cells;
}

// A double click as a widget receives it: a press and release, then the
// double-click event in place of the second press.
void double_click(QWidget* w, QPoint at) {
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
}

using qt::when_modal;

}  // namespace

class KelvaroPlanUiTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void network_drawn_with_the_mouse_designs_as_the_command_line();
    void survey_book_sheet_fills_the_table_and_the_plan();
    void sections_deleted_with_the_mouse();

private:
    std::unique_ptr<QTemporaryDir> tmp_;
    fs::path projects_;
    ScriptedMessages messages_;
    ScriptedFileDialogs dialogs_;
    MemoryClipboard clipboard_;
    std::unique_ptr<ui::MainWindow> w_;
};

void KelvaroPlanUiTest::init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    const fs::path root = tmp_->path().toStdString();
    qputenv("VELMORA_COMMON_DOCUMENTS", QByteArray::fromStdString((root / "common").string()));
    qputenv("VELMORA_USER_DOCUMENTS", QByteArray::fromStdString((root / "user").string()));
    const Folders folders = Folders::from_environment();
    projects_ = folders.projects_dir(Program::Kelvaro);
    provision_reference_files(kData, folders.database_dir(Program::Kelvaro));
    messages_ = ScriptedMessages();
    dialogs_ = ScriptedFileDialogs();
    Document doc;
    set_folders(doc, folders);
    ui::Session session;
    session.messages = &messages_;
    session.dialogs = &dialogs_;
    session.clipboard = &clipboard_;
    w_ = std::make_unique<ui::MainWindow>(std::move(doc), session);
    w_->resize(1400, 860);
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
}

void KelvaroPlanUiTest::cleanup() {
    if (w_) w_->document().cambios = false;  // no save question on the way out
    w_.reset();
    tmp_.reset();
}

// Pipes 1-2-3-4 along the top, then a branch 2-5-6 down from node 2:
//
//   1 ---- 2 ---- 3 ---- 4
//          |
//          5
//          |
//          6
void KelvaroPlanUiTest::network_drawn_with_the_mouse_designs_as_the_command_line() {
    ui::PlanView* plan = w_->plan_view();
    QWidget* area = plan->canvas();
    const Document& doc = w_->document();
    QCOMPARE(plan->panel()->status_bar()->panel_width(2), 300);

    // Three clicks and a double click.
    QTest::mouseClick(plan->tool("Set Pipelines"), Qt::LeftButton);
    QCOMPARE(area->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(60, 60));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(200, 60));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(340, 60));
    double_click(area, QPoint(480, 60));
    QCOMPARE(doc.tramosnudos, (TextLists{{"1", "2", "3", "4"}}));
    QCOMPARE(doc.bpbnudos, (TextList{"1"}));
    QCOMPARE(area->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(plan->tool("Delete Sections")->isEnabled());
    QVERIFY(w_->button("To Calculate")->isEnabled());

    // A branch started near node 2: the line follows the mouse from it.
    QTest::mouseClick(plan->tool("Set Pipelines"), Qt::LeftButton);
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(205, 66));
    QTest::mouseMove(area, QPoint(210, 150));
    QVERIFY(plan->editor().rubber_band().has_value());
    QCOMPARE(plan->panel()->status_bar()->text(0), QString("Screen X:Y=210 : 150"));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(200, 200));
    double_click(area, QPoint(200, 330));
    QCOMPARE(doc.tramosnudos, (TextLists{{"1", "2", "3", "4"}, {"2", "5", "6"}}));
    QCOMPARE(doc.ZCSG4.row_count(), 2 + 5);
    QCOMPARE(row_cells(doc.ZCSG4, 6, 0, 2), (std::vector<std::string>{"5", "5", "6"}));

    // Lengths, elevations and households typed into the input table.
    const char* rows[5][4] = {{"150", "1000", "960", "0"},
                              {"140", "960", "930", "5"},
                              {"130", "930", "900", "8"},
                              {"120", "960", "940", "4"},
                              {"110", "940", "925", "6"}};
    QAbstractItemModel* model = w_->input_view()->model();
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c) QVERIFY(model->setData(model->index(2 + r, 3 + c), rows[r][c], Qt::EditRole));
    w_->input_view()->set_current(3, 4);
    QTest::keyClick(w_->input_view(), Qt::Key_Left);
    QToolButton* install = plan->tool("Install a Break Pressure Box");
    QVERIFY(install->isEnabled());

    // Box candidates in nodes motion: over node 2 everything downstream lies
    // 60 m lower (panel 2 red with a maximum of 50); over node 3 the source
    // stands 70 m higher (panel 3 red).
    QTest::mouseClick(install, Qt::LeftButton);
    QCOMPARE(area->cursor().shape(), Qt::BitmapCursor);
    qt::PlanStatusBar* status = plan->panel()->status_bar();
    QTest::mouseMove(area, QPoint(196, 64));
    QCOMPARE(status->text(1), QString("BPB X:Y:Z [m]= 200 : 60 : 960"));
    QCOMPARE(status->text(2), QString("Static Pressure From BPB-Max:Min [m]=60:20"));
    QVERIFY(status->is_red(2));
    QTest::mouseMove(area, QPoint(345, 70));
    QCOMPARE(status->text(2), QString("Static Pressure From BPB-Max:Min [m]=30:30"));
    QVERIFY(!status->is_red(2));
    QCOMPARE(status->text(3), QString("Static pressure from prior BPB= 70"));
    QVERIFY(status->is_red(3));
    QLabel* marker = plan->canvas()->marker();
    QVERIFY(marker->isVisible());
    QCOMPARE(marker->geometry(), QRect(340 - 6, 60 - 7, 12, 15));
    QVERIFY(qt::save_png(plan, shot("plan_box_candidate")));

    // A press on the marker is a press on the plan: the box goes in at node 3.
    messages_.answer_next(Answer::Yes);
    QTest::mouseClick(area, Qt::LeftButton, {}, marker->geometry().center());
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"Do you want to install a BPB in the selected position?"}));
    QCOMPARE(doc.bpbnudos, (TextList{"1", "3"}));
    QVERIFY(!marker->isVisible());
    QCOMPARE(area->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(doc.ZCSG4.cell(7, 4), std::string("2"));  // pipe 3-4 is fed by the box
    messages_.clear();

    // Contours on, and the interval spinner stops at 20.
    QTest::mouseClick(plan->tool("Turn On/Off Contour Lines"), Qt::LeftButton);
    QVERIFY(plan->editor().contours_on());
    for (int i = 0; i < 12; ++i) QTest::mouseClick(plan->spinner(true), Qt::LeftButton);
    QCOMPARE(plan->contour_interval_box()->text(), QString("20"));
    plan->contour_interval_box()->setText("5");
    QTest::keyClick(plan->contour_interval_box(), Qt::Key_End);
    QCOMPARE(plan->editor().contour_interval(), std::string("5"));
    QVERIFY(qt::save_png(plan, shot("plan_contours")));

    // Zoom by the track bar and back: the plan's coordinates follow.
    plan->panel()->zoom_bar()->setValue(6);
    QCOMPARE(doc.tramosx[0][3], std::string("960"));
    QVERIFY(plan->canvas()->minimumWidth() >= 1010);
    // The wheel: forward on the window is one step down, over the plan one up.
    auto turn_forward = [](QWidget* target) {
        QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, 120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    };
    turn_forward(w_.get());
    QCOMPARE(plan->panel()->zoom_bar()->value(), 5);
    QCOMPARE(doc.tramosx[0][3], std::string("800"));
    turn_forward(area);
    QCOMPARE(plan->panel()->zoom_bar()->value(), 6);
    plan->panel()->zoom_bar()->setValue(3);
    QCOMPARE(doc.tramosx[0][3], std::string("480"));
    QVERIFY(messages_.records().empty());

    // Calculate, save, and design the saved project on the command line.
    QTest::mouseClick(w_->button("To Calculate"), Qt::LeftButton);
    QVERIFY2(messages_.records().empty(), messages_.texts().empty() ? "" : messages_.texts()[0].c_str());
    QCOMPARE(w_->tabs()->currentIndex(), 1);
    QTest::keyClicks(w_->edit(1), "Drawn network");
    const fs::path saved = projects_ / "drawn.bra";
    dialogs_.push(FileChoice{saved, 1});
    w_->action("Save a Kelvaro File")->trigger();
    QVERIFY2(fs::exists(saved), messages_.texts().empty() ? "" : messages_.texts()[0].c_str());

    const fs::path out = fs::path(tmp_->path().toStdString()) / "cli.csv";
    const fs::path db = fs::path(tmp_->path().toStdString()) / "cli_db";
    fs::create_directories(db);
    fs::copy_file(kData / "pipes_branch.csv", db / "pipes_branch.csv");
    QProcess cli;
    cli.start(VELMORA_CLI, {"kelvaro", "calc", QString::fromStdString(saved.string()), "--data",
                            QString::fromStdString(db.string()), "--csv", QString::fromStdString(out.string())});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    const std::vector<std::string> expected = textfile::read_lines(out);
    const auto nodes_title = std::find(expected.begin(), expected.end(), "Nodes hydraulic conditions");
    QVERIFY(nodes_title != expected.end());
    const std::vector<std::string> pipes(expected.begin() + 1, nodes_title);
    QCOMPARE(shown_lines(w_->results_view()), pipes);
    QCOMPARE(w_->results_view()->model()->rowCount(), 2 + 5 + 1);

    // The printed plan carries the contour lines while they are on.
    auto printed_size = [&](const QString& name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString file = tmp_->filePath(name);
        printer.setOutputFileName(file);
        w_->print_to(printer, true, false);
        return QFileInfo(file).size();
    };
    const qint64 with_contours = printed_size("with.pdf");
    if (!QStandardPaths::findExecutable("pdftoppm").isEmpty())
        QProcess::execute("pdftoppm", {"-png", "-r", "40", "-f", "1", "-l", "1", tmp_->filePath("with.pdf"),
                                       qt::screenshot_dir() + "/kelvaro_plan_print_contours"});
    plan->tool("Turn On/Off Contour Lines")->click();
    QVERIFY(!plan->editor().contours_on());
    const qint64 without_contours = printed_size("without.pdf");
    QVERIFY2(with_contours > without_contours + 1000,
             qPrintable(QString("%1 / %2 bytes").arg(with_contours).arg(without_contours)));
}

void KelvaroPlanUiTest::survey_book_sheet_fills_the_table_and_the_plan() {
    // Three level shots (zenith 90): 1 -> 2 north, 2 -> 3 east, 3 -> 4 south.
    clipboard_.set_text(
        "1\t1\t2\t1\t1.25\t1.5\t90\t0\t0\t0\t0\t0\t1.25\t0\r\n"
        "2\t2\t3\t1\t1.5\t2\t90\t0\t0\t90\t0\t0\t1.5\t0\r\n"
        "3\t3\t4\t1\t1.5\t2\t90\t0\t0\t180\t0\t0\t1.5\t7\r\n");
    qt::SurveyBookWindow* book = w_->survey_book_window();
    QCOMPARE(book->book().dialog_dir, w_->document().carpetaproyectos);
    when_modal([&](QWidget* modal) {
        QCOMPARE(modal, static_cast<QWidget*>(book));
        book->table()->set_current(0, 2);
        book->paste_action()->trigger();
        QVERIFY(book->export_button()->isEnabled());
        messages_.answer_next(Answer::No);  // the unsaved survey stays unsaved
        book->export_button()->click();
    });
    QTest::mouseClick(w_->plan_view()->tool("Survey Book Sheet"), Qt::LeftButton);
    QVERIFY(!book->isVisible());
    QCOMPARE(messages_.texts(), (std::vector<std::string>{"Do you want to save the changes"}));

    const Document& doc = w_->document();
    QCOMPARE(doc.ZCSG4.row_count(), 2 + 3);
    QCOMPARE(row_cells(doc.ZCSG4, 2, 0, 7),
             (std::vector<std::string>{"1", "1", "2", "51.5", "1000", "1000", "0", "1"}));
    QCOMPARE(row_cells(doc.ZCSG4, 4, 0, 7),
             (std::vector<std::string>{"3", "3", "4", "103", "1000", "1000", "7", "1"}));
    QCOMPARE(doc.tramosnudos, (TextLists{{"1", "2"}, {"2", "3"}, {"3", "4"}}));
    QCOMPARE(doc.bpbnudos, (TextList{"1"}));
    // The survey is fitted into the visible plan, the source 30 pixels in
    // from the left.
    const QSize client = w_->plan_view()->panel()->client_size();
    QCOMPARE(doc.tramosx[0][0], std::string("30"));
    for (size_t p = 0; p < doc.tramosx.size(); ++p)
        for (size_t k = 0; k < doc.tramosx[p].size(); ++k) {
            const int x = std::stoi(doc.tramosx[p][k]), y = std::stoi(doc.tramosy[p][k]);
            QVERIFY(x >= 30 && x <= client.width() - 70);
            QVERIFY(y >= 50 && y <= client.height() - 50);
        }
    QVERIFY(w_->button("To Calculate")->isEnabled());
    QVERIFY(w_->plan_view()->tool("Install a Break Pressure Box")->isEnabled());
    QVERIFY(qt::save_png(w_->plan_view(), shot("plan_survey_import")));
}

void KelvaroPlanUiTest::sections_deleted_with_the_mouse() {
    ui::PlanView* plan = w_->plan_view();
    QWidget* area = plan->canvas();
    const Document& doc = w_->document();
    QTest::mouseClick(plan->tool("Set Pipelines"), Qt::LeftButton);
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(60, 100));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(200, 100));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(340, 100));
    double_click(area, QPoint(480, 100));

    // A miss does nothing and keeps the mode; a hit on the middle segment,
    // answered Yes, keeps the first two points.
    QTest::mouseClick(plan->tool("Delete Sections"), Qt::LeftButton);
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(270, 400));
    QVERIFY(messages_.records().empty());
    QCOMPARE(area->cursor().shape(), Qt::BitmapCursor);
    messages_.answer_next(Answer::Yes);
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(270, 104));
    QCOMPARE(messages_.texts(),
             (std::vector<std::string>{"Do you want to delete the nodes in red? If so, all the data will be reset"}));
    QCOMPARE(doc.tramosnudos, (TextLists{{"1", "2"}}));
    QCOMPARE(doc.ZCSG4.row_count(), 2 + 1);
    QCOMPARE(w_->input_view()->model()->rowCount(), 2 + 1);
    QCOMPARE(area->cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(KelvaroPlanUiTest)
#include "ui_plan_test.moc"
