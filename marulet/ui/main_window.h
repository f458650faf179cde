#pragma once
// The Marulet main window ("Marulet-Orvane"): the project name, the tabs
// "Data/Drawing" (plan, tools, pipe table, "To Calculate"), "Spreadsheet"
// (results and their two views) and "Profiles", the menus and the tool bar.
// Every command is the engine's; the window forwards events and shows what
// changed.
#include "common/ports.h"
#include "marulet/engine/document.h"
#include "qtcommon/grid_view.h"

#include <QMainWindow>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>

class QAbstractButton;
class QAction;
class QLabel;
class QLineEdit;
class QPrinter;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace velmora::qt {
class AboutDialog;
class PrintDialog;
class SurveyBookWindow;
}  // namespace velmora::qt

namespace velmora::marulet {
class PlanEditor;
}

namespace velmora::marulet::ui {

class DiametersWindow;
class OptionsWindow;
class PlanView;
class ProfileView;

extern const char* const kCaption;  // "Marulet-Orvane"

// What the window asks of the outside world; tests script all of it.
struct Session {
    Messages* messages = nullptr;
    FileDialogs* dialogs = nullptr;
    Clipboard* clipboard = nullptr;
    std::filesystem::path database_dir;
    std::filesystem::path projects_dir;
    std::function<void(const QString& file)> open_help;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Document doc, Session session);
    ~MainWindow() override;

    Document& document() { return doc_; }
    PlanEditor& editor() { return *editor_; }

    QLineEdit* project_edit() const { return project_; }
    QTabWidget* tabs() const { return tabs_; }
    qt::GridView* pipe_view() const { return pipe_view_; }
    qt::GridView* results_view() const { return results_view_; }
    // A push button by caption or hint, or a plan tool by hint.
    QAbstractButton* button(const QString& caption) const;
    QAction* action(const QString& text_or_hint) const;
    QRadioButton* current_view_button() const { return view_current_; }
    QRadioButton* future_view_button() const { return view_future_; }
    QProgressBar* progress_bar() const { return progress_; }
    QSlider* zoom_bar() const;
    QLabel* status_panel(int i) const { return panels_[static_cast<size_t>(i)]; }
    PlanView* plan_view() const { return plan_; }
    ProfileView* profile_view() const { return profile_; }
    OptionsWindow* options_window() const { return options_; }
    DiametersWindow* diameters_window() const { return diameters_; }
    qt::PrintDialog* print_dialog() const { return printing_; }
    qt::AboutDialog* about_window() const { return about_; }
    qt::SurveyBookWindow* survey_window() const { return survey_; }

    // Prints the chosen documents (after the "Printing" window answered);
    // returns the number of documents printed.
    int print_to(QPrinter& printer, bool graphs, bool table);

public slots:
    void becoming_active();
    void to_calculate();
    void show_view(bool future);
    void new_project();
    void open_project();
    void save_project();
    void save_project_as();
    void print_spreadsheet();
    void export_to_excel();
    void paste();
    void open_options();
    void open_diameters();
    void open_help();
    void open_about();
    void open_survey_book();
    // Refreshes every view from the document.
    void sync();

protected:
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void build_menus_and_tools();
    QWidget* build_data_tab();
    QWidget* build_results_tab();
    QWidget* build_profiles_tab();
    void tab_changed(int index);
    void show_tab(int index);
    void survey_exported(const Grid& survey, int view);
    template <class F>
    bool guarded(F&& command);

    Document doc_;
    Session session_;
    std::unique_ptr<PlanEditor> editor_;
    QLineEdit* project_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    int shown_tab_ = 0;
    bool switching_ = false;
    qt::GridView* pipe_view_ = nullptr;
    qt::GridView* results_view_ = nullptr;
    QRadioButton* view_current_ = nullptr;
    QRadioButton* view_future_ = nullptr;
    QList<QPushButton*> buttons_;
    QList<QAction*> actions_;
    QProgressBar* progress_ = nullptr;
    QLabel* status_text_ = nullptr;
    std::array<QLabel*, 4> panels_{};
    QPushButton* grid_toggle_ = nullptr;
    PlanView* plan_ = nullptr;
    ProfileView* profile_ = nullptr;
    OptionsWindow* options_ = nullptr;
    qt::AboutDialog* about_ = nullptr;
    qt::PrintDialog* printing_ = nullptr;
    qt::SurveyBookWindow* survey_ = nullptr;
    DiametersWindow* diameters_ = nullptr;
};

}  // namespace velmora::marulet::ui
