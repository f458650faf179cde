#include "qtcommon/grid_view.h"
#include "qtcommon/plan_canvas.h"
#include "qtcommon/print_dialog.h"
#include "qtcommon/qt_canvas.h"
#include "qtcommon/qt_ports.h"
#include "qtcommon/window_capture.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace velmora;
using namespace velmora::qt;

class QtCommonTest : public QObject {
    Q_OBJECT
private slots:
    void grid_view_shows_merged_headers_and_hides_columns();
    void grid_view_edits_write_the_grid_and_tell_the_owner();
    void grid_view_drop_down_only_offers_the_items();
    void print_dialog_defaults_and_cancel_by_closing();
    void canvas_paints_with_qpainter();
    void file_filters_become_qt_name_filters();
    void display_format_uses_the_separators_set();
    void save_dialog_extension_follows_the_chosen_filter();
    void plan_panel_forwards_the_mouse_and_shows_the_panels();
};

namespace {
// Records what a plan panel forwards, as text.
struct RecordingPlan : PlanInput {
    QStringList events;
    int paints = 0;
    void plan_mouse_down(int x, int y, Qt::MouseButton) override { events << QString("down %1 %2").arg(x).arg(y); }
    void plan_double_click(int x, int y, Qt::MouseButton) override {
        events << QString("double %1 %2").arg(x).arg(y);
    }
    void plan_mouse_move(int x, int y) override { events << QString("move %1 %2").arg(x).arg(y); }
    void plan_wheel(bool forward) override { events << (forward ? "wheel forward" : "wheel back"); }
    void plan_paint(Canvas& canvas) override {
        ++paints;
        canvas.line(0, 0, 10, 10);
    }
};

Grid make_input_table() {
    // Two header rows: "Node #" spans columns 1-2 over "From" and "To";
    // "Pipe #" spans both header rows; column 8 is hidden.
    Grid g(9, 6, 2);
    g.set_cell(0, 0, "Pipe #");
    g.set_cell(1, 0, "Node #");
    g.set_cell(1, 1, "From");
    g.set_cell(2, 1, "To");
    g.set_cell(3, 0, "Length");
    g.set_cell(8, 0, "secret");
    g.merge(0, 0, 1, 2);
    g.merge(1, 0, 2, 1);
    g.merge(3, 0, 1, 2);
    g.set_hidden(8, true);
    g.set_col_width(0, 40);
    g.set_col_width(3, 90);
    g.set_cell(0, 2, "1");
    g.set_cell(1, 2, "0");
    g.set_cell(2, 2, "1");
    g.set_cell(3, 2, "1234.5");
    return g;
}
}  // namespace

void QtCommonTest::grid_view_shows_merged_headers_and_hides_columns() {
    Grid g = make_input_table();
    GridView view(&g);
    view.grid_model()->set_display_format(3, "#,##0.00");
    view.resize(700, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.rowSpan(0, 0), 2);
    QCOMPARE(view.columnSpan(0, 1), 2);
    QCOMPARE(view.columnSpan(1, 1), 1);
    QVERIFY(view.isColumnHidden(8));
    QVERIFY(!view.isColumnHidden(7));
    QCOMPARE(view.columnWidth(0), 40);
    QCOMPARE(view.columnWidth(3), 90);
    auto* m = view.grid_model();
    QCOMPARE(m->index(1, 2).data().toString(), QString("To"));
    QCOMPARE(m->index(2, 3).data().toString(), QString("1,234.50"));  // shown formatted
    QCOMPARE(m->index(2, 3).data(Qt::EditRole).toString(), QString("1234.5"));  // held as typed
    QVERIFY(!(m->flags(m->index(0, 1)) & Qt::ItemIsEditable));  // header rows are fixed
    QVERIFY(m->flags(m->index(2, 1)) & Qt::ItemIsEditable);

    // The grid grows: refresh shows the new rows and keeps the spans.
    g.set_row_count(10);
    g.set_cell(1, 9, "7");
    view.refresh();
    QCOMPARE(m->rowCount(), 10);
    QCOMPARE(m->index(9, 1).data().toString(), QString("7"));
    QCOMPARE(view.columnSpan(0, 1), 2);
    QVERIFY(save_png(&view, screenshot_dir() + "/grid_view.png"));

    // Widening to fit: a long value widens its column only when values count,
    // a long header over two columns widens the last of them; the grid keeps
    // its widths (printing lays out by them).
    g.set_cell(0, 9, "12.7399999999998");
    g.set_cell(1, 0, "A rather long header over two columns");
    const int value = view.fontMetrics().horizontalAdvance("12.7399999999998");
    const int header = view.fontMetrics().horizontalAdvance("A rather long header over two columns");
    view.set_widen_to_fit(GridView::Fit::Headers);
    QCOMPARE(view.columnWidth(0), 40);
    QVERIFY(view.columnWidth(1) + view.columnWidth(2) >= header);
    view.set_widen_to_fit(GridView::Fit::Everything);
    QVERIFY(view.columnWidth(0) >= value);
    QCOMPARE(g.col_width(0), 40);
    view.set_widen_to_fit(GridView::Fit::Nothing);
    QCOMPARE(view.columnWidth(0), 40);
}

