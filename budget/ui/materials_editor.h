#pragma once
// The price list editor "Bill of Materials" with its two dialogs: "Adding
// items" (the type of the new item) and the "Materials Wizard" (its texts).
#include "budget/engine/catalogues.h"
#include "common/ports.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace velmora::qt {
class GridView;
}

namespace velmora::budget {

class AddingItemsDialog : public QDialog {
    Q_OBJECT
public:
    // Reads the item types of precios.csv once.
    AddingItemsDialog(const std::filesystem::path& files_dir, QWidget* parent = nullptr);
    // The chosen type, or none on "Cancel".
    std::optional<std::string> ask();
    QComboBox* types() const { return types_; }

private:
    QComboBox* types_;
};

class MaterialsWizard : public QDialog {
    Q_OBJECT
public:
    explicit MaterialsWizard(QWidget* parent = nullptr);
    // "finish" gives the eight texts; "Cancel" eight empty texts.
    WizardTexts ask();
    QLineEdit* field(int index) const { return fields_[static_cast<size_t>(index)]; }
    QPushButton* button(const QString& text) const;
    int page() const;

private:
    void show_page(int page);
    QStackedWidget* pages_;
    std::array<QLineEdit*, 8> fields_{};
    QPushButton* previous_;
    QPushButton* next_;
    QPushButton* finish_;
    QPushButton* cancel_;
    bool finished_ = false;
};

class MaterialsEditor : public QDialog {
    Q_OBJECT
public:
    // Reads its own copy of precios.csv once.
    MaterialsEditor(Document& doc, Messages& messages, QWidget* parent = nullptr);
    void set_dialogs(AddingItemsDialog* adding, MaterialsWizard* wizard);

    Grid& table() { return table_; }
    qt::GridView* view() const { return view_; }
    bool changed() const { return changed_; }
    QPushButton* button(const QString& text) const;

    void add_item();
    void delete_item();

public slots:
    // Closing: a changed list asks before it is written.
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void show_table();
    void place_buttons();
    Document& doc_;
    Messages& messages_;
    Grid table_;
    qt::GridView* view_;
    QWidget* bar_;
    QPushButton* add_;
    QPushButton* delete_;
    QPushButton* ok_;
    AddingItemsDialog* adding_ = nullptr;
    MaterialsWizard* wizard_ = nullptr;
    bool changed_ = false;
    int selected_ = -1;
};

// The merged header cells of the price list.
void merge_price_headers(Grid& precios);

}  // namespace velmora::budget
