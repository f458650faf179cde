#pragma once
// The "Survey Book" window shared by Kelvaro and Marulet: the survey table in
// one of three views, the length factor and initial elevation boxes, the tool
// buttons (open, save, save as Excel, export) and "OK". Every event goes to
// the terrain::SurveyBook engine; the window only shows what it holds.
//
// The designer creates the window once with its program and opens it for each
// visit with run() (modal, maximised). When the user exports from a view that
// exports, the window closes and then emits survey_exported with the survey
// table and the view it was exported from, so the designer runs its import
// (terrain/survey_import.h). Messages and file dialogs go through the ports
// given to the constructor, so tests can script them.
#include "common/ports.h"
#include "qtcommon/grid_view.h"
#include "terrain/survey_book.h"

#include <QDialog>

#include <functional>

class QAction;
class QHBoxLayout;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace velmora::qt {

class SurveyBookWindow : public QDialog {
    Q_OBJECT
public:
    SurveyBookWindow(terrain::Designer designer, Messages& messages, FileDialogs& dialogs, Clipboard& clipboard,
                     QWidget* parent = nullptr);

    terrain::SurveyBook& book() { return book_; }
    const terrain::SurveyBook& book() const { return book_; }

    // A visit of the designer: the export flags of the previous visit are
    // cleared and the window shows maximised. run() waits until it closes;
    // open_visit() returns at once.
    int run();
    void open_visit();

    // Re-reads the engine's table, boxes and button states (after the
    // designer changed the book directly).
    void refresh();

    GridView* table() const { return table_; }
    QRadioButton* view_button(terrain::SurveyView view) const;
    QLineEdit* length_factor_box() const { return length_factor_; }
    QLineEdit* initial_elevation_box() const { return initial_elevation_; }
    QToolButton* open_button() const { return open_; }
    QToolButton* save_button() const { return save_; }
    // nullptr for Marulet, which has no "Save as Excel".
    QToolButton* save_as_excel_button() const { return save_as_excel_; }
    QToolButton* export_button() const { return export_; }
    QPushButton* ok_button() const { return ok_; }
    // The table's pop-up menu and its "Paste".
    QMenu* paste_menu() const { return paste_menu_; }
    QAction* paste_action() const { return paste_action_; }

signals:
    // After the window closed through the export button from a view that
    // exports: the survey table and the view it was shown in.
    void survey_exported(const velmora::Grid& survey, velmora::terrain::SurveyView view);

public slots:
    // Every way of closing ends here: with unsaved changes the save question
    // is asked first.
    void done(int result) override;

protected:
    // Escape does not close the window: only "OK", the export and the title
    // bar do.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build_top_bar(QHBoxLayout* bar);
    void prepare_visit();
    // Runs an engine command; an error it raises is shown and the table
    // keeps what was written before it. The window then redraws.
    void command(const std::function<void()>& run, bool fit = false);
    void choose_view(terrain::SurveyView view);
    void key_released(int col, int row);
    void paste();
    void export_data();
    // Widens the columns to their headers and cells.
    void fit_columns();
    void update_buttons();

    terrain::SurveyBook book_;
    Messages& messages_;
    FileDialogs& dialogs_;
    Clipboard& clipboard_;

    GridView* table_ = nullptr;
    QRadioButton* views_[3] = {nullptr, nullptr, nullptr};
    QLineEdit* length_factor_ = nullptr;
    QLineEdit* initial_elevation_ = nullptr;
    QToolButton* open_ = nullptr;
    QToolButton* save_ = nullptr;
    QToolButton* save_as_excel_ = nullptr;
    QToolButton* export_ = nullptr;
    QPushButton* ok_ = nullptr;
    QMenu* paste_menu_ = nullptr;
    QAction* paste_action_ = nullptr;
    bool handing_over_ = false;
};

}  // namespace velmora::qt
