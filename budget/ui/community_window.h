#pragma once
// The "Community contribution" window: the materials that the community
// supplies (aportesm.cst), chosen from the price list.
#include "budget/engine/catalogues.h"
#include "common/ports.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace velmora::budget {

class CommunityWindow : public QDialog {
    Q_OBJECT
public:
    CommunityWindow(std::filesystem::path files_dir, Messages& messages, QWidget* parent = nullptr);

    // Opening: rereads the price list and the community list, then waits.
    void run();
    // The opening step alone (run() calls it before showing the window).
    void prepare();

    QLineEdit* filter() const { return filter_; }
    QListWidget* materials() const { return left_; }
    QListWidget* listed() const { return right_; }
    QPushButton* button(const QString& text) const;
    const CommunityListEditor& editor() const { return editor_; }

    void add_current();
    void remove_current();
    void save_and_exit();

private:
    void fill_left(const QString& filter);
    void fill_right();
    std::filesystem::path files_dir_;
    Messages& messages_;
    CommunityListEditor editor_;
    QLineEdit* filter_;
    QListWidget* left_;
    QListWidget* right_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* save_;
    QPushButton* cancel_;
};

}  // namespace velmora::budget
