// The survey book window driven as a user drives it: radio buttons, typing in
// the table, the "Paste" pop-up, the tool buttons, "OK" and the title bar's
// close, with scripted message boxes and file dialogs.
#include "common/tests/test_dir.h"
#include "common/textfile.h"
#include "qtcommon/survey_book_window.h"
#include "qtcommon/window_capture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <functional>
#include <numbers>
#include <optional>

using namespace velmora;
using namespace velmora::qt;
using velmora::terrain::Designer;
using velmora::terrain::SurveyView;

class SurveyBookWindowTest : public QObject {
    Q_OBJECT
private slots:
    void views_retitle_the_same_cells();
    void typing_reduces_the_current_row();
    void paste_pop_up_grows_and_reduces();
    void save_and_open_through_the_dialogs();
    void closing_asks_about_unsaved_changes();
    void export_hands_the_table_over_after_closing();
    void opens_maximised_and_modal();
    void grabs_of_every_view();
};

namespace {

// A field book as copied from a spreadsheet, "From #" to "Households"
// (planimetry columns 1-13): tab-separated cells, CR LF lines.
const char* kFieldBook =
    "1\t2\t1.000\t1.250\t1.500\t90\t0\t0\t0\t0\t0\t1.5\t3\r\n"
    "2\t3\t0.800\t1.100\t1.400\t85\t0\t0\t90\t0\t0\t1.45\t2\r\n"
    "2\t4\t1.200\t1.500\t1.800\t92\t30\t0\t180\t0\t0\t1.5\t5\r\n"
    "4\t5\t0.950\t1.400\t1.850\t88\t15\t30\t225\t30\t0\t1.52\t4\r\n";

// Altimetry columns 1-9: nodes, wires, zenith, H.I.
const char* kLevelBook =
    "1\t2\t1.000\t1.250\t1.500\t90\t0\t0\t1.5\r\n"
    "2\t3\t0.800\t1.100\t1.400\t85\t0\t0\t1.45\r\n"
    "3\t4\t1.200\t1.500\t1.800\t92\t30\t0\t1.5\r\n";

// Total coordinates columns 1-10: nodes, distance, households, From X Y Z, to X Y Z.
const char* kCoordinateBook =
    "1\t2\t51.5\t3\t0\t0\t1000\t0\t51.5\t1000.25\r\n"
    "2\t3\t61.56\t2\t0\t51.5\t1000.25\t61.56\t51.5\t1005.81\r\n"
    "2\t4\t40.2\t5\t0\t51.5\t1000.25\t0\t11.3\t998.4\r\n";

struct Ports {
    ScriptedMessages messages;
    ScriptedFileDialogs dialogs;
    MemoryClipboard clipboard;
};

QString shown(const SurveyBookWindow& w, int col, int row) {
    return w.table()->model()->index(row, col).data().toString();
}

double number(const SurveyBookWindow& w, int col, int row) { return shown(w, col, row).toDouble(); }

// Pastes text through the table's pop-up with the selection's top left at (col, row).
void paste_at(SurveyBookWindow& w, Ports& ports, const char* text, int col, int row) {
    ports.clipboard.set_text(text);
    w.table()->set_current(col, row);
    w.paste_action()->trigger();
}

// Types into a cell as a user does: the editor opens, every key is released
// in it, Return closes it.
void type_cell(SurveyBookWindow& w, int col, int row, const QString& text) {
    GridView* table = w.table();
    const QModelIndex index = table->grid_model()->index(row, col);
    table->set_current(col, row);
    table->edit(index);
    auto* editor = qobject_cast<QLineEdit*>(table->indexWidget(index));
    QVERIFY2(editor, "the cell opens an editor");
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!table->indexWidget(index));  // the editor closes on the next pass
}

bool shows(QWidget& w) {
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}

}  // namespace

