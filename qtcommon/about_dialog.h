#pragma once
// The about box of each program: its name, version and a short description.
#include <QDialog>

namespace velmora::qt {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(QWidget* parent, const QString& program, const QString& version, const QString& description);
};

}  // namespace velmora::qt
