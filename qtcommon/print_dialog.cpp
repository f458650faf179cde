#include "qtcommon/print_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora::qt {

PrintDialog::PrintDialog(QWidget* parent, const QString& graph_caption)
    : QDialog(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setWindowTitle("Printing");
    setModal(true);

    printers_ = new QComboBox(this);
    printers_->addItems(QPrinterInfo::availablePrinterNames());
    printers_->addItem(pdf_entry());
    QString def = QPrinterInfo::defaultPrinterName();
    int k = def.isEmpty() ? -1 : printers_->findText(def);
    printers_->setCurrentIndex(k >= 0 ? k : 0);
    choose_printer(printers_->currentIndex());
    connect(printers_, &QComboBox::activated, this, &PrintDialog::choose_printer);

    auto* setup = new QPushButton("Printer Setup", this);
    connect(setup, &QPushButton::clicked, this, &PrintDialog::printer_setup);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Printer", this));
    top->addWidget(printers_, 1);
    top->addWidget(setup);

    auto* group = new QGroupBox(this);
    all_ = new QRadioButton("All", group);
    graph_ = new QRadioButton(graph_caption, group);
    sheet_ = new QRadioButton("Spreadsheet", group);
    all_->setChecked(true);
    auto* radios = new QHBoxLayout(group);
    radios->addWidget(all_);
    radios->addWidget(graph_);
    radios->addWidget(sheet_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &PrintDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrintDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(group);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

bool PrintDialog::ask() {
    exec();
    return proceed_;
}

PrintDialog::What PrintDialog::what() const {
    if (graph_->isChecked()) return What::Graph;
    if (sheet_->isChecked()) return What::Spreadsheet;
    return What::All;
}

bool PrintDialog::to_pdf() const { return printers_->currentText() == pdf_entry(); }

void PrintDialog::choose_printer(int index) {
    if (index < 0) return;
    if (to_pdf()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer_->setOutputFormat(QPrinter::NativeFormat);
        printer_->setPrinterName(printers_->itemText(index));
    }
}

void PrintDialog::printer_setup() {
    QPageSetupDialog dialog(printer_.get(), this);
    dialog.exec();
}

void PrintDialog::accept() {
    if (to_pdf()) {
        QString file = QFileDialog::getSaveFileName(this, "Print to PDF", pdf_file_, "PDF files (*.pdf)");
        if (file.isEmpty()) return;  // stay open: no file, no printing
        if (!file.endsWith(".pdf", Qt::CaseInsensitive)) file += ".pdf";
        pdf_file_ = file;
        printer_->setOutputFileName(file);
    }
    proceed_ = true;
    QDialog::accept();
}

// "Cancel", Escape and the title bar's close all come here.
void PrintDialog::reject() {
    proceed_ = false;
    QDialog::reject();
}

}  // namespace velmora::qt