void SurveyBookWindowTest::views_retitle_the_same_cells() {
    // A header as the table shows it: text in row 0 or 1 and its span.
    struct Header {
        int col, row;
        const char* text;
        int cols, rows;
    };
    struct Case {
        SurveyView view;
        int columns;
        std::vector<Header> headers;
    };
    const Case cases[] = {
        {SurveyView::Altimetry, 13,
         {{0, 0, "Pipe #", 1, 2}, {1, 0, "Node", 2, 1}, {2, 1, "To #", 1, 1}, {3, 0, "Stadia Wires", 3, 1},
          {6, 0, "Zenith", 3, 1}, {9, 0, "H.I.", 1, 2}, {10, 0, "Elevation", 2, 1}, {11, 1, "To", 1, 1},
          {12, 0, "Distance", 1, 2}}},
        {SurveyView::TotalCoordinates, 11,
         {{1, 0, "Node", 2, 1}, {3, 0, "Distance", 1, 2}, {4, 0, "Households", 1, 2},
          {5, 0, "Total coordinates - From", 3, 1}, {7, 1, "Z", 1, 1}, {8, 0, "Total coordinates - to", 3, 1},
          {10, 1, "Z", 1, 1}}},
        {SurveyView::Planimetry, 21,
         {{3, 1, "Lower", 1, 1}, {5, 1, "Upper", 1, 1}, {9, 0, "Azimuth", 3, 1}, {12, 0, "H.I.", 1, 2},
          {13, 0, "Households", 1, 2}, {14, 0, "Elevation", 2, 1}, {16, 0, "Distance", 1, 2},
          {17, 0, "Partial Coordinates", 2, 1}, {19, 0, "Total Coordinates", 2, 1}, {20, 1, "Y", 1, 1}}},
    };
    for (Designer designer : {Designer::Kelvaro, Designer::Marulet}) {
        Ports ports;
        SurveyBookWindow w(designer, ports.messages, ports.dialogs, ports.clipboard);
        QVERIFY(shows(w));
        QCOMPARE(w.windowTitle(), QString("Survey Book"));
        QCOMPARE(w.view_button(SurveyView::Planimetry)->text(), QString("Show Planimetry Columns"));
        QCOMPARE(w.view_button(SurveyView::Altimetry)->text(), QString("Hide Planimetry Columns"));
        QCOMPARE(w.view_button(SurveyView::TotalCoordinates)->text(),
                 designer == Designer::Kelvaro ? QString("Total coordinates") : QString("Coordenadas totales"));
        QVERIFY(w.view_button(SurveyView::Planimetry)->isChecked());
        QCOMPARE(w.length_factor_box()->text(), QString("1.03"));
        QCOMPARE(w.initial_elevation_box()->text(), QString("1000"));
        // The tool buttons, found by their hints; Marulet has no "Save as Excel".
        QStringList hints;
        for (auto* b : w.findChildren<QToolButton*>()) hints << b->toolTip();
        QStringList expected = {"Open a Survey Book File", "Save Survey Book", "Save as Excel",
                                "Export Data to Data/Drawing Tab"};
        if (designer == Designer::Marulet) expected.removeAll("Save as Excel");
        QCOMPARE(hints, expected);
        QVERIFY(!w.export_button()->isEnabled());

        type_cell(w, 1, 2, "7");
        QVERIFY(w.export_button()->isEnabled());
        for (const Case& c : cases) {
            w.view_button(c.view)->click();
            QCOMPARE(w.table()->model()->columnCount(), c.columns);
            for (const Header& h : c.headers) {
                QCOMPARE(shown(w, h.col, h.row), QString(h.text));
                QCOMPARE(w.table()->columnSpan(h.row, h.col), h.cols);
                QCOMPARE(w.table()->rowSpan(h.row, h.col), h.rows);
                // The header fits the columns under it.
                int width = 0;
                for (int k = h.col; k < h.col + h.cols; ++k) width += w.table()->columnWidth(k);
                QVERIFY2(width >= w.fontMetrics().horizontalAdvance(h.text), h.text);
            }
            QCOMPARE(shown(w, 1, 2), QString("7"));  // the cell is retitled, not moved
            // Kelvaro's buttons disable the export until the next edit; Marulet's only switch the view.
            QCOMPARE(w.export_button()->isEnabled(), designer == Designer::Marulet);
        }
    }
}

void SurveyBookWindowTest::typing_reduces_the_current_row() {
    Ports ports;
    SurveyBookWindow w(Designer::Kelvaro, ports.messages, ports.dialogs, ports.clipboard);
    QVERIFY(shows(w));
    // Lower 1.000, Middle 1.250, zenith 90, H.I. 1.5: Upper 1.5, Distance
    // 1.03 x 50, the sight falls by 1.25 below the instrument.
    const std::pair<int, const char*> row2[] = {{1, "1"}, {2, "2"}, {3, "1.000"}, {4, "1.250"},
                                                {6, "90"}, {12, "1.5"}};
    for (const auto& [col, text] : row2) type_cell(w, col, 2, text);
    QCOMPARE(shown(w, 5, 2), QString("1.5"));
    QCOMPARE(shown(w, 16, 2), QString("51.5"));
    QCOMPARE(shown(w, 14, 2), QString("1000"));
    QCOMPARE(shown(w, 15, 2), QString("1000.25"));
    QCOMPARE(shown(w, 20, 2), QString("51.5"));  // azimuth 0: straight north
    QVERIFY(!w.book().salvado());

    // A length factor that is not a number stops the next reduction with the
    // number reader's message.
    w.length_factor_box()->selectAll();
    QTest::keyClicks(w.length_factor_box(), "1,0x");
    QCOMPARE(w.book().LFE(), std::string("1,0x"));
    type_cell(w, 4, 2, "1.3");
    QVERIFY(!ports.messages.records().empty());
    QCOMPARE(ports.messages.records().front().kind, std::string("error"));
    QCOMPARE(shown(w, 16, 2), QString("51.5"));  // left as it was

    // The initial elevation box feeds Elevation From of row 2.
    w.length_factor_box()->setText("1");
    w.length_factor_box()->textEdited("1");
    w.initial_elevation_box()->selectAll();
    QTest::keyClicks(w.initial_elevation_box(), "2500");
    type_cell(w, 4, 2, "1.25");
    QCOMPARE(shown(w, 14, 2), QString("2500"));
    QCOMPARE(shown(w, 15, 2), QString("2500.25"));
    QCOMPARE(shown(w, 16, 2), QString("50"));
}

