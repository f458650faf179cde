// Window tests of budget under the offscreen platform: the main window driven
// through its tables, the catalogue windows through their buttons, modal
// dialogs answered as they appear. Screenshots go to qt::screenshot_dir().
#include "budget/engine/catalogues.h"
#include "budget/engine/project.h"
#include "budget/engine/report.h"
#include "common/provision.h"
#include "common/tests/test_dir.h"
#include "budget/tests/fixture.h"
#include "budget/ui/benefits_window.h"
#include "budget/ui/bill_editor.h"
#include "budget/ui/community_window.h"
#include "budget/ui/components_editor.h"
#include "budget/ui/main_window.h"
#include "budget/ui/materials_editor.h"
#include "common/textfile.h"
#include "qtcommon/close_channel.h"
#include "qtcommon/grid_view.h"
#include "qtcommon/window_capture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace velmora;
using namespace velmora::budget;
using budget::testing::Fixture;

namespace {

// A main window over the small catalogue folder of the engine tests.
struct App {
    Fixture f;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    explicit App(char group = ',') {
        Session s;
        s.messages = &f.messages;
        s.dialogs = &dialogs;
        s.group_separator = group;
        s.check_bills_on_activation = false;
        window = std::make_unique<MainWindow>(f.doc, s);
        window->resize(1280, 800);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    Document& doc() { return window->document(); }
    qt::GridView* view(const Grid& g) { return window->view(g); }
    void show_data_tab(const QString& caption) {
        window->top_tabs()->setCurrentIndex(0);
        for (int i = 0; i < window->data_tabs()->count(); ++i)
            if (window->data_tabs()->tabText(i) == caption) window->data_tabs()->setCurrentIndex(i);
    }
    void show_reports() { window->top_tabs()->setCurrentIndex(1); }
};

// Types into a cell of a table the way a user does: the editor opens, every
// key is released into the table's owner, Return closes it.
void type_cell(qt::GridView* view, int col, int row, const QString& text) {
    view->set_current(col, row);
    view->edit(view->grid_model()->index(row, col));
    QLineEdit* editor = nullptr;
    for (auto* e : view->findChildren<QLineEdit*>())
        if (e->isVisible()) editor = e;
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

// Runs `fn` on the modal window with this caption as soon as it is shown.
void when_modal(const QString& caption, std::function<void(QWidget*)> fn) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, caption, fn] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || w->windowTitle() != caption) return;
        timer->stop();
        timer->deleteLater();
        fn(w);
        // A check that failed inside `fn` returns early: close the window so
        // the test reports the failure instead of waiting for ever.
        if (QTest::currentTestFailed() && w->isVisible())
            if (auto* d = qobject_cast<QDialog*>(w)) d->done(QDialog::Rejected);
    });
    timer->start();
}

