#pragma once
// The component bill editor "Bill of quantities per component" with its
// material picker.
#include "budget/engine/catalogues.h"
#include "common/ports.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmora::qt {
class GridView;
}

namespace velmora::budget {

class BillEditor : public QDialog {
    Q_OBJECT
public:
    // Reads its own copies of the works list and the price list and the bill
    // of the first component.
    BillEditor(Document& doc, Messages& messages, QWidget* parent = nullptr);

    // Opened from "Component's description" for a new component.
    void open_for_new_component(const ComponentFields& fields);

    Grid& table() { return table_; }
    const Grid& works() const { return works_; }
    qt::GridView* view() const { return view_; }
    QComboBox* components() const { return components_; }
    QPushButton* button(const QString& text) const;
    QFrame* picker() const { return picker_; }
    QLineEdit* quantity_field() const { return quantity_; }
    QLineEdit* filter_field() const { return filter_; }
    QListWidget* materials() const { return materials_; }
    QPushButton* picker_ok() const { return picker_ok_; }
    QPushButton* picker_cancel() const { return picker_cancel_; }

    void choose_component(int index);
    void add_material();
    void delete_material();
    void save();
    void picker_accept();
    void picker_reject();

private:
    std::filesystem::path bill_file(int index) const;
    void fill_materials(const QString& filter);
    Document& doc_;
    Messages& messages_;
    Grid works_;
    Grid prices_;
    Grid table_;
    qt::GridView* view_;
    QComboBox* components_;
    std::vector<QPushButton*> buttons_;
    QFrame* picker_;
    QLineEdit* quantity_;
    QLineEdit* filter_;
    QListWidget* materials_;
    QPushButton* picker_ok_;
    QPushButton* picker_cancel_;
    int selected_ = -1;
};

}  // namespace velmora::budget
