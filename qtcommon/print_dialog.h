#pragma once
// The "Printing" window shown before printing: which printer, and whether to
// print the drawings, the table or both. It only records the answer; each
// program's print command reads it. Created once per program, it keeps the
// printer and the choice between uses. Closing it by the title bar counts as
// "Cancel". "Print to PDF" is always offered after the installed printers (it
// is the only entry when none is installed); choosing it asks for the file
// name on "OK".
#include <QDialog>
#include <QPrinter>

#include <memory>

class QComboBox;
class QRadioButton;

namespace velmora::qt {

class PrintDialog : public QDialog {
    Q_OBJECT
public:
    enum class What { All, Graph, Spreadsheet };

    // graph_caption: "Graph" (Kelvaro, Tosquin) or "Graphs" (Marulet).
    explicit PrintDialog(QWidget* parent, const QString& graph_caption = "Graph");

    // Shows the window modally; true when the answer is "proceed".
    bool ask();
    bool proceed() const { return proceed_; }
    What what() const;
    bool prints_graph() const { return proceed_ && what() != What::Spreadsheet; }
    bool prints_table() const { return proceed_ && what() != What::Graph; }
    // The printer of the choice, set up for the chosen printer or PDF file.
    QPrinter* printer() { return printer_.get(); }
    bool to_pdf() const;
    QString pdf_file() const { return pdf_file_; }

    QComboBox* printer_list() const { return printers_; }
    QRadioButton* all_button() const { return all_; }
    QRadioButton* graph_button() const { return graph_; }
    QRadioButton* spreadsheet_button() const { return sheet_; }

    static QString pdf_entry() { return QStringLiteral("Print to PDF"); }

public slots:
    void accept() override;
    void reject() override;

private:
    void choose_printer(int index);
    void printer_setup();

    QComboBox* printers_;
    QRadioButton* all_;
    QRadioButton* graph_;
    QRadioButton* sheet_;
    std::unique_ptr<QPrinter> printer_;
    QString pdf_file_;
    bool proceed_ = true;
};

}  // namespace velmora::qt