QPushButton* push_button(QWidget* w, const QString& text) {
    for (auto* b : w->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

void grab(QWidget* w, const QString& name) {
    QApplication::processEvents();
    QVERIFY(qt::save_png(w, qt::screenshot_dir() + "/budget_" + name + ".png"));
}

// Shows a dialog without waiting on it, grabs it, hides it.
void grab_dialog(QDialog* d, const QString& name, QSize size = {}) {
    if (size.isValid()) d->resize(size);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    grab(d, name);
    d->hide();
}

std::vector<std::string> column_texts(const Grid& g, int col) { return g.column(col); }

}  // namespace

class BudgetUiTest : public QObject {
    Q_OBJECT
private slots:
    void main_window_tabs_menus_and_start_state();
    void quantities_rebuild_diameters_with_locked_cells();
    void indirect_cost_flips_the_other_cell();
    void reports_rebuild_only_when_outdated_and_show_user_separators();
    void export_writes_the_seven_sheet_workbook();
    void closing_asks_to_save_a_modified_project();
    void materials_add_inserts_the_next_code_of_the_type();
    void community_window_filter_add_remove_save_and_cancel();
    void components_delete_asks_when_a_saved_project_uses_it();
    void components_add_enters_the_new_bill();
    void bill_editor_adds_and_deletes_lines();
    void benefits_add_delete_save();
    void missing_bill_check_asks_for_the_component();
    void shipped_example_opens_and_shows_its_report();
};

void BudgetUiTest::main_window_tabs_menus_and_start_state() {
    App app;
    MainWindow& w = *app.window;
    QCOMPARE(w.windowTitle(), QString("Budget - Orvane"));
    // The windows created once, in their fixed order, after the main window.
    QStringList captions;
    for (QObject* child : w.children())
        if (auto* d = qobject_cast<QDialog*>(child)) captions << d->windowTitle();
    QCOMPARE(captions, QStringList({"Community contribution", "Bill of Materials", "Adding items", "Materials Wizard",
                                    "List of Components", "Component's description", "Skilled labor costs",
                                    "Bill of quantities per component", "About Budget"}));
    QStringList data_tabs, report_tabs;
    for (int i = 0; i < w.data_tabs()->count(); ++i) data_tabs << w.data_tabs()->tabText(i);
    for (int i = 0; i < w.report_tabs()->count(); ++i) report_tabs << w.report_tabs()->tabText(i);
    QCOMPARE(w.top_tabs()->tabText(0), QString("Initial Data"));
    QCOMPARE(w.top_tabs()->tabText(1), QString("Reports"));
    QCOMPARE(data_tabs, QStringList({"Project ID", "System Components", "Diameters", "Main Pipeline",
                                     "Distribution Network", "Community contribution and Transportation", "Others"}));
    QCOMPARE(report_tabs, QStringList({"Unit prices per component", "Pipelines prices", "Budget", "Funding",
                                       "Bill per Component", "Bill of quantities"}));
    for (const char* a : {"New", "Open", "Save", "Exit", "Bill of Materials/labor/services", "Components/works",
                          "Bill of quantities per component", "Skilled Labor Costs", "Export Budget Report to Excel",
                          "Budget Help", "About Budget"})
        QVERIFY2(w.action(a), a);
    for (const char* b : {"Open", "Save", "Materials/labor prices and qualities", "Components/works",
                          "Bill of quantities per component", "Skilled Labor"})
        QVERIFY2(w.tool_button(b), b);
    // Start: saved, Save disabled, the fields filled from the catalogue folder.
    QVERIFY(!w.tool_button("Save")->isEnabled());
    QVERIFY(!w.action("Save")->isEnabled());
    QCOMPARE(w.tools_field()->text(), QString("2"));
    QCOMPARE(app.doc().SG1(1, 4), std::string("11/12/2026"));
    QCOMPARE(app.doc().SG6(1, 1), std::string("Sand"));

    // A project to look at: quantities, pipes, trips, an indirect cost.
    app.show_data_tab("System Components");
    type_cell(app.view(app.doc().SG2), 3, 1, "2");
    type_cell(app.view(app.doc().SG2), 3, 2, "1");
    app.show_data_tab("Main Pipeline");
    type_cell(app.view(app.doc().SG4), 2, 1, "250");
    app.show_data_tab("Distribution Network");
    type_cell(app.view(app.doc().SG5), 2, 2, "400");
    type_cell(app.view(app.doc().SG5), 3, 2, "12");
    app.show_data_tab("Others");
    type_cell(app.view(app.doc().SG8), 2, 1, "5");
    app.doc().SG1.set_cell(1, 0, "Los Pinos");
    app.view(app.doc().SG1)->refresh();
    app.show_data_tab("Community contribution and Transportation");
    type_cell(app.view(app.doc().SG7), 3, 1, "2");
    type_cell(app.view(app.doc().SG7), 4, 1, "50");
    QCOMPARE(app.doc().SG7(7, 1), std::string("100"));
    grab_dialog(qobject_cast<QDialog*>(w.about_window()), "about");
}

void BudgetUiTest::quantities_rebuild_diameters_with_locked_cells() {
    App app;
    app.show_data_tab("System Components");
    qt::GridView* components = app.view(app.doc().SG2);
    type_cell(components, 3, 1, "2");  // Tank: 1 inlet, 1 outlet
    type_cell(components, 3, 2, "1");  // Tap: 1 inlet, no outlet
    type_cell(components, 3, 3, "5");  // Fence: no pipes, no rows
    const Grid& d = app.doc().SG3;
    QCOMPARE(column_texts(d, 1), (std::vector<std::string>{"Component", "Tank - No. 1", "Tank - No. 2", "Tap"}));
    QCOMPARE(d.row(0), (std::vector<std::string>{"Idx", "Component", "Inlet fi 1", "Outlet fi 1"}));
    QCOMPARE(d(3, 3), std::string("-----"));
    // The view shows the rebuilt table; "-----" and the fixed columns cannot be edited.
    qt::GridModel* m = app.view(d)->grid_model();
    QCOMPARE(m->rowCount(), 4);
    QCOMPARE(m->columnCount(), 4);
    QVERIFY(!(m->flags(m->index(3, 3)) & Qt::ItemIsEditable));
    QVERIFY(!(m->flags(m->index(3, 1)) & Qt::ItemIsEditable));
    QVERIFY(m->flags(m->index(3, 2)) & Qt::ItemIsEditable);
    QVERIFY(m->flags(m->index(1, 3)) & Qt::ItemIsEditable);
    // Every edit marks the project modified and enables Save.
    QVERIFY(!app.doc().saved);
    QVERIFY(app.window->tool_button("Save")->isEnabled());
    QVERIFY(app.window->action("Save")->isEnabled());
    // Lowering a quantity rebuilds again.
    type_cell(components, 3, 1, "0");
    QCOMPARE(column_texts(d, 1), (std::vector<std::string>{"Component", "Tap"}));
    QCOMPARE(d.col_count(), 3);
}

void BudgetUiTest::indirect_cost_flips_the_other_cell() {
    App app;
    app.show_data_tab("Others");
    qt::GridView* v = app.view(app.doc().SG8);
    type_cell(v, 1, 1, "500");
    type_cell(v, 2, 2, "10");
    const Grid& g = app.doc().SG8;
    QCOMPARE(g.row(1), (std::vector<std::string>{"Detailed Engineering Design", "500", "----"}));
    QCOMPARE(g.row(2), (std::vector<std::string>{"Design Evaluation", "----", "10"}));
    // Typing the other cell flips it back.
    type_cell(v, 2, 1, "3");
    QCOMPARE(g.row(1), (std::vector<std::string>{"Detailed Engineering Design", "----", "3"}));
    QCOMPARE(v->grid_model()->data(v->grid_model()->index(1, 1), Qt::DisplayRole).toString(), QString("----"));
    // The tools field marks the report outdated; its tool bar button goes off.
    app.doc().report_outdated = false;
    QTest::keyClicks(app.window->tools_field(), "5");
    QVERIFY(app.doc().report_outdated);
    QCOMPARE(app.doc().tools_percentage, std::string("25"));
    QVERIFY(app.window->action("Save")->isEnabled());
    QVERIFY(!app.window->tool_button("Save")->isEnabled());
}

void BudgetUiTest::reports_rebuild_only_when_outdated_and_show_user_separators() {
    App app(' ');
    // A fresh start shows an empty report.
    app.show_reports();
    QCOMPARE(app.doc().SG11(0, 2), std::string(""));
    app.show_data_tab("System Components");
    type_cell(app.view(app.doc().SG2), 3, 1, "10");
    app.show_reports();
    const Grid& unit = app.doc().SG11;
    QCOMPARE(unit(0, 2), std::string("Tank"));
    QCOMPARE(unit(0, 3), std::string("Total"));
    // Skilled subtotal: 10 units x 2 days x 100 x (1 + 0.2); the cell keeps
    // its text, the view shows two decimals and the user's separators.
    QCOMPARE(unit(7, 2), std::string("2400"));
    qt::GridModel* m = app.view(unit)->grid_model();
    QCOMPARE(m->data(m->index(2, 7), Qt::DisplayRole).toString(), QString("2 400.00"));
    QCOMPARE(m->data(m->index(2, 5), Qt::DisplayRole).toString(), QString("2"));  // days: not a money column
    QCOMPARE(m->data(m->index(3, 0), Qt::BackgroundRole).value<QColor>(), QColor(166, 202, 240));
    QVERIFY(!(m->flags(m->index(2, 1)) & Qt::ItemIsEditable));

    // Up to date: showing the tab again keeps what the tables hold.
    app.doc().SG11.set_cell(0, 2, "kept");
    app.window->top_tabs()->setCurrentIndex(0);
    app.show_reports();
    QCOMPARE(unit(0, 2), std::string("kept"));
    // An edit marks it outdated: the next showing rebuilds.
    app.show_data_tab("Main Pipeline");
    type_cell(app.view(app.doc().SG4), 2, 1, "100");
    app.show_reports();
    QCOMPARE(unit(0, 2), std::string("Tank"));
    QCOMPARE(app.doc().SG12(1, 2), std::string("100"));
    QCOMPARE(app.view(app.doc().SG12)->grid_model()->rowCount(), 4);
}

void BudgetUiTest::export_writes_the_seven_sheet_workbook() {
    App app;
    app.doc().SG1.set_cell(1, 0, "Los Pinos");
    app.dialogs.push(FileChoice{app.f.projects / "pinos.bfl", 1});
    app.window->save_project();
    app.show_data_tab("System Components");
    type_cell(app.view(app.doc().SG2), 3, 1, "1");
    app.show_reports();
    app.f.messages.clear();
    app.window->export_button()->click();
    auto book = app.f.projects / "Budget Report - pinos - Los Pinos.xlsx";
    QVERIFY(std::filesystem::exists(book));
    QCOMPARE(app.f.messages.texts(),
             std::vector<std::string>{"The report has been exported to Excel File " + book.string()});
    std::string bytes = textfile::read_bytes(book);
    for (int k = 1; k <= 7; ++k)
        QVERIFY2(bytes.find("xl/worksheets/sheet" + std::to_string(k) + ".xml") != std::string::npos,
                 std::to_string(k).c_str());
    QVERIFY(bytes.find("xl/worksheets/sheet8.xml") == std::string::npos);
    // The menu command does the same; an existing file is only replaced on Ok.
    app.f.messages.answer_next(Answer::Cancel);
    app.window->action("Export Budget Report to Excel")->trigger();
    QCOMPARE(app.f.messages.records().back().kind, std::string("confirm"));
    QCOMPARE(app.f.messages.records().back().text, "File " + book.string() + " already exists\rOk to overwrite ?");
}

void BudgetUiTest::closing_asks_to_save_a_modified_project() {
    App app;
    app.window->close();
    QVERIFY(app.f.messages.records().empty());  // nothing changed: no question
    app.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(app.window.get()));
    app.show_data_tab("Main Pipeline");
    type_cell(app.view(app.doc().SG4), 2, 1, "80");
    app.f.messages.answer_next(Answer::Yes);
    app.dialogs.push(FileChoice{app.f.projects / "closing.txt", 1});
    // Asked to close by its caption (as the launcher does before an update).
    QVERIFY(qt::request_close("Budget - Orvane"));
    QTRY_VERIFY(!app.window->isVisible());
    QCOMPARE(app.f.messages.texts(),
             std::vector<std::string>{"The project has been modified. Would you like to save the changes?"});
    QVERIFY(std::filesystem::exists(app.f.projects / "closing.bfl"));
    QVERIFY(std::filesystem::exists(app.f.projects / "closing.apo"));
    QCOMPARE(app.dialogs.requests().back().filter, std::string("Budget files (*.bfl)|*.bfl|All Files (*.*)|*.*"));
}