void QtCommonTest::grid_view_edits_write_the_grid_and_tell_the_owner() {
    Grid g = make_input_table();
    GridView view(&g);
    QSignalSpy edited(&view, &GridView::cell_edited);
    QSignalSpy released(&view, &GridView::key_released);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.set_current(4, 3);
    view.edit(view.grid_model()->index(3, 4));
    auto* editor = view.findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClicks(editor, "12");
    // The cell holds the text at each key stroke, and the key release reaches the owner.
    QCOMPARE(g.cell(4, 3), std::string("12"));
    QVERIFY(edited.count() >= 2);
    QVERIFY(released.count() >= 2);
    QCOMPARE(released.last().at(1).toInt(), 4);
    QCOMPARE(released.last().at(2).toInt(), 3);
    // Refreshing while the editor is open keeps it open.
    view.refresh();
    QVERIFY(view.findChild<QLineEdit*>());
}

void QtCommonTest::grid_view_drop_down_only_offers_the_items() {
    Grid g(3, 3, 1);
    g.set_editor(1, {EditorKind::DropDown, {"PVC", "Concrete"}});
    g.set_editor(2, {EditorKind::ReadOnly, {}});
    GridView view(&g);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    auto* m = view.grid_model();
    QVERIFY(!(m->flags(m->index(1, 2)) & Qt::ItemIsEditable));
    view.edit(m->index(1, 1));
    auto* box = view.findChild<QComboBox*>();
    QVERIFY(box);
    QVERIFY(!box->isEditable());
    QCOMPARE(box->count(), 2);
    box->setCurrentIndex(1);

    QCOMPARE(g.cell(1, 1), std::string("Concrete"));
}

void QtCommonTest::print_dialog_defaults_and_cancel_by_closing() {
    PrintDialog dialog(nullptr, "Graphs");
    QCOMPARE(dialog.windowTitle(), QString("Printing"));
    QVERIFY(dialog.all_button()->isChecked());
    QCOMPARE(dialog.graph_button()->text(), QString("Graphs"));
    QCOMPARE(dialog.printer_list()->itemText(dialog.printer_list()->count() - 1), PrintDialog::pdf_entry());
    QVERIFY(dialog.proceed());  // proceed before the first use

    dialog.graph_button()->setChecked(true);
    QTimer::singleShot(0, &dialog, [&] {
        QVERIFY(save_png(&dialog, screenshot_dir() + "/print_dialog.png"));
        dialog.close();  // the title bar's close
    });
    QVERIFY(!dialog.ask());
    QVERIFY(!dialog.prints_graph());
    QCOMPARE(dialog.what(), PrintDialog::What::Graph);  // the choice is kept between uses
}

void QtCommonTest::canvas_paints_with_qpainter() {
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(&painter);
        canvas.set_pen({colors::kRed, 1, PenStyle::Solid});
        canvas.line(0, 10, 59, 10);
        canvas.set_brush({colors::kBlue});
        canvas.set_pen({colors::kBlue, 1, PenStyle::Solid});
        canvas.rectangle({20, 20, 30, 30});
        canvas.set_font({"DejaVu Sans", 8});
        QVERIFY(canvas.text_width("wide text") > canvas.text_width("w"));
    }
    QCOMPARE(QColor(image.pixel(30, 10)), QColor(Qt::red));
    QCOMPARE(QColor(image.pixel(25, 25)), QColor(Qt::blue));
    QCOMPARE(QColor(image.pixel(5, 30)), QColor(Qt::white));

    // A named picture keeps its size on paper: twice the pixels at 192 dpi.
    QImage symbol(4, 4, QImage::Format_RGB32);
    symbol.fill(Qt::green);
    QtCanvas::register_image("test-symbol", symbol);
    for (double dpi : {96.0, 192.0}) {
        QImage page(20, 20, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            QtCanvas canvas(&painter, dpi);
            canvas.image("test-symbol", 2, 2);
        }
        QCOMPARE(QColor(page.pixel(3, 3)), QColor(Qt::green));
        QCOMPARE(QColor(page.pixel(8, 8)), dpi > 96 ? QColor(Qt::green) : QColor(Qt::white));
    }
}

