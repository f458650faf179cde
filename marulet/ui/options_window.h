#pragma once
// The "Options" window: four pages chosen from a list on the left ("Design
// Parameters", "People per house/Velocities", "Manning coefficients/
// Infiltration", "Units") over the engine's OptionsDialog.
#include "common/ports.h"
#include "marulet/engine/reference_files.h"
#include "qtcommon/grid_view.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QStackedWidget;

namespace velmora::marulet::ui {

class OptionsWindow : public QDialog {
    Q_OBJECT
public:
    OptionsWindow(Document* doc, Messages* messages, const std::filesystem::path& database_dir,
                  QWidget* parent = nullptr);

    OptionsDialog& model() { return model_; }
    // What showing the window does: reload the files, first page, unchanged.
    void fill();
    // Whether the last closing changed a value (the main window then runs
    // `ocultarcolumnas`).
    bool changed_on_close() const { return changed_on_close_; }

    QListWidget* page_list() const { return pages_; }
    QStackedWidget* stack() const { return stack_; }
    qt::GridView* parameter_view() const { return parameters_; }
    qt::GridView* material_view() const { return materials_; }
    qt::GridView* unit_view() const { return units_; }
    QLineEdit* field(int i) const { return fields_[i]; }
    QComboBox* unit_combo() const { return unit_combo_; }

public slots:
    void done(int result) override;
    void reset_options();

private:
    void show_fields();

    Document* doc_;
    Messages* messages_;
    OptionsDialog model_;
    bool changed_on_close_ = false;
    bool filling_ = false;
    QListWidget* pages_;
    QStackedWidget* stack_;
    qt::GridView* parameters_;
    qt::GridView* materials_;
    qt::GridView* units_;
    QLineEdit* fields_[3];
    QComboBox* unit_combo_;
};

}  // namespace velmora::marulet::ui