void BudgetUiTest::materials_add_inserts_the_next_code_of_the_type() {
    App app;
    MaterialsEditor* editor = app.window->materials_editor();
    QCOMPARE(editor->windowTitle(), QString("Bill of Materials"));
    // Type "Fittings" holds 1701 and 1801: the new item is 1802, right after 1801.
    when_modal("Bill of Materials", [&](QWidget*) {
        when_modal("Adding items", [&](QWidget* w) {
            auto* types = w->findChild<QComboBox*>();
            QCOMPARE(types->itemText(0), QString("Valves"));
            types->setCurrentIndex(types->findText("Fittings"));
            grab(w, "adding_items");
            push_button(w, "OK")->click();
        });
        when_modal("Materials Wizard", [&](QWidget* w) {
            auto* wizard = qobject_cast<MaterialsWizard*>(w);
            QVERIFY(!wizard->button("Previous")->isEnabled());
            QVERIFY(!wizard->button("finish")->isEnabled());
            QCOMPARE(wizard->field(1)->text(), QString("Unit"));
            wizard->field(0)->setText("Tee 2 in");
            wizard->field(1)->setText("unit");
            wizard->field(2)->setText("4.5");
            grab(w, "materials_wizard_1");
            wizard->button("Next")->click();
            QVERIFY(!wizard->button("Next")->isEnabled());
            wizard->field(3)->setText("2");
            grab(w, "materials_wizard_2");
            wizard->button("finish")->click();
        });
        editor->button("Add")->click();
        grab(editor, "bill_of_materials");
        app.f.messages.answer_next(Answer::Yes);
        editor->button("OK")->click();
    });
    app.window->tool_button("Materials/labor prices and qualities")->click();

    const Grid& written = app.doc().SGprecios;  // reread after Yes
    auto codes = written.column(0, kFirstPriceRow);
    auto at = std::find(codes.begin(), codes.end(), "1802");
    QVERIFY(at != codes.end());
    QCOMPARE(*(at - 1), std::string("1801"));
    int row = kFirstPriceRow + static_cast<int>(at - codes.begin());
    QCOMPARE(written(1, row), std::string("Fittings"));
    QCOMPARE(written(2, row), std::string("Tee 2 in"));
    QCOMPARE(written(4, row), std::string("4.5"));
    QCOMPARE(written(7, row), std::string("2"));
    QCOMPARE(written(5, row), std::to_string(QDate::currentDate().month()));
    QCOMPARE(app.f.messages.texts(),
             std::vector<std::string>{"The materials list has changed. Any changes migth affect the budget "
                                      "calculations. Would you like to continue?"});
    QCOMPARE(read_table_file(app.f.files / "precios.csv").row_count(), written.row_count());

    // Delete without a selected item row does nothing; with one it removes
    // it, and No on closing writes nothing.
    editor->view()->set_current(0, row);
    editor->delete_item();
    QCOMPARE(editor->table().row_count(), written.row_count() - 1);
    app.f.messages.answer_next(Answer::No);
    editor->done(QDialog::Accepted);
    QCOMPARE(read_table_file(app.f.files / "precios.csv").row_count(), written.row_count());
}