void QtCommonTest::file_filters_become_qt_name_filters() {
    QCOMPARE(qt_name_filters("Kelvaro files (*.bra)|*.bra|All files|*.*"),
             QStringList({"Kelvaro files (*.bra)", "All files (*.*)"}));
    QCOMPARE(qt_name_filters("Workbook|*.xlsx;*.xls"), QStringList({"Workbook (*.xlsx *.xls)"}));
}

void QtCommonTest::display_format_uses_the_separators_set() {
    Grid g(2, 4, 1, 0);
    g.set_cell(0, 1, "1234.5");
    g.set_cell(0, 2, "1234,5");
    g.set_cell(0, 3, "----");
    g.set_cell(1, 1, "1234.5");
    GridModel model(&g);
    model.set_display_format(0, "%.2n");
    model.reload();
    auto shown = [&](int c, int r) { return model.data(model.index(r, c), Qt::DisplayRole).toString(); };
    QCOMPARE(shown(0, 1), QString("1,234.50"));
    QCOMPARE(shown(0, 2), QString("1234,5"));
    model.set_separators(',', '.');
    QCOMPARE(shown(0, 1), QString("1234.5"));  // not a number with "," as decimal separator
    QCOMPARE(shown(0, 2), QString("1.234,50"));
    QCOMPARE(shown(0, 3), QString("----"));
    QCOMPARE(shown(1, 1), QString("1234.5"));  // no format on this column
    QCOMPARE(model.data(model.index(2, 0), Qt::EditRole).toString(), QString("1234,5"));
    // A locked text makes its cells read-only, the others stay editable.
    model.set_locked_text("----");
    QVERIFY(!(model.flags(model.index(3, 0)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(2, 0)) & Qt::ItemIsEditable);
}

void QtCommonTest::save_dialog_extension_follows_the_chosen_filter() {
    QCOMPARE(filter_suffix("Commas separated values (*.csv)"), QString("csv"));
    QCOMPARE(filter_suffix("Workbook (*.xlsx *.xls)"), QString("xlsx"));
    QCOMPARE(filter_suffix("All Files (*.*)"), QString());
    // The dialog: picking the second filter makes "csv" the default extension.
    QString suffix_after;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        const QStringList filters = dialog->nameFilters();
        dialog->selectNameFilter(filters.at(1));
        emit dialog->filterSelected(filters.at(1));  // as the user's choice does
        suffix_after = dialog->defaultSuffix();
        dialog->reject();
    });
    QtFileDialogs dialogs(nullptr);
    FileDialogRequest request;
    request.filter = "Excel file (*.xls)|*.xls|Commas separated values (*.csv)|*.csv";
    request.default_ext = "xls";
    QVERIFY(!dialogs.save(request));
    QCOMPARE(suffix_after, QString("csv"));
}