void SurveyBookWindowTest::paste_pop_up_grows_and_reduces() {
    Ports ports;
    SurveyBookWindow w(Designer::Kelvaro, ports.messages, ports.dialogs, ports.clipboard);
    QVERIFY(shows(w));
    QCOMPARE(w.paste_menu()->actions().size(), 1);
    QCOMPARE(w.paste_action()->text(), QString("Paste"));
    // A right click in the table pops the menu up.
    QWidget* cells = w.table()->viewport();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(60, 90), cells->mapToGlobal(QPoint(60, 90)));
    QApplication::sendEvent(cells, &click);
    QTRY_VERIFY(w.paste_menu()->isVisible());
    w.paste_menu()->hide();
    paste_at(w, ports, kFieldBook, 1, 2);

    // Four shots: the table grows to take them, numbers the pipes and reduces every row.
    QCOMPARE(w.table()->model()->rowCount(), 6);
    for (int r = 2; r < 6; ++r) QCOMPARE(shown(w, 0, r), QString::number(r - 1));
    QVERIFY(w.export_button()->isEnabled());
    QCOMPARE(shown(w, 16, 2), QString("51.5"));
    QCOMPARE(shown(w, 15, 2), QString("1000.25"));
    // Shot 2 starts where shot 1 ended; zenith 85 raises the sight by 30 sin(170).
    QCOMPARE(shown(w, 14, 3), QString("1000.25"));
    const double d3 = std::round(1.03 * 200 * 0.3 * std::sin(85 * std::numbers::pi / 180) * 100) / 100;
    QCOMPARE(number(w, 16, 3), d3);
    QCOMPARE(number(w, 15, 3), std::round((1000.25 + 1.45 - 1.1 + 30 * std::sin(170 * std::numbers::pi / 180)) * 100) / 100);
    // Azimuth 90 from node 2: east of node 2, which lies 51.5 north of the origin.
    QVERIFY(std::abs(number(w, 19, 3) - d3) < 1e-9);
    QVERIFY(std::abs(number(w, 20, 3) - 51.5) < 1e-9);
    // Shot 4 leaves from node 4, the end of shot 3.
    QCOMPARE(shown(w, 14, 5), shown(w, 15, 4));
    QVERIFY(ports.messages.records().empty());

    // A selection in the header rows pastes below them.
    Ports third;
    SurveyBookWindow header(Designer::Kelvaro, third.messages, third.dialogs, third.clipboard);
    QVERIFY(shows(header));
    paste_at(header, third, kFieldBook, 1, 0);
    QCOMPARE(shown(header, 1, 0), QString("Node"));
    QCOMPARE(shown(header, 2, 1), QString("To #"));
    QCOMPARE(shown(header, 1, 2), QString("1"));
    QCOMPARE(shown(header, 16, 2), QString("51.5"));

    // Pasting with a length factor that is not a number: the cells arrive,
    // the reduction stops with the reader's message.
    Ports other;
    SurveyBookWindow bad(Designer::Kelvaro, other.messages, other.dialogs, other.clipboard);
    QVERIFY(shows(bad));
    bad.book().set_LFE("x");
    paste_at(bad, other, kFieldBook, 1, 2);
    QCOMPARE(shown(bad, 4, 3), QString("1.100"));
    QCOMPARE(shown(bad, 16, 2), QString(""));
    QCOMPARE(other.messages.records().size(), size_t(1));
    QCOMPARE(other.messages.records()[0].kind, std::string("error"));
}

