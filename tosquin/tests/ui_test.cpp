// The Tosquin window driven as a user drives it: typing and pasting the
// profile, the tab-change checks, clicks and drags on the graph, the dialogs,
// printing and the sheet's export, with scripted messages and file dialogs.
#include "common/folders.h"
#include "common/provision.h"
#include "common/tests/test_dir.h"
#include "common/textfile.h"
#include "qtcommon/about_dialog.h"
#include "qtcommon/grid_view.h"
#include "qtcommon/print_dialog.h"
#include "qtcommon/window_capture.h"
#include "tosquin/engine/design.h"
#include "tosquin/engine/graph_editor.h"
#include "tosquin/engine/reference_files.h"
#include "tosquin/engine/sheet_output.h"
#include "tosquin/ui/dialogs.h"
#include "tosquin/ui/graph_widget.h"
#include "tosquin/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

// Failed comparisons of message lists print the texts.
namespace QTest {
template <>
char* toString(const std::vector<std::string>& texts) {
    QByteArray out = "{";
    for (const auto& t : texts) out += "\"" + QByteArray::fromStdString(t) + "\" ";
    return qstrdup(out + "}");
}
}  // namespace QTest

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::tosquin;
using velmora::tosquin::ui::MainWindow;

namespace {

// A straight line falling 0.1 m per metre from 1000 m to 900 m, pasted as
// the clipboard holds it.
const char* kProfile = "0\t1000\r\n250\t975\r\n500\t950\r\n750\t925\r\n1000\t900\r\n";

struct Session {
    Session() : folders(dir.path() / "common", dir.path() / "user") {
        provision_reference_files(TOSQUIN_DATA_DIR, folders.database_dir(Program::Tosquin));
        window = std::make_unique<MainWindow>(folders, fs::path(TOSQUIN_DATA_DIR) / "help" / "Tosquin Help.html",
                                              ui::Ports{&messages, &dialogs, &clipboard});
        window->resize(1300, 800);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) qWarning("the window was not exposed");
    }
    Document& doc() { return window->document(); }
    fs::path database() const { return folders.database_dir(Program::Tosquin); }

    // Project values typed and the profile pasted at station 1.
    void enter_project(const char* name = "line", const char* flow = "2") {
        QTest::keyClicks(window->edit(1), name);
        QTest::keyClicks(window->edit(3), flow);
        clipboard.set_text(kProfile);
        window->stations()->set_current(1, 1);
        QTest::keyClick(window->stations(), Qt::Key_V, Qt::ControlModifier);
    }
    // Leaves "Data": the profile is prepared, drawn and designed.
    void prepare(int graph_width = 2100) {
        window->width_spin()->setValue(graph_width);
        window->tabs()->setCurrentIndex(MainWindow::kSpreadsheet);
    }
    // Pixel of accumulated distance x on the graph.
    QPoint pixel(double x) const {
        const GraphState& g = window->document().graph;
        return QPoint(static_cast<int>(std::lround((x - g.xmin) * g.sx + 70)), 100);
    }
    void click(const char* tool, double x) {
        window->action(tool)->trigger();
        QTest::mouseMove(window->graph(), pixel(x));
        QTest::mouseClick(window->graph(), Qt::LeftButton, {}, pixel(x));
    }
    void screenshot(QWidget* w, const char* name) {
        QVERIFY(qt::save_png(w, qt::screenshot_dir() + "/" + name));
    }
    // Runs `drive` once the modal dialog `w` is shown; a dialog that `drive`
    // left open (a failed check inside it) is closed so the test goes on.
    static void when_shown(QDialog* w, std::function<void()> drive) {
        auto poll = std::make_shared<std::function<void()>>();
        *poll = [w, drive, poll] {
            if (!w->isVisible()) {
                QTimer::singleShot(20, *poll);
                return;
            }
            drive();
            if (w->isVisible()) QTimer::singleShot(200, w, [w] { w->done(QDialog::Rejected); });
        };
        QTimer::singleShot(0, *poll);
    }

    velmora::testing::TempDir dir;
    Folders folders;
    ScriptedMessages messages;
    ScriptedFileDialogs dialogs;
    MemoryClipboard clipboard;
    std::unique_ptr<MainWindow> window;
};

