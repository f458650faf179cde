#pragma once
// The skilled-labour benefits window "Skilled labor costs" over moe.csv.
#include "budget/engine/catalogues.h"
#include "common/ports.h"

#include <QDialog>

class QPushButton;

namespace velmora::qt {
class GridView;
}

namespace velmora::budget {

inline const char* kBenefitsExplanation =
    "Enter the numer of necessary days (1 day/xdays) to provide one paid day benefit. e.g. to pay the 7th day off, "
    "the worker has to work 5.5 days.";

class BenefitsWindow : public QDialog {
    Q_OBJECT
public:
    // Reads its own copy of moe.csv once and recomputes it.
    BenefitsWindow(Document& doc, Messages& messages, QWidget* parent = nullptr);

    Grid& table() { return table_; }
    qt::GridView* view() const { return view_; }
    bool changed() const { return changed_; }
    QPushButton* button(const QString& text) const;

    void add_row();
    void delete_row();
    void save();

public slots:
    // "Cancel" and the title bar: a changed table asks before closing.
    void reject() override;

private:
    void recompute();
    Document& doc_;
    Messages& messages_;
    Grid table_;
    qt::GridView* view_;
    std::vector<QPushButton*> buttons_;
    bool changed_ = false;
    int selected_ = -1;
};

}  // namespace velmora::budget
