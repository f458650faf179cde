#pragma once
// The works list editor "List of Components" and the "Component's
// description" window it opens.
#include "budget/engine/component_description.h"
#include "common/ports.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;

namespace velmora::qt {
class GridView;
}

namespace velmora::budget {

class BillEditor;

class ComponentDescriptionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ComponentDescriptionDialog(Messages& messages, QWidget* parent = nullptr);
    void set_bill_editor(BillEditor* editor) { bill_editor_ = editor; }

    // Shows the fields and waits for "Ok" or "Cancel".
    void open_component(const ComponentFields& fields, bool new_component);
    const ComponentDescription& model() const { return model_; }
    // Fields in the order of the labels on the window.
    QLineEdit* field(const QString& label) const;
    QPushButton* ok_button() const { return ok_; }
    QPushButton* cancel_button() const { return cancel_; }

public slots:
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void read_fields();
    void act(ComponentDescription::Outcome outcome);
    Messages& messages_;
    ComponentDescription model_;
    BillEditor* bill_editor_ = nullptr;
    std::vector<std::pair<QString, QLineEdit*>> fields_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

class ComponentsEditor : public QDialog {
    Q_OBJECT
public:
    // Reads its own copy of obras.csv once.
    ComponentsEditor(Document& doc, Messages& messages, QWidget* parent = nullptr);
    void set_description_dialog(ComponentDescriptionDialog* d) { description_ = d; }

    Grid& table() { return table_; }
    qt::GridView* view() const { return view_; }
    bool changed() const { return changed_; }
    void set_changed(bool c) { changed_ = c; }
    QPushButton* button(const QString& text) const;

    void add_component();
    void edit_component();
    void delete_component();

private:
    void show_table();
    Document& doc_;
    Messages& messages_;
    Grid table_;
    qt::GridView* view_;
    std::vector<QPushButton*> buttons_;
    ComponentDescriptionDialog* description_ = nullptr;
    bool changed_ = false;
    int selected_ = -1;
};

// The merged header cells of the works list.
void merge_works_headers(Grid& obras);

}  // namespace velmora::budget