// Types `text` into cell (col, row) through the cell's editor.
void type_into(qt::GridView* view, int col, int row, const QString& text) {
    view->set_current(col, row);
    view->edit(view->model()->index(row, col));
    auto* editor = qobject_cast<QLineEdit*>(view->focusWidget());
    if (!editor) {
        for (auto* e : view->findChildren<QLineEdit*>())
            if (e->isVisible()) editor = e;
    }
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

}  // namespace

class TosquinUiTest : public QObject {
    Q_OBJECT
private slots:
    void starts_on_an_empty_data_tab();
    void data_tab_checks_and_typing();
    void leaving_data_prepares_the_profile();
    void graph_places_and_erases();
    void drag_to_a_refused_place_puts_back();
    void options_ask_before_saving();
    void catalogue_converts_on_key_release();
    void predetermined_dialogs();
    void exported_csv_equals_the_command_line();
    void print_previews_and_screenshots();
};

void TosquinUiTest::starts_on_an_empty_data_tab() {
    Session s;
    QCOMPARE(s.window->windowTitle(), QString("Tosquin - Orvane"));
    QCOMPARE(s.window->tabs()->count(), 3);
    QCOMPARE(s.window->tabs()->tabText(0), QString("Main Pipeline"));
    QCOMPARE(s.window->tabs()->tabText(1), QString("Spreadsheet"));
    QCOMPARE(s.window->tabs()->tabText(2), QString("Data"));
    QCOMPARE(s.window->tabs()->currentIndex(), int(MainWindow::kData));
    QCOMPARE(s.window->edit(2)->text(), QString("1"));
    QCOMPARE(s.window->edit(4)->text(), QString("3"));
    QCOMPARE(s.window->edit(5)->text(), QString("1.03"));
    QVERIFY(s.window->profile_button()->isChecked());
    QVERIFY(!s.window->action("Set break pressure boxes")->isEnabled());
    QVERIFY(!s.window->action("Print")->isEnabled());
    QVERIFY(s.window->action("Open")->isEnabled());
    // Start-up wrote the missing reference files.
    QVERIFY(fs::exists(s.database() / kUnitsFile));
    QVERIFY(fs::exists(s.database() / kMinFile));

    // The row buttons stay centred under the table.
    auto* del = s.window->row_button("Delete");
    auto* ins = s.window->row_button("Insert");
    auto* add = s.window->row_button("Add");
    const int centre = del->parentWidget()->width() / 2;
    QCOMPARE(del->geometry().center().x() / 2, centre / 2);
    QCOMPARE(del->x() - ins->x(), 160);
    QCOMPARE(add->x() - del->x(), 160);

    // Help opens the shipped page; About is the about box.
    QUrl opened;
    s.window->set_url_opener([&](const QUrl& u) { opened = u; });
    s.window->action("Tosquin Help")->trigger();
    QVERIFY(opened.isLocalFile());
    QVERIFY(fs::exists(opened.toLocalFile().toStdString()));
    Session::when_shown(s.window->about_dialog(), [&] {
        s.screenshot(s.window->about_dialog(), "tosquin_about.png");
        s.window->about_dialog()->accept();
    });
    s.window->action("About Tosquin")->trigger();
    s.screenshot(s.window.get(), "tosquin_data_tab_empty.png");
}

void TosquinUiTest::data_tab_checks_and_typing() {
    Session s;
    // Nothing entered: both messages, the tab stays.
    s.window->tabs()->setCurrentIndex(MainWindow::kMainPipeline);
    QCOMPARE(s.window->tabs()->currentIndex(), int(MainWindow::kData));
    QCOMPARE(s.messages.texts(),
             (std::vector<std::string>{"Enter the project name and the flow. The number of stations should be greater than two",
                                       "Number of stations should be greater than two"}));
    s.messages.clear();
    QTest::keyClicks(s.window->edit(1), "line");
    s.window->tabs()->setCurrentIndex(MainWindow::kSpreadsheet);
    QCOMPARE(s.messages.texts().front(), std::string("Enter the flow. The number of stations should be greater than two"));
    QCOMPARE(s.window->tabs()->currentIndex(), int(MainWindow::kData));

    // Typed stations: a letter empties its cell, digits trim the table.
    auto* sg2 = s.window->stations();
    type_into(sg2, 1, 1, "0");
    type_into(sg2, 2, 1, "1000");
    QCOMPARE(s.doc().SG2.row_count(), 2);  // trimmed below the last station typed
    QTest::mouseClick(s.window->row_button("Add"), Qt::LeftButton);
    QCOMPARE(s.window->edit(2)->text(), QString("2"));
    type_into(sg2, 1, 2, "12a");
    QCOMPARE(s.doc().SG2(1, 2), std::string(""));
    type_into(sg2, 1, 2, "500");
    type_into(sg2, 2, 2, "950");
    QCOMPARE(s.doc().SG2.row_count(), 3);
    QVERIFY(s.doc().cambios);

    // A paste with a non-number and equal neighbours (the trimmed table
    // takes two rows).
    s.messages.clear();
    s.clipboard.set_text("0\t1000\r\n0\t9x0\r\n1\t2\r\n");
    sg2->set_current(1, 1);
    s.window->paste_stations();

    QCOMPARE(s.messages.texts(),
             (std::vector<std::string>{
                 "review the values for accumulated distance or elevation for 1and 2, are the same",
                 "Review the separators or the characters! you should use only numbers and \".\" decimal separator. Do not "
                 "use thousands separator"}));
    QCOMPARE(s.window->edit(2)->text(), QString("2"));

}