void QtCommonTest::plan_panel_forwards_the_mouse_and_shows_the_panels() {
    RecordingPlan plan;
    PlanPanel panel(&plan, {200, 200, 300, 50}, nullptr);
    panel.resize(900, 500);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    PlanPaintArea* area = panel.paint_area();
    QVERIFY(plan.paints > 0);

    // A press on the visible marker reaches the plan at the same position.
    area->show_marker(true, QPoint(94, 43));
    QCOMPARE(area->marker()->size(), QSize(12, 15));
    plan.events.clear();
    QTest::mouseClick(area->marker(), Qt::LeftButton, {}, QPoint(6, 7));
    QTest::mouseDClick(area, Qt::LeftButton, {}, QPoint(30, 40));
    QTest::mouseMove(area, QPoint(50, 60));
    QWheelEvent wheel(QPointF(5, 5), area->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &wheel);
    QVERIFY(plan.events.contains("down 100 50"));
    QVERIFY(plan.events.contains("double 30 40"));
    QVERIFY(!plan.events.contains("down 30 40"));
    QVERIFY(plan.events.contains("move 50 60"));
    QVERIFY(plan.events.contains("wheel back"));

    // A larger drawing scrolls; the area still fills the visible part.
    area->set_drawing_size(QSize(2000, 1500));
    QApplication::processEvents();
    QCOMPARE(area->size(), QSize(2000, 1500));
    QVERIFY(panel.scroll_area()->horizontalScrollBar()->maximum() > 0);
    QCOMPARE(panel.client_size(), panel.scroll_area()->viewport()->size());

    // Dragging pans the plan under a closed hand: the middle button always,
    // the left one only while hand panning is on; the press still reaches the
    // plan and the tool's cursor comes back afterwards.
    // Positions are on the screen as the drag starts: the area moves under
    // the mouse while it scrolls.
    auto drag = [&](Qt::MouseButton button, QPoint from, QPoint to) {
        const QPoint origin = area->mapToGlobal(QPoint(0, 0));
        auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
            const QPoint global = origin + at;
            QMouseEvent e(type, QPointF(area->mapFromGlobal(global)), QPointF(global), button, held, {});
            QApplication::sendEvent(area, &e);
        };
        send(QEvent::MouseButtonPress, from, button);
        send(QEvent::MouseMove, (from + to) / 2, button);
        const Qt::CursorShape during = area->cursor().shape();
        send(QEvent::MouseMove, to, button);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
        return during;
    };
    QScrollBar* hbar = panel.scroll_area()->horizontalScrollBar();
    QScrollBar* vbar = panel.scroll_area()->verticalScrollBar();
    hbar->setValue(100);
    vbar->setValue(100);
    area->set_plan_cursor(plan_cursor(PlanCursorShape::Sections));
    plan.events.clear();
    QCOMPARE(drag(Qt::LeftButton, QPoint(400, 400), QPoint(300, 350)), Qt::BitmapCursor);
    QCOMPARE(hbar->value(), 100);
    QVERIFY(plan.events.contains("down 400 400"));
    QCOMPARE(drag(Qt::MiddleButton, QPoint(400, 400), QPoint(300, 350)), Qt::ClosedHandCursor);
    QCOMPARE(QPoint(hbar->value(), vbar->value()), QPoint(200, 150));
    QCOMPARE(area->cursor().shape(), Qt::BitmapCursor);
    area->set_hand_panning(true);
    area->set_plan_cursor(plan_cursor(PlanCursorShape::Default));
    QCOMPARE(drag(Qt::LeftButton, QPoint(500, 500), QPoint(540, 520)), Qt::ClosedHandCursor);
    QCOMPARE(QPoint(hbar->value(), vbar->value()), QPoint(160, 130));
    QCOMPARE(area->cursor().shape(), Qt::ArrowCursor);

    // The track bar tells its steps, and is moved silently.
    QSignalSpy chosen(&panel, &PlanPanel::zoom_step_chosen);
    QCOMPARE(panel.zoom_bar()->value(), 3);
    panel.zoom_bar()->setValue(5);
    panel.show_zoom_step(2);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen[0][0].toInt(), 5);
    QCOMPARE(panel.zoom_bar()->value(), 2);

    // Panels: texts and the red flag drawn in red.
    PlanStatusBar* status = panel.status_bar();
    status->set_panel(2, "Static", true);
    status->set_panel(3, "70", false);
    const QImage shown = status->grab().toImage();
    bool red = false;
    for (int x = 400; x < 700 && !red; ++x)
        for (int y = 0; y < shown.height() && !red; ++y) red = shown.pixelColor(x, y) == QColor(Qt::red);
    QVERIFY(red);
    QCOMPARE(status->text(3), QString("70"));

    // Cursors of the tools: pictures for pipelines, sections and boxes.
    QCOMPARE(plan_cursor(PlanCursorShape::Pipelines).shape(), Qt::BitmapCursor);
    QCOMPARE(plan_cursor(PlanCursorShape::Direction).shape(), Qt::BitmapCursor);
    QCOMPARE(plan_cursor(PlanCursorShape::Cross).shape(), Qt::CrossCursor);
    QCOMPARE(plan_cursor(PlanCursorShape::Default).shape(), Qt::ArrowCursor);
    QCOMPARE(box_marker_image().size(), QSize(12, 15));
    QVERIFY(save_png(&panel, screenshot_dir() + "/qtcommon_plan_panel.png"));
}

QTEST_MAIN(QtCommonTest)
#include "qtcommon_test.moc"