void BudgetUiTest::community_window_filter_add_remove_save_and_cancel() {
    App app;
    CommunityWindow* w = app.window->community_window();
    w->prepare();
    QCOMPARE(w->listed()->count(), 1);  // Sand
    QVERIFY(!w->button(">>")->isEnabled());
    QVERIFY(!w->button("<<")->isEnabled());
    QCOMPARE(w->materials()->count(), 12);
    QTest::keyClicks(w->filter(), "CEM");
    QCOMPARE(w->materials()->count(), 1);
    QCOMPARE(w->materials()->item(0)->text(), QString("Cement"));
    w->filter()->clear();
    QTest::keyClicks(w->filter(), "IN");  // the seven valves, fittings and pipes "... in"
    int filtered = w->materials()->count();
    QCOMPARE(filtered, 7);
    // Click copies the text without filtering; ">>" adds once.
    QListWidgetItem* gate = w->materials()->findItems("Gate valve 2 in", Qt::MatchExactly).value(0);
    QVERIFY(gate);
    w->materials()->setCurrentItem(gate);
    emit w->materials()->itemClicked(gate);
    QCOMPARE(w->filter()->text(), QString("Gate valve 2 in"));
    QCOMPARE(w->materials()->count(), filtered);
    QVERIFY(w->button(">>")->isEnabled());
    w->button(">>")->click();
    QVERIFY(!w->button(">>")->isEnabled());
    QCOMPARE(w->listed()->count(), 2);
    w->add_current();  // already listed: nothing changes
    QCOMPARE(w->listed()->count(), 2);
    grab_dialog(w, "community_contribution");
    // "<<" removes the clicked entry.
    w->listed()->setCurrentRow(0);
    emit w->listed()->itemClicked(w->listed()->item(0));
    QVERIFY(w->button("<<")->isEnabled());
    w->button("<<")->click();
    QCOMPARE(w->listed()->count(), 1);
    QCOMPARE(w->listed()->item(0)->text(), QString("Gate valve 2 in"));
    // Cancel writes nothing; the next opening shows the file's list again.
    w->button("Cancel")->click();
    QCOMPARE(textfile::read_lines(app.f.files / "aportesm.cst"), std::vector<std::string>{"2002"});
    w->prepare();
    QCOMPARE(w->listed()->item(0)->text(), QString("Sand"));
    // Save and Exit writes the working list, and "Modify" rebuilds SG6 after it.
    when_modal("Community contribution", [&](QWidget*) {
        w->materials()->setCurrentItem(w->materials()->findItems("Cement", Qt::MatchExactly).value(0));
        emit w->materials()->itemDoubleClicked(w->materials()->currentItem());
        w->button("Save and Exit")->click();
    });
    app.window->modify_button()->click();
    QCOMPARE(textfile::read_lines(app.f.files / "aportesm.cst"), (std::vector<std::string>{"2002", "2004"}));
    QCOMPARE(app.doc().SG6.column(1), (std::vector<std::string>{"Description", "Sand", "Cement"}));
    QVERIFY(app.window->action("Save")->isEnabled());
}