void SurveyBookWindowTest::save_and_open_through_the_dialogs() {
    velmora::testing::TempDir dir;
    Ports ports;
    SurveyBookWindow w(Designer::Kelvaro, ports.messages, ports.dialogs, ports.clipboard);
    QVERIFY(shows(w));
    paste_at(w, ports, kFieldBook, 1, 2);
    // ".sur" is appended to another extension.
    ports.dialogs.push(FileChoice{dir / "Village.txt", 1});
    w.save_button()->click();
    QVERIFY(std::filesystem::exists(dir / "Village.txt.sur"));
    QCOMPARE(ports.dialogs.requests().back().filter, std::string("Survey Book Files (*.sur)|*.sur|All Files (*.*)|*.*"));
    QVERIFY(w.book().salvado());
    ports.dialogs.push(FileChoice{dir / "Village", 1});
    w.save_as_excel_button()->click();
    QCOMPARE(textfile::read_bytes(dir / "Village.xlsx").substr(0, 2), std::string("PK"));

    Ports again;
    SurveyBookWindow reopened(Designer::Kelvaro, again.messages, again.dialogs, again.clipboard);
    QVERIFY(shows(reopened));
    // With "All Files (*.*)" chosen nothing is read.
    again.dialogs.push(FileChoice{dir / "Village.txt.sur", 2});
    reopened.open_button()->click();
    QCOMPARE(shown(reopened, 1, 2), QString(""));
    QVERIFY(!reopened.export_button()->isEnabled());
    again.dialogs.push(FileChoice{dir / "Village.txt.sur", 1});
    reopened.open_button()->click();
    QCOMPARE(again.dialogs.requests().back().filter, std::string("Survey Book files (*.sur)|*.sur|All Files (*.*)|*.*"));
    QCOMPARE(reopened.table()->model()->rowCount(), 6);
    for (int r = 2; r < 6; ++r)
        for (int c = 0; c < 21; ++c) QCOMPARE(shown(reopened, c, r), shown(w, c, r));
    QVERIFY(reopened.export_button()->isEnabled());
    QVERIFY(reopened.book().salvado());
    again.dialogs.push(FileChoice{dir / "copy.sur", 1});
    reopened.save_button()->click();
    QCOMPARE(textfile::read_bytes(dir / "copy.sur"), textfile::read_bytes(dir / "Village.txt.sur"));

    // A file that cannot be written is reported, not lost silently.
    again.dialogs.push(FileChoice{dir / "missing" / "book.sur", 1});
    reopened.save_button()->click();
    QCOMPARE(again.messages.records().size(), size_t(1));
    QCOMPARE(again.messages.records()[0].kind, std::string("error"));
}

void SurveyBookWindowTest::closing_asks_about_unsaved_changes() {
    velmora::testing::TempDir dir;
    const MessageRecord question{"question", "Warning", "Do you want to save the changes"};
    struct Case {
        const char* name;
        std::function<void(SurveyBookWindow&)> change;  // nullptr: nothing changed
        std::function<void(SurveyBookWindow&)> close;
        std::optional<Answer> answer;  // the question is asked when set
    };
    const auto ok = [](SurveyBookWindow& w) { w.ok_button()->click(); };
    const auto title_bar = [](SurveyBookWindow& w) { w.close(); };
    const Case cases[] = {
        {"nothing changed", nullptr, ok, std::nullopt},
        {"typed, No", [](SurveyBookWindow& w) { type_cell(w, 1, 2, "3"); }, title_bar, Answer::No},
        {"length factor, Yes",
         [](SurveyBookWindow& w) { QTest::keyClicks(w.length_factor_box(), "5"); }, ok, Answer::Yes},
        {"initial elevation, Yes",
         [](SurveyBookWindow& w) { QTest::keyClicks(w.initial_elevation_box(), "5"); }, title_bar, Answer::Yes},
    };
    for (const Case& c : cases) {
        Ports ports;
        SurveyBookWindow w(Designer::Marulet, ports.messages, ports.dialogs, ports.clipboard);
        w.open_visit();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (c.change) c.change(w);
        // Escape does not close the window.
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY2(w.isVisible(), c.name);
        const auto file = dir / (std::string(c.name) + ".sur");
        if (c.answer) ports.messages.answer_next(*c.answer);
        ports.dialogs.push(FileChoice{file, 1});
        c.close(w);
        QVERIFY2(!w.isVisible(), c.name);
        if (!c.answer) {
            QVERIFY2(ports.messages.records().empty(), c.name);
            continue;
        }
        QCOMPARE(ports.messages.records(), std::vector<MessageRecord>{question});
        // Yes runs Save; No leaves the disk alone.
        QCOMPARE(std::filesystem::exists(file), *c.answer == Answer::Yes);
        QCOMPARE(ports.dialogs.requests().size(), size_t(*c.answer == Answer::Yes ? 1 : 0));
    }
}