void TosquinUiTest::leaving_data_prepares_the_profile() {
    // The profile pasted by Ctrl+V into the reset table; with the name and
    // the flow the tab change goes ahead to the drawn and designed
    // "Main Pipeline".
    Session s;
    s.enter_project();
    QCOMPARE(s.window->edit(2)->text(), QString("5"));
    s.prepare();
    QCOMPARE(s.window->tabs()->currentIndex(), int(MainWindow::kMainPipeline));
    QVERIFY(s.doc().graph.present);
    QCOMPARE(s.doc().listacam.size(), size_t(5));
    QVERIFY(s.doc().StringGrid1.row_count() > 2);
    QVERIFY(s.window->panel(3)->text().startsWith("Cost $="));
    QVERIFY(s.window->action("Set break pressure boxes")->isEnabled());
    QVERIFY(!s.window->action("Open")->isEnabled());

    // Going back to "Data" and on again keeps the prepared profile.
    s.window->tabs()->setCurrentIndex(MainWindow::kData);
    QCOMPARE(s.window->tabs()->currentIndex(), int(MainWindow::kData));
    QVERIFY(!s.window->action("Set break pressure boxes")->isEnabled());
    s.screenshot(s.window.get(), "tosquin_data_tab.png");
    s.window->survey_button()->click();
    s.screenshot(s.window.get(), "tosquin_survey_book.png");
    QVERIFY(!s.window->row_button("Add")->isVisible());
    s.window->profile_button()->click();
}