void BudgetUiTest::components_delete_asks_when_a_saved_project_uses_it() {
    App app;
    app.dialogs.push(FileChoice{app.f.projects / "used.bfl", 1});
    app.window->save_project();  // its .com names Tank, Tap and Fence
    ComponentsEditor* e = app.window->components_editor();
    const char* question =
        "The component to delete has been used by other projects, if you delete it some projects will be "
        "disfunctional. Do you want to delete it anyway?";
    e->view()->set_current(0, 2);  // Tank
    app.f.messages.answer_next(Answer::No);
    e->button("Delete")->click();
    QCOMPARE(e->table().row_count(), 5);
    QCOMPARE(app.f.messages.records().back(), (MessageRecord{"question", "warning", question}));
    app.f.messages.answer_next(Answer::Yes);
    e->button("Delete")->click();
    QCOMPARE(e->table().column(1, 2), (std::vector<std::string>{"Tap", "Fence"}));
    QVERIFY(e->changed());
    // A component no project names goes without a question.
    std::filesystem::remove(app.f.projects / "used.com");
    app.f.messages.clear();
    e->view()->set_current(0, 3);
    e->button("Delete")->click();
    QCOMPARE(e->table().column(1, 2), std::vector<std::string>{"Tap"});
    QVERIFY(app.f.messages.records().empty());
    // Closing the editor asks before the works list is written.
    when_modal("List of Components", [&](QWidget*) {
        grab(e, "list_of_components");
        app.f.messages.answer_next(Answer::Yes);
        e->button("OK")->click();
    });
    app.window->tool_button("Components/works")->click();
    QCOMPARE(app.f.messages.texts().back(),
             std::string("The list of system works has changed, any changes might affect any project. Would you "
                         "like no save the changes?"));
    QCOMPARE(read_table_file(app.f.files / "obras.csv").row_count(), 3);
    QCOMPARE(app.doc().SGlistaobras.row_count(), 3);
}

