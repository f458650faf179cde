#pragma once
// The dialogs of the main pipeline designer: the catalogue ("Diameters"),
// "Working pressure for design", the two predetermined tables and "Options".
// Each is created once with the program and forwards its controls to the
// engine's commands.
#include "tosquin/engine/catalogue.h"
#include "tosquin/engine/document.h"
#include "tosquin/engine/predetermined.h"
#include "tosquin/engine/reference_files.h"

#include "common/ports.h"
#include "qtcommon/grid_view.h"

#include <QDialog>

#include <string>

class QComboBox;
class QLineEdit;
class QListWidget;
class QStackedWidget;
class QLabel;
class QPushButton;

namespace velmora::tosquin::ui {

// "Diameters": the pipe catalogue with its live pressure conversions.
class CatalogueDialog : public QDialog {
    Q_OBJECT
public:
    CatalogueDialog(Document& doc, Messages& messages, QWidget* parent = nullptr);
    // Loads "pipes.csv" and shows the window modally.
    void open_window();
    qt::GridView* grid_view() const { return view_; }
    CatalogueWindow& state() { return window_; }
    QPushButton* ok_button() const { return ok_; }

    void done(int result) override;

private:
    Document& doc_;
    Messages& messages_;
    CatalogueWindow window_;
    qt::GridView* view_;
    QPushButton* ok_;
};

// "Working pressure for design": the percentage of the manufacturer's
// working pressure used as design pressure.
class WorkingPressureDialog : public QDialog {
    Q_OBJECT
public:
    explicit WorkingPressureDialog(QWidget* parent = nullptr);
    int percent() const;
    QLineEdit* edit() const { return edit_; }

private:
    QLineEdit* edit_;
};

class PredeterminedDiametersDialog : public QDialog {
    Q_OBJECT
public:
    PredeterminedDiametersDialog(Document& doc, Messages& messages, QWidget* parent = nullptr);
    void prepare();  // opening: rows, box numbers and drop-down lists
    qt::GridView* grid_view() const { return view_; }
    QPushButton* ok_button() const { return ok_; }

    void accept() override;
    void reject() override;

private:
    Document& doc_;
    Messages& messages_;
    DiameterLists lists_;
    qt::GridView* view_;
    QPushButton* ok_;
};

class PredeterminedSectionsDialog : public QDialog {
    Q_OBJECT
public:
    PredeterminedSectionsDialog(Document& doc, Messages& messages, QWidget* parent = nullptr);
    void prepare();
    qt::GridView* grid_view() const { return view_; }
    QPushButton* ok_button() const { return ok_; }
    QPushButton* clear_button() const { return clear_; }
    // The pop-up menu's two entries, for the selected row.
    void delete_row();
    void insert_row();

    void accept() override;
    void reject() override;

private:
    void cell_selected(int col);
    Document& doc_;
    Messages& messages_;
    qt::GridView* view_;
    QPushButton* ok_;
    QPushButton* clear_;
    std::string prefix_;
};

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(Document& doc, Messages& messages, WorkingPressureDialog& working_pressure, QWidget* parent = nullptr);
    // Fills the pages from the document and shows the window modally.
    void open_window();
    void show_page(int page);
    OptionsWindow& state() { return window_; }

    QListWidget* pages() const { return list_; }
    QComboBox* diameter_unit() const { return diameter_unit_; }
    QComboBox* pressure_unit() const { return pressure_unit_; }
    QComboBox* pressure_box() const { return pressure_box_; }
    QComboBox* diameter_box() const { return diameter_box_; }
    QLineEdit* currency() const { return currency_; }
    qt::GridView* units_view() const { return units_view_; }
    qt::GridView* pressures_view() const { return pressures_view_; }
    qt::GridView* prices_view() const { return prices_view_; }
    QPushButton* load_button() const { return load_; }
    QPushButton* ok_button() const { return ok_; }

    void accept() override;

private:
    void fill_prices();
    void load_from_file();

    Document& doc_;
    Messages& messages_;
    WorkingPressureDialog& working_pressure_;
    OptionsWindow window_;
    bool filling_ = false;
    Grid prices_{2, 4, 1, 0};
    QListWidget* list_;
    QStackedWidget* stack_;
    qt::GridView* units_view_;
    qt::GridView* pressures_view_;
    qt::GridView* prices_view_;
    QComboBox* diameter_unit_;
    QComboBox* pressure_unit_;
    QComboBox* pressure_box_;
    QComboBox* diameter_box_;
    QLineEdit* currency_;
    QPushButton* load_;
    QPushButton* ok_;
};

}  // namespace velmora::tosquin::ui
