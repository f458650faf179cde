#pragma once
// The main window "Budget - Orvane": the project tables on the "Initial Data"
// sub-tabs, the report tables on "Reports", the menus and the tool bar. It owns
// the document and the catalogue windows, created once after it.
#include "budget/engine/document.h"
#include "common/ports.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <functional>
#include <map>

class QAction;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace velmora::qt {
class GridView;
class AboutDialog;
}  // namespace velmora::qt

namespace velmora::budget {

class CommunityWindow;
class MaterialsEditor;
class AddingItemsDialog;
class MaterialsWizard;
class ComponentsEditor;
class ComponentDescriptionDialog;
class BenefitsWindow;
class BillEditor;

inline const char* kMainCaption = "Budget - Orvane";

struct Session {
    Messages* messages = nullptr;
    FileDialogs* dialogs = nullptr;
    // Opens the help page; tests replace it.
    std::function<void()> open_help;
    // Thousands separator of the displayed numbers (the user's).
    char group_separator = ',';
    // The component bill check each time the main window becomes active.
    bool check_bills_on_activation = true;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `doc` carries the folders, the decimal separator and today's date; the
    // window runs the start-up (catalogues, project tables, report headers).
    MainWindow(Document doc, Session session, QWidget* parent = nullptr);
    ~MainWindow() override;

    Document& document() { return doc_; }
    qt::GridView* view(const Grid& table) const;
    QTabWidget* top_tabs() const { return top_tabs_; }
    QTabWidget* data_tabs() const { return data_tabs_; }
    QTabWidget* report_tabs() const { return report_tabs_; }
    QLineEdit* others_field() const { return others_; }
    QLineEdit* tools_field() const { return tools_; }
    QAction* action(const QString& text) const;
    QToolButton* tool_button(const QString& text) const;
    QPushButton* modify_button() const { return modify_; }
    QPushButton* export_button() const { return export_; }

    CommunityWindow* community_window() const { return community_; }
    MaterialsEditor* materials_editor() const { return materials_; }
    AddingItemsDialog* adding_items() const { return adding_; }
    MaterialsWizard* materials_wizard() const { return wizard_; }
    ComponentsEditor* components_editor() const { return components_; }
    ComponentDescriptionDialog* component_description() const { return description_; }
    BenefitsWindow* benefits_window() const { return benefits_; }
    BillEditor* bill_editor() const { return bill_editor_; }
    QWidget* about_window() const;

    // The commands of the menus and buttons.
    void new_project();
    void open_project();
    void save_project();
    void export_report();
    void open_materials_editor();
    void open_components_editor();
    void open_bill_editor();
    void open_benefits_window();
    void modify_community_list();
    // Runs the component bill check (done each time the window becomes active).
    void check_component_bills();
    // Re-reads every table into its view and the flags into the actions.
    void refresh_all();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void build_menus();
    void build_data_tabs();
    void build_report_tabs();
    qt::GridView* add_view(Grid& table);
    void table_key_released(const Grid& table, int col, int row);
    void data_tab_shown(int index);
    void top_tab_shown(int index);
    void refresh_report();
    void update_save_state();
    // Runs an engine command; an exception is shown as the platform's error.
    template <class Fn>
    bool run(Fn&& fn);

    Document doc_;
    Session session_;
    std::map<const Grid*, qt::GridView*> views_;
    QTabWidget* top_tabs_ = nullptr;
    QTabWidget* data_tabs_ = nullptr;
    QTabWidget* report_tabs_ = nullptr;
    QLineEdit* others_ = nullptr;
    QLineEdit* tools_ = nullptr;
    QPushButton* modify_ = nullptr;
    QPushButton* export_ = nullptr;
    std::map<QString, QAction*> actions_;
    std::map<QString, QToolButton*> tool_buttons_;

    CommunityWindow* community_ = nullptr;
    MaterialsEditor* materials_ = nullptr;
    AddingItemsDialog* adding_ = nullptr;
    MaterialsWizard* wizard_ = nullptr;
    ComponentsEditor* components_ = nullptr;
    ComponentDescriptionDialog* description_ = nullptr;
    BenefitsWindow* benefits_ = nullptr;
    BillEditor* bill_editor_ = nullptr;
    qt::AboutDialog* about_ = nullptr;

    bool checking_bills_ = false;
    QElapsedTimer last_check_;
};

}  // namespace velmora::budget
