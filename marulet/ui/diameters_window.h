#pragma once
// The "Diameters" window: the pipe catalogue, not editable, and "OK".
#include "marulet/engine/document.h"
#include "qtcommon/grid_view.h"

#include <QDialog>

namespace velmora::marulet::ui {

class DiametersWindow : public QDialog {
    Q_OBJECT
public:
    DiametersWindow(Document* doc, QWidget* parent = nullptr);
    void refill();
    qt::GridView* view() const { return view_; }

private:
    Document* doc_;
    qt::GridView* view_;
};

}  // namespace velmora::marulet::ui
