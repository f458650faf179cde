#include "qtcommon/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::qt {

AboutDialog::AboutDialog(QWidget* parent, const QString& program, const QString& version,
                         const QString& description)
    : QDialog(parent) {
    setWindowTitle("About " + program);
    auto* title = new QLabel("<b>" + program.toHtmlEscaped() + "</b>", this);
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    title->setFont(f);
    auto* ver = new QLabel("Version " + version.toHtmlEscaped(), this);
    auto* text = new QLabel(description, this);
    text->setWordWrap(true);
    auto* suite = new QLabel("Part of the Velmora suite of design tools for rural water and sanitation projects.", this);
    suite->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(ver);
    layout->addWidget(text);
    layout->addWidget(suite);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

}  // namespace velmora::qt