void BudgetUiTest::components_add_enters_the_new_bill() {
    App app;
    ComponentsEditor* e = app.window->components_editor();
    ComponentDescriptionDialog* d = app.window->component_description();
    // First try without a file name: the message, the window stays open; then
    // a file name, Yes, and the bill editor opens for the new component.
    when_modal("Component's description", [&](QWidget*) {
        QTest::keyClicks(d->field("Description of the system's component:"), "Latrine");
        QTest::keyClicks(d->field("Unit:"), "unit");
        QTest::keyClicks(d->field("# of pipes in inlet:"), "1");
        grab(d, "components_description");
        app.f.messages.answer_next(Answer::Yes);
        d->ok_button()->click();
        QVERIFY(d->isVisible());
        QCOMPARE(app.f.messages.texts().back(), std::string("A file name must be entered"));
        QTest::keyClicks(d->field("File:"), "latrine");
        when_modal("Bill of quantities per component", [&](QWidget* w) {
            auto* bill = qobject_cast<BillEditor*>(w);
            QCOMPARE(bill->components()->currentText(), QString("Latrine"));
            QCOMPARE(bill->table().row_count(), 1);
            bill->button("Cancel")->click();
        });
        app.f.messages.answer_next(Answer::Yes);
        d->ok_button()->click();
    });
    e->add_component();
    const Grid& t = e->table();
    int last = t.row_count() - 1;
    QCOMPARE(t.row(last), (std::vector<std::string>{"4", "Latrine", "1", "", "", "", "", "", "", "latrine.csv",
                                                    "unit"}));
    QVERIFY(std::filesystem::exists(app.f.files / "latrine.csv"));
    QCOMPARE(app.window->bill_editor()->works().row_count(), t.row_count());
    // Cancel with the flag set and No: the appended row goes.
    when_modal("Component's description", [&](QWidget*) {
        QTest::keyClicks(d->field("Description of the system's component:"), "Well");
        app.f.messages.answer_next(Answer::No);
        d->cancel_button()->click();
    });
    e->add_component();
    QCOMPARE(t.row_count(), last + 1);
    QCOMPARE(app.f.messages.texts().back(),
             std::string("The data have changed. Would you like to save the changes"));
}