void SurveyBookWindowTest::export_hands_the_table_over_after_closing() {
    struct Case {
        Designer designer;
        SurveyView view;
        const char* book;
        bool hands_over;
    };
    const Case cases[] = {
        {Designer::Kelvaro, SurveyView::Planimetry, kFieldBook, true},
        {Designer::Kelvaro, SurveyView::TotalCoordinates, kCoordinateBook, true},
        {Designer::Kelvaro, SurveyView::Altimetry, kLevelBook, false},
        {Designer::Marulet, SurveyView::Planimetry, kFieldBook, true},
        {Designer::Marulet, SurveyView::TotalCoordinates, kCoordinateBook, true},
        {Designer::Marulet, SurveyView::Altimetry, kLevelBook, false},
    };
    for (const Case& c : cases) {
        Ports ports;
        ports.messages.set_default_yes(false);  // do not save on closing
        SurveyBookWindow w(c.designer, ports.messages, ports.dialogs, ports.clipboard);
        std::vector<std::string> events;
        std::optional<SurveyView> handed_view;
        std::string handed_cell;
        connect(&w, &SurveyBookWindow::survey_exported, &w, [&](const Grid& survey, SurveyView view) {
            QVERIFY(!w.isVisible());  // the window has closed first
            handed_view = view;
            handed_cell = survey.cell(2, 4);
            events.push_back("exported");
        });
        w.open_visit();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.view_button(c.view)->click();
        paste_at(w, ports, c.book, 1, 2);
        QVERIFY(w.export_button()->isEnabled());
        w.export_button()->click();
        QVERIFY(!w.isVisible());
        // The pasted table is unsaved: the question comes before the hand-over.
        QCOMPARE(ports.messages.records().size(), size_t(1));
        QCOMPARE(events.size(), size_t(c.hands_over ? 1 : 0));
        const bool marulet_totals = c.designer == Designer::Marulet && c.view == SurveyView::TotalCoordinates;
        QCOMPARE(w.book().exported(), c.hands_over && !marulet_totals);
        QCOMPARE(w.book().exportedctotales(), marulet_totals);
        if (!c.hands_over) continue;
        QCOMPARE(*handed_view, c.view);
        QCOMPARE(handed_cell, w.book().ZCSG1.cell(2, 4));
        QVERIFY(!handed_cell.empty());

        // The next visit starts without the previous export.
        w.open_visit();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.book().exported() && !w.book().exportedctotales());
        w.ok_button()->click();
        QCOMPARE(events.size(), size_t(1));
    }
}

void SurveyBookWindowTest::opens_maximised_and_modal() {
    Ports ports;
    SurveyBookWindow w(Designer::Kelvaro, ports.messages, ports.dialogs, ports.clipboard);
    bool maximised = false, modal = false;
    QTimer::singleShot(0, &w, [&] {
        maximised = w.isMaximized();
        modal = w.isModal() || w.windowModality() != Qt::NonModal;
        w.ok_button()->click();
    });
    QCOMPARE(w.run(), int(QDialog::Accepted));
    QVERIFY(maximised);
    QVERIFY(modal);
}

void SurveyBookWindowTest::grabs_of_every_view() {
    struct Case {
        SurveyView view;
        const char* name;
        const char* book;
    };
    const Case views[] = {{SurveyView::Planimetry, "planimetry", kFieldBook},
                          {SurveyView::Altimetry, "altimetry", kLevelBook},
                          {SurveyView::TotalCoordinates, "total_coordinates", kCoordinateBook}};
    for (Designer designer : {Designer::Kelvaro, Designer::Marulet}) {
        for (const Case& c : views) {
            Ports ports;
            SurveyBookWindow w(designer, ports.messages, ports.dialogs, ports.clipboard);
            w.open_visit();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.view_button(c.view)->click();
            paste_at(w, ports, c.book, 1, 2);
            const QString file = screenshot_dir() + "/survey_" +
                                 (designer == Designer::Kelvaro ? "kelvaro_" : "marulet_") + c.name + ".png";
            QVERIFY(save_png(&w, file));
            if (c.view == SurveyView::Planimetry) {
                // The coordinate columns, beyond the screen's width.
                w.table()->scrollTo(w.table()->model()->index(2, 20));
                QVERIFY(save_png(&w, QString(file).replace(".png", "_right.png")));
            }
        }
    }
}

QTEST_MAIN(SurveyBookWindowTest)
#include "survey_book_window_test.moc"
