#pragma once
// "Options": the allowed diameters, pressures and unit flow, design
// parameters with the consumption list, and the table of units. The values
// and their files are the engine's OptionsEditor; this window shows them and
// forwards every edit.
#include "common/ports.h"
#include "kelvaro/engine/options.h"
#include "qtcommon/grid_view.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QStackedWidget;

namespace velmora::kelvaro::ui {

class DiametersWindow;

class OptionsWindow : public QDialog {
    Q_OBJECT
public:
    OptionsWindow(Document* doc, Messages* messages, DiametersWindow* diameters, QWidget* parent);

    static const QStringList& page_names();
    // The page list as the main window sets it: every entry, one page shown.
    void show_page(int page);
    int current_page() const;
    // Fills the window from the files, dropping unsaved edits.
    void fill();

    OptionsEditor& editor() { return editor_; }
    QListWidget* page_list() const { return pages_; }
    QComboBox* min_box() const { return min_; }
    QComboBox* max_box() const { return max_; }
    QLineEdit* box(const QString& name) const;  // "HWC", "MinPRE", "MaxPE", "QUE", "IQE", "HmE", ...
    QListWidget* consumption_list() const { return consumptions_; }
    QComboBox* unit_box() const { return unit_; }
    qt::GridView* parameters_view() const { return table_view_; }

public slots:
    void done(int result) override;
    void reset();
    void add_consumption();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* diameters_page();
    QWidget* pressures_page();
    QWidget* parameters_page();
    QWidget* units_page();
    QLineEdit* make_box(const QString& name);
    void show_all();
    void show_values();
    void show_consumptions();

    Document* doc_;
    Messages* messages_;
    DiametersWindow* diameters_;
    OptionsEditor editor_;
    Grid table_copy_, units_copy_;

    QListWidget* pages_;
    QStackedWidget* stack_;
    QComboBox* min_;
    QComboBox* max_;
    QComboBox* unit_;
    QListWidget* consumptions_;
    QLineEdit* new_consumption_;
    qt::GridView* table_view_;
    qt::GridView* units_view_;
    QList<QLineEdit*> boxes_;
};

}  // namespace velmora::kelvaro::ui