void BudgetUiTest::bill_editor_adds_and_deletes_lines() {
    App app;
    BillEditor* b = app.window->bill_editor();
    QCOMPARE(b->components()->currentText(), QString("Tank"));
    QCOMPARE(b->table().row_count(), 5);
    b->button("Add material")->click();
    QVERIFY(!b->picker()->isHidden());
    QCOMPARE(b->table().row_count(), 6);
    QTest::keyClicks(b->filter_field(), "GRAV");  // no gravel in this price list
    QCOMPARE(b->materials()->count(), 0);
    b->filter_field()->clear();
    QTest::keyClicks(b->filter_field(), "bar");
    QCOMPARE(b->materials()->count(), 1);
    b->materials()->setCurrentRow(0);
    b->picker_ok()->click();  // no quantity
    QCOMPARE(app.f.messages.records().back(), (MessageRecord{"warning", "Warning", "A quantity must be entered"}));
    QCOMPARE(b->table().row_count(), 6);
    QTest::keyClicks(b->quantity_field(), "12.5");
    grab_dialog(b, "bill_of_quantities_per_component");
    b->picker_ok()->click();
    QCOMPARE(b->table().row(5), (std::vector<std::string>{"Steel bar", "bar", "12.5", "2001"}));
    // The picker's Cancel removes the appended line.
    b->button("Add material")->click();
    b->picker_cancel()->click();
    QCOMPARE(b->table().row_count(), 6);
    // "Delete material" deletes the selected line; Save writes the bill.
    b->view()->set_current(0, 1);
    b->button("Delete material")->click();
    QCOMPARE(b->table().column(3), (std::vector<std::string>{"Code", "2004", "7001", "7002", "2001"}));
    b->button("Save")->click();
    QCOMPARE(read_table_file(app.f.files / "tank.csv").column(3), b->table().column(3));
    // Choosing another component reads its bill.
    b->components()->setCurrentIndex(1);
    b->choose_component(1);
    QCOMPARE(b->table().column(3), (std::vector<std::string>{"Code", "2004", "2001"}));
}

void BudgetUiTest::benefits_add_delete_save() {
    App app;
    BenefitsWindow* w = app.window->benefits_window();
    Grid& t = w->table();
    QCOMPARE(t.row_count(), 3);
    w->button("Add")->click();
    QCOMPARE(t.row_count(), 4);
    QCOMPARE(t(0, 2), std::string(""));
    QCOMPARE(t.row(3), (std::vector<std::string>{"Total", "-----", "-----", "-----", "0.2"}));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    type_cell(w->view(), 0, 2, "Holidays");
    type_cell(w->view(), 1, 2, "10");
    QCOMPARE(t.row(2), (std::vector<std::string>{"Holidays", "10", "3", "36.5", "0.1"}));
    QCOMPARE(t(4, 3), std::string("0.3"));
    QVERIFY(!(w->view()->grid_model()->flags(w->view()->grid_model()->index(3, 1)) & Qt::ItemIsEditable));
    QCOMPARE(w->view()->grid_model()->data(w->view()->grid_model()->index(2, 3), Qt::DisplayRole).toString(),
             QString("36.50"));
    grab(w, "skilled_labor_costs");
    // "Delete" never removes the total row.
    w->view()->set_current(0, 3);
    w->button("Delete")->click();
    QCOMPARE(t.row_count(), 4);
    w->view()->set_current(0, 1);
    w->button("Delete")->click();
    QCOMPARE(t.column(0), (std::vector<std::string>{"Benefit", "Holidays", "Total"}));
    QCOMPARE(t(4, 2), std::string("0.1"));
    w->button("Save")->click();
    QVERIFY(w->isVisible());
    QCOMPARE(read_table_file(app.f.files / "moe.csv").row(2), t.row(2));
    w->hide();
    // Closing after a change asks; Yes saves and the report is rebuilt at once.
    when_modal("Skilled labor costs", [&](QWidget*) {
        app.f.messages.answer_next(Answer::Yes);
        w->button("Cancel")->click();
    });
    app.doc().report_outdated = true;
    app.window->tool_button("Skilled Labor")->click();
    QCOMPARE(app.f.messages.texts().back(),
             std::string("The data for skilled labor has changed. Would you like to save the changes?"));
    QVERIFY(!app.doc().report_outdated);
}

