#pragma once
// The main window "Tosquin - Orvane": the "Main Pipeline" graph with its tool
// bar and status panels, the "Spreadsheet" result sheet and the "Data" tab
// with the project values, the station table and the survey book; the menus,
// the tool buttons and the dialogs, all created once. Every control forwards
// to an engine command and shows what changed.
#include "tosquin/engine/document.h"
#include "tosquin/engine/graph_editor.h"

#include "common/folders.h"
#include "common/ports.h"
#include "qtcommon/grid_view.h"

#include <QMainWindow>
#include <QUrl>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QToolBar;

namespace velmora::qt {
class AboutDialog;
class PrintDialog;
}  // namespace velmora::qt

namespace velmora::tosquin::ui {

class CatalogueDialog;
class GraphWidget;
class OptionsDialog;
class PredeterminedDiametersDialog;
class PredeterminedSectionsDialog;
class WorkingPressureDialog;

inline constexpr const char* kCaption = "Tosquin - Orvane";

struct Ports {
    Messages* messages = nullptr;    // message boxes when null
    FileDialogs* dialogs = nullptr;  // file dialogs when null
    Clipboard* clipboard = nullptr;  // the system clipboard when null
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    enum Tab { kMainPipeline = 0, kSpreadsheet = 1, kData = 2 };

    MainWindow(const Folders& folders, std::filesystem::path help_file, Ports ports = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    Document& document() { return doc_; }
    GraphEditor& editor() { return editor_; }

    // The main window becomes active: the reference files are read again.
    void activated();
    // Shows the document's values, tables, panels and enabled commands.
    void refresh_all();
    // Prints the graph (landscape) and the sheet (portrait) on `printer`.
    void print_to(QPrinter& printer, bool graph, bool sheet);

    // Controls, for the tests and the screenshots.
    QTabWidget* tabs() const { return tabs_; }
    QLineEdit* edit(int n) const;  // 1, 2, 3, 4, 6, 7; 5 is the length factor
    qt::GridView* stations() const { return sg2_; }
    qt::GridView* survey() const { return sg3_; }
    qt::GridView* sheet() const { return sheet_; }
    QRadioButton* profile_button() const { return profile_; }
    QRadioButton* survey_button() const { return survey_mode_; }
    QPushButton* row_button(const QString& caption) const;
    GraphWidget* graph() const { return graph_; }
    QSpinBox* width_spin() const { return width_; }
    QLabel* panel(int i) const { return panels_[static_cast<size_t>(i)]; }
    QAction* action(const QString& name) const;
    CatalogueDialog* catalogue_dialog() const { return catalogue_; }
    WorkingPressureDialog* working_pressure_dialog() const { return working_pressure_; }
    PredeterminedDiametersDialog* diameters_dialog() const { return predetermined_diameters_; }
    PredeterminedSectionsDialog* sections_dialog() const { return predetermined_sections_; }
    qt::PrintDialog* print_dialog() const { return print_dialog_; }
    OptionsDialog* options_dialog() const { return options_; }
    qt::AboutDialog* about_dialog() const { return about_; }
    void set_url_opener(std::function<void(const QUrl&)> open) { open_url_ = std::move(open); }

    // The pop-up menus' "Paste".
    void paste_stations();
    void paste_survey_book();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* build_graph_tab();
    QWidget* build_sheet_tab();
    QWidget* build_data_tab();
    void build_menus();
    void refresh_commands();
    void refresh_panels();
    void tab_changed(int index);
    void select_tab(int index);
    void tab_shown(int index);
    void viewport_resized();

    void open_project();
    void save_project();
    void save_project_as();
    void new_project_command();
    void exit_project();
    void restart();
    void insert_diameter();
    void insert_type_of_pipes();
    void print_command();
    void redesign_after_dialog();
    template <typename F>
    bool guarded(F&& f);

    Document doc_;
    GraphEditor editor_;
    std::unique_ptr<Messages> own_messages_;
    std::unique_ptr<FileDialogs> own_dialogs_;
    std::unique_ptr<Clipboard> own_clipboard_;
    Messages& messages_;
    FileDialogs& dialogs_;
    Clipboard& clipboard_;
    std::filesystem::path help_file_;
    std::function<void(const QUrl&)> open_url_;

    QTabWidget* tabs_ = nullptr;
    int current_tab_ = kData;
    bool switching_ = false;

    std::array<QLineEdit*, 8> edits_{};
    QRadioButton* profile_ = nullptr;
    QRadioButton* survey_mode_ = nullptr;
    QStackedWidget* tables_ = nullptr;
    qt::GridView* sg2_ = nullptr;
    qt::GridView* sg3_ = nullptr;
    QWidget* row_buttons_ = nullptr;

    QToolBar* graph_tools_ = nullptr;
    QSpinBox* width_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    GraphWidget* graph_ = nullptr;
    std::array<QLabel*, 4> panels_{};
    qt::GridView* sheet_ = nullptr;

    CatalogueDialog* catalogue_ = nullptr;
    WorkingPressureDialog* working_pressure_ = nullptr;
    PredeterminedDiametersDialog* predetermined_diameters_ = nullptr;
    PredeterminedSectionsDialog* predetermined_sections_ = nullptr;
    qt::PrintDialog* print_dialog_ = nullptr;
    OptionsDialog* options_ = nullptr;
    qt::AboutDialog* about_ = nullptr;
};

}  // namespace velmora::tosquin::ui