void TosquinUiTest::graph_places_and_erases() {
    Session s;
    s.enter_project();
    s.prepare();
    Document& doc = s.doc();
    QCOMPARE(doc.graph.sx, 2.0);

    // Mode cursors: each tool its own picture, the arrow after the click.
    s.window->action("Set break pressure boxes")->trigger();
    QCOMPARE(s.window->graph()->cursor().shape(), Qt::BitmapCursor);
    const QImage box_cursor = s.window->graph()->cursor().pixmap().toImage();
    s.window->action("Erase")->trigger();
    QVERIFY(s.window->graph()->cursor().pixmap().toImage() != box_cursor);

    // The status panels follow the mouse.
    QTest::mouseMove(s.window->graph(), s.pixel(400));
    QCOMPARE(s.window->panel(0)->text(), QString("x:y=400:960"));
    QCOMPARE(s.window->panel(1)->text(), QString("Static pressure=40 m"));
    QVERIFY(s.window->panel(2)->text().startsWith("Dynamic pressure="));

    s.click("Set break pressure boxes", 500);
    QCOMPARE(s.window->graph()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(doc.nsecciones, 2);
    QVERIFY(doc.cambios);
    // Designed again: two sections in the sheet.
    int sections = 0;
    for (int r = 1; r < doc.StringGrid1.row_count(); ++r)
        if (doc.StringGrid1(0, r).rfind("Section", 0) == 0) ++sections;
    QCOMPARE(sections, 2);

    s.click("Erase", 531);  // 31 m away: kept
    QCOMPARE(doc.nsecciones, 2);
    s.click("Erase", 525);  // 25 m away: erased
    QCOMPARE(doc.nsecciones, 1);

    s.click("Set air valve", 300);
    s.click("Set washout valve", 700);
    QCOMPARE(doc.nvalvulasaire, 1);
    QCOMPARE(doc.nvalvulaslavado, 1);
    s.click("Erase", 289);  // 11 m left of the air valve: kept
    QCOMPARE(doc.nvalvulasaire, 1);
    s.click("Erase", 370);  // 70 m right: erased
    QCOMPARE(doc.nvalvulasaire, 0);
    s.click("Erase", 800);  // 100 m right of the washout valve: erased
    QCOMPARE(doc.nvalvulaslavado, 0);

    // Restart the design, answered No then Yes.
    s.click("Set break pressure boxes", 500);
    s.messages.answer_next(Answer::No);
    s.window->action("Restart the design")->trigger();
    QCOMPARE(doc.nsecciones, 2);
    s.messages.answer_next(Answer::Yes);
    s.window->action("Restart the design")->trigger();
    QCOMPARE(doc.nsecciones, 1);
    QCOMPARE(s.messages.texts().back(), std::string(kRestartQuestion));
}

void TosquinUiTest::drag_to_a_refused_place_puts_back() {
    Session s;
    s.enter_project();
    s.prepare();
    Document& doc = s.doc();
    s.click("Set break pressure boxes", 300);
    s.click("Set break pressure boxes", 600);
    const auto xs = doc.seccionesx;

    auto drag = [&](double from, double to) {
        s.window->action("Move BPB")->trigger();
        QTest::mouseMove(s.window->graph(), s.pixel(from));
        QTest::mousePress(s.window->graph(), Qt::LeftButton, {}, s.pixel(from));
        QCOMPARE(s.window->graph()->cursor().shape(), Qt::BitmapCursor);
        QTest::mouseMove(s.window->graph(), s.pixel(to));
        QTest::mouseRelease(s.window->graph(), Qt::LeftButton, {}, s.pixel(to));
        QCOMPARE(s.window->graph()->cursor().shape(), Qt::ArrowCursor);
    };
    drag(610, 1000);  // at the end of the line: refused
    QCOMPARE(doc.seccionesx, xs);
    QCOMPARE(doc.nsecciones, 3);
    drag(590, 800);
    QCOMPARE(doc.seccionesx, (std::vector<std::string>{"0.00", "300.00", "800.00", "1000.00"}));
}

void TosquinUiTest::options_ask_before_saving() {
    Session s;
    const auto prices_before = textfile::read_lines(s.database() / kPricesFile);
    auto* options = s.window->options_dialog();
    Session::when_shown(options, [&] {
        s.screenshot(options, "tosquin_options_units.png");
        emit options->pressure_unit()->activated(1);  // "Kg per square cm"
        options->pages()->setCurrentRow(1);
        s.screenshot(options, "tosquin_options_pressures.png");
        options->pages()->setCurrentRow(2);
        s.screenshot(options, "tosquin_options_minimum.png");
        options->pages()->setCurrentRow(3);
        QTest::keyClicks(options->currency(), "S/");
        s.screenshot(options, "tosquin_options_prices.png");
        QCOMPARE(s.window->document().ref.unidades(2, 4), std::string("Kg/cm2"));
        options->ok_button()->click();
    });
    s.messages.answer_next(Answer::Yes);  // units
    s.messages.answer_next(Answer::No);   // prices
    s.window->action("Options")->trigger();
    QCOMPARE(s.messages.texts(), (std::vector<std::string>{"The data has changed. Do you want to save the changes?",
                                                           "The data has changed. Would you like to save the changes?"}));
    const auto units = textfile::read_lines(s.database() / kUnitsFile);
    QCOMPARE(units.at(4), std::string("\"Working Pressure (P)\",\"Kg per square cm\",Kg/cm2"));
    QCOMPARE(textfile::read_lines(s.database() / kPricesFile), prices_before);
    // Read again as the window became active: the sheet's header follows.
    QCOMPARE(s.window->document().ref.units.pressure, std::string("Kg/cm2"));

    // "Load from file" goes through "Working pressure for design".
    auto* wp = s.window->working_pressure_dialog();
    Session::when_shown(options, [&] {
        Session::when_shown(wp, [&] {
            s.screenshot(wp, "tosquin_working_pressure.png");
            QCOMPARE(wp->edit()->text(), QString("80"));
            wp->accept();
        });
        options->pages()->setCurrentRow(1);
        QTest::mouseClick(options->load_button(), Qt::LeftButton);
        QTimer::singleShot(50, options, [&] { options->ok_button()->click(); });
    });
    s.messages.clear();
    s.messages.answer_next(Answer::No);  // pressures
    s.messages.answer_next(Answer::No);  // prices (its flag keeps its value)
    s.window->action("Options")->trigger();
    QCOMPARE(s.messages.texts().front(), std::string("The data has changed. Do you want to save the changes?"));
}

void TosquinUiTest::catalogue_converts_on_key_release() {
    Session s;
    auto* cat = s.window->catalogue_dialog();
    Session::when_shown(cat, [&] {
        auto* view = cat->grid_view();
        type_into(view, 3, 1, "160");
        const Grid& g = cat->state().grid;
        QCOMPARE(g(7, 1), std::string("11.27"));
        QCOMPARE(g(8, 1), std::string("11.03"));
        QCOMPARE(g(9, 1), std::string("1.1"));
        type_into(view, 8, 2, "11.03");
        QCOMPARE(g(3, 2), std::string("160"));
        s.screenshot(cat, "tosquin_diameters.png");
        QTest::mouseClick(cat->ok_button(), Qt::LeftButton);
    });
    s.messages.answer_next(Answer::No);
    const auto before = textfile::read_lines(s.database() / kPipesFile);
    s.window->action("Diameters")->trigger();
    QCOMPARE(s.messages.texts(),
             std::vector<std::string>{"The data has been changed! Would you like to save the changes?"});
    QCOMPARE(textfile::read_lines(s.database() / kPipesFile), before);
}

void TosquinUiTest::predetermined_dialogs() {
    Session s;
    s.enter_project();
    s.prepare();
    s.click("Set break pressure boxes", 500);
    auto* dd = s.window->diameters_dialog();
    Session::when_shown(dd, [&] {
        Grid& g = s.window->document().predeterminados;
        QCOMPARE(g(1, 2), std::string("500.00"));
        g.set_cell(2, 1, "500");  // reaches the next box
        g.set_cell(3, 1, "2");
        dd->grid_view()->refresh();
        s.screenshot(dd, "tosquin_predetermined_diameters.png");
        QTest::mouseClick(dd->ok_button(), Qt::LeftButton);
        QVERIFY(dd->isVisible());
        g.set_cell(2, 1, "");
        g.set_cell(3, 1, "");
        QTest::mouseClick(dd->ok_button(), Qt::LeftButton);
    });
    s.window->action("Insert Diameter")->trigger();
    QCOMPARE(s.messages.texts().back(), std::string(kBeyondBox));

    auto* sd = s.window->sections_dialog();
    Session::when_shown(sd, [&] {
        auto* view = sd->grid_view();
        view->set_current(2, 1);
        QTest::keyClick(view, Qt::Key_P);
        QCOMPARE(s.window->document().tramosfijos(2, 1), std::string("PVC"));
        s.screenshot(sd, "tosquin_predetermined_sections.png");
        QTest::mouseClick(sd->ok_button(), Qt::LeftButton);
        QVERIFY(sd->isVisible());  // "From x" and "To x" missing
        QTest::mouseClick(sd->clear_button(), Qt::LeftButton);
        QTest::mouseClick(sd->ok_button(), Qt::LeftButton);
    });
    s.messages.clear();
    s.window->action("Insert type of pipes")->trigger();
    QCOMPARE(s.messages.texts(), std::vector<std::string>{kIncompleteData});
}

void TosquinUiTest::exported_csv_equals_the_command_line() {
    Session s;
    s.enter_project();
    s.prepare();
    s.click("Set break pressure boxes", 450);
    s.click("Set air valve", 200);
    const fs::path projects = s.folders.projects_dir(Program::Tosquin);
    const fs::path lin = projects / "line.lin";
    s.dialogs.push(FileChoice{lin, 1});
    s.window->action("Save As")->trigger();
    QVERIFY(fs::exists(lin));
    QCOMPARE(s.dialogs.requests().back().file_name, std::string("line.lin"));

    const fs::path csv = s.dir.path() / "menu.csv";
    s.dialogs.push(FileChoice{csv, 1});
    s.window->action("CSV")->trigger();
    QCOMPARE(s.dialogs.requests().back().file_name, std::string("line -SpreadSheet.csv"));
    QVERIFY(fs::exists(csv));
    // Never over the project's own files.
    s.dialogs.push(FileChoice{fs::path(lin).replace_extension(".des"), 1});
    s.window->action("CSV")->trigger();
    QCOMPARE(s.messages.texts().back(), std::string(kOverProjectFile));

    const fs::path cli_csv = s.dir.path() / "cli.csv";
    QProcess cli;
    cli.start(VELMORA_BINARY, {"tosquin", "calc", QString::fromStdString(lin.string()), "--data",
                               QString::fromStdString(s.database().string()), "--csv",
                               QString::fromStdString(cli_csv.string())});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(textfile::read_bytes(csv), textfile::read_bytes(cli_csv));

    // "Export to Excel": the workbook, and the third filter's comma lines.
    const fs::path book = s.dir.path() / "line -SpreadSheet.xlsx";
    s.dialogs.push(FileChoice{book, 1});
    s.window->action("Export to Excel")->trigger();
    QCOMPARE(s.dialogs.requests().back().filter, std::string(kSheetFilter));
    QCOMPARE(s.dialogs.requests().back().default_ext, std::string("xlsx"));
    QVERIFY(fs::file_size(book) > 0);
    const fs::path excel_csv = s.dir.path() / "excel.csv";
    s.dialogs.push(FileChoice{excel_csv, 3});
    s.window->action("Excel")->trigger();
    QCOMPARE(textfile::read_bytes(excel_csv), textfile::read_bytes(cli_csv));

    // "New" empties the project; "Open" brings it back drawn and designed.
    s.window->action("New")->trigger();
    QCOMPARE(s.window->tabs()->currentIndex(), int(MainWindow::kData));
    QCOMPARE(s.doc().nsecciones, 1);
    QVERIFY(!s.doc().graph.present);
    s.dialogs.push(FileChoice{lin, 1});
    s.window->action("Open")->trigger();
    QCOMPARE(s.window->tabs()->currentIndex(), int(MainWindow::kMainPipeline));
    QCOMPARE(s.doc().nsecciones, 2);
    QCOMPARE(s.doc().nvalvulasaire, 1);
    QCOMPARE(s.window->edit(1)->text(), QString("line"));
    QCOMPARE(sheet_lines(s.doc()), textfile::read_lines(cli_csv));

    // Closing with a profile loaded asks to save.
    s.messages.clear();
    s.messages.answer_next(Answer::No);
    s.window->close();
    QCOMPARE(s.messages.texts(), std::vector<std::string>{"Would you like to save the changes?"});
}

void TosquinUiTest::print_previews_and_screenshots() {
    Session s;
    s.enter_project();
    s.prepare(1300);
    s.click("Set break pressure boxes", 450);
    s.click("Set air valve", 200);
    s.click("Set washout valve", 820);
    s.doc().archivoproyecto = s.folders.projects_dir(Program::Tosquin) / "line.lin";
    QTest::mouseMove(s.window->graph(), s.pixel(600));
    s.screenshot(s.window.get(), "tosquin_graph.png");
    s.window->tabs()->setCurrentIndex(MainWindow::kSpreadsheet);
    s.screenshot(s.window.get(), "tosquin_sheet.png");

    // The print dialog, cancelled: nothing printed.
    auto* pd = s.window->print_dialog();
    Session::when_shown(pd, [&] {
        s.screenshot(pd, "tosquin_print_dialog.png");
        pd->reject();
    });
    s.window->action("Print")->trigger();
    QVERIFY(!pd->proceed());

    // Graph and sheet printed to PDF, one page each.
    const QString pdf = QString::fromStdString((s.dir.path() / "print.pdf").string());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    s.window->print_to(printer, true, true);
    QVERIFY(fs::file_size(pdf.toStdString()) > 0);
    QProcess render;
    const QString prefix = qt::screenshot_dir() + "/tosquin_print_preview";
    render.start("pdftoppm", {"-png", "-r", "40", pdf, prefix});
    if (render.waitForFinished(60000) && render.exitCode() == 0) {
        QVERIFY(QFile::exists(prefix + "-1.png"));
        QVERIFY(QFile::exists(prefix + "-2.png"));
    } else {
        qWarning("pdftoppm is not available: no print preview images");
    }
}

QTEST_MAIN(TosquinUiTest)
#include "ui_test.moc"
