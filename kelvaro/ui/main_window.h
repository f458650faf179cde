#pragma once
// The Kelvaro main window ("Kelvaro-Orvane"): the project panel, the tabs
// "Data/Drawing" (plan, input table, "To Calculate"), "Spreadsheet" (results)
// and "Profiles", the menus and the tool bar. Every command is the engine's;
// the window forwards events to it and shows what changed.
#include "common/ports.h"
#include "kelvaro/engine/document.h"
#include "qtcommon/grid_view.h"
#include "terrain/survey_book.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QPrinter;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace velmora::qt {
class AboutDialog;
class PrintDialog;
class SurveyBookWindow;
}  // namespace velmora::qt

namespace velmora::kelvaro::ui {

class DiametersWindow;
class OptionsWindow;
class PlanView;
class ProfileView;

extern const char* const kCaption;  // "Kelvaro-Orvane"

// What the window asks of the outside world; tests script all of it.
struct Session {
    Messages* messages = nullptr;
    FileDialogs* dialogs = nullptr;
    Clipboard* clipboard = nullptr;
    // Opens the help page with the desktop's handler.
    std::function<void(const QString& file)> open_help;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Document doc, Session session);
    ~MainWindow() override;

    Document& document() { return doc_; }

    // Controls, for the tests.
    QLineEdit* edit(int n) const;  // Edit1, Edit2, Edit3
    QTabWidget* tabs() const { return tabs_; }
    qt::GridView* input_view() const { return input_view_; }
    qt::GridView* results_view() const { return results_view_; }
    qt::GridView* nodes_view() const { return nodes_view_; }
    QPushButton* button(const QString& caption) const;
    QAction* action(const QString& text_or_hint) const;
    QProgressBar* progress_bar() const { return progress_; }
    QLabel* status_text() const { return status_text_; }
    QLabel* status_panel(int i) const { return panels_[static_cast<size_t>(i)]; }
    QSpinBox* grid_at() const { return grid_at_; }
    PlanView* plan_view() const { return plan_; }
    ProfileView* profile_view() const { return profile_; }
    OptionsWindow* options_window() const { return options_; }
    DiametersWindow* diameters_window() const { return diameters_; }
    qt::PrintDialog* print_dialog() const { return printing_; }
    qt::AboutDialog* about_window() const { return about_; }
    qt::SurveyBookWindow* survey_book_window() const { return survey_; }

    // Prints the chosen documents on a printer (what "Print the Spreadsheet"
    // does once the "Printing" window answered).
    int print_to(QPrinter& printer, bool drawings, bool table);

public slots:
    void becoming_active();
    void to_calculate();
    void new_project();
    void open_project();
    void save_project();
    void print_spreadsheet();
    void export_to_excel();
    void paste();
    void open_options(int page);
    void open_diameters();
    void open_help();
    void open_about();
    // The "Survey Book Sheet" tool: a visit of the survey book; an export
    // from it becomes the input table and the plan.
    void open_survey_book();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The wheel turned on the window outside the plan: one zoom step.
    void wheelEvent(QWheelEvent* event) override;

private:
    void build_menus_and_tools();
    QWidget* build_data_tab();
    QWidget* build_results_tab();
    QWidget* build_profiles_tab();
    void sync();
    void show_tab(int index);
    void tab_changed(int index);
    void project_box_key(int box);
    void import_survey(const terrain::SurveyBook& book);
    template <class F>
    void guarded(F&& command);

    Document doc_;
    Session session_;
    QLineEdit* edits_[3] = {};
    QTabWidget* tabs_ = nullptr;
    int shown_tab_ = 0;
    bool switching_ = false;
    qt::GridView* input_view_ = nullptr;
    qt::GridView* results_view_ = nullptr;
    qt::GridView* nodes_view_ = nullptr;
    QList<QPushButton*> buttons_;
    QList<QAction*> actions_;
    QProgressBar* progress_ = nullptr;
    QLabel* status_text_ = nullptr;
    std::array<QLabel*, 4> panels_{};
    QPushButton* grid_toggle_ = nullptr;
    QSpinBox* grid_at_ = nullptr;
    PlanView* plan_ = nullptr;
    ProfileView* profile_ = nullptr;
    DiametersWindow* diameters_ = nullptr;
    OptionsWindow* options_ = nullptr;
    qt::AboutDialog* about_ = nullptr;
    qt::PrintDialog* printing_ = nullptr;
    qt::SurveyBookWindow* survey_ = nullptr;
    // Used when the session gives no clipboard.
    MemoryClipboard own_clipboard_;
};

}  // namespace velmora::kelvaro::ui