void BudgetUiTest::missing_bill_check_asks_for_the_component() {
    App app;
    std::filesystem::remove(app.f.files / "tap.csv");
    app.f.messages.answer_next(Answer::No);
    app.window->check_component_bills();
    QCOMPARE(app.f.messages.texts(),
             std::vector<std::string>{
                 "The component file of \"Tap\" has not been found. Would you like to enter the data right now?"});
    // Yes shows the component's description.
    when_modal("Component's description", [&](QWidget*) {
        QCOMPARE(app.window->component_description()->field("Description of the system's component:")->text(),
                 QString("Tap"));
        app.window->component_description()->cancel_button()->click();
    });
    app.f.messages.answer_next(Answer::Yes);
    app.window->check_component_bills();
    QCOMPARE(app.f.messages.records().size(), size_t(2));
}

void BudgetUiTest::shipped_example_opens_and_shows_its_report() {
    // The installed catalogues and the example project, opened by the user.
    velmora::testing::TempDir dir;
    auto files = dir / "Files";
    auto projects = dir / "Projects";
    std::filesystem::create_directories(projects);
    provision_reference_files(BUDGET_DATA_DIR, files);
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(BUDGET_DATA_DIR) / "examples"))
        std::filesystem::copy_file(e.path(), projects / e.path().filename());
    Document doc;
    doc.files_dir = files;
    doc.projects_dir = projects;
    doc.today = "11/12/2026";
    ScriptedMessages messages;
    ScriptedFileDialogs dialogs;
    Session s{&messages, &dialogs, {}, ',', false};
    MainWindow w(doc, s);
    w.resize(1280, 800);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    dialogs.push(FileChoice{projects / "los_pinos.bfl", 1});
    w.tool_button("Open")->click();
    QCOMPARE(w.document().project_file, projects / "los_pinos.bfl");
    QCOMPARE(w.view(w.document().SG1)->grid_model()->data(w.view(w.document().SG1)->grid_model()->index(0, 1),
                                                           Qt::DisplayRole)
                 .toString()
                 .toStdString(),
             w.document().SG1(1, 0));
    // The report is outdated after opening: showing it prices the project as
    // the engine does on the same files.
    Document expected = doc;
    inicializardatos(expected, messages);
    cargarproyecto(expected, projects / "los_pinos.bfl");
    expected.report_outdated = true;
    reports_tab_shown(expected);
    w.top_tabs()->setCurrentIndex(1);
    const Grid& budget = w.document().SG14;
    QVERIFY(budget.row_count() > 14);
    QCOMPARE(budget.column(4), expected.SG14.column(4));
    QCOMPARE(w.document().SG17.column(2), expected.SG17.column(2));
    QCOMPARE(w.view(budget)->grid_model()->rowCount(), budget.row_count());
    for (int i = 0; i < w.report_tabs()->count(); ++i) {
        w.report_tabs()->setCurrentIndex(i);
        grab(&w, "reports_" + QString::number(i + 1));
    }
    w.top_tabs()->setCurrentIndex(0);
    for (int i = 0; i < w.data_tabs()->count(); ++i) {
        w.data_tabs()->setCurrentIndex(i);
        grab(&w, "initial_data_" + QString::number(i + 1));
    }
    grab_dialog(w.materials_editor(), "bill_of_materials_shipped", {1200, 700});
    grab_dialog(w.components_editor(), "list_of_components_shipped", {1200, 500});
    QVERIFY(messages.records().empty());
}

QTEST_MAIN(BudgetUiTest)
#include "ui_test.moc"
