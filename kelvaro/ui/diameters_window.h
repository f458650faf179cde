#pragma once
// "Diameters": the pipe catalogue as loaded when the main window last became
// active. Edits made here are not saved.
#include "kelvaro/engine/document.h"
#include "qtcommon/grid_view.h"

#include <QDialog>

namespace velmora::kelvaro::ui {

class DiametersWindow : public QDialog {
    Q_OBJECT
public:
    DiametersWindow(Document* doc, QWidget* parent);
    qt::GridView* grid_view() const { return view_; }
    void refill();

private:
    Document* doc_;
    qt::GridView* view_;
};

}  // namespace velmora::kelvaro::ui
