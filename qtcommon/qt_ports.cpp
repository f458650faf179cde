#include "qtcommon/qt_ports.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>

namespace velmora::qt {
namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

QtMessages::QtMessages(QWidget* parent, QString app_title) : parent_(parent), title_(std::move(app_title)) {}

void QtMessages::notice(const std::string& text) { QMessageBox::information(parent_, title_, qs(text)); }

void QtMessages::warning(const std::string& title, const std::string& text) {
    QMessageBox::warning(parent_, qs(title), qs(text));
}

Answer QtMessages::question(const std::string& text, const std::string& title) {
    auto b = QMessageBox::question(parent_, qs(title), qs(text), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return b == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer QtMessages::confirm(const std::string& text, const std::string& title) {
    auto b = QMessageBox::warning(parent_, qs(title), qs(text), QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    return b == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

void QtMessages::error(const std::string& text) { QMessageBox::critical(parent_, title_, qs(text)); }

QStringList qt_name_filters(const std::string& filter) {
    QStringList out;
    for (const auto& [desc, patterns] : parse_filter(filter)) {
        QString pats = qs(patterns).replace(';', ' ');
        QString d = qs(desc);
        // Qt reads the patterns from the last parentheses of the entry.
        if (!d.endsWith(')') || !d.contains('(')) d += " (" + pats + ")";
        else d = d.left(d.lastIndexOf('(')).trimmed() + " (" + pats + ")";
        out << d;
    }
    return out;
}

QString filter_suffix(const QString& name_filter) {
    const int open = name_filter.lastIndexOf('(');
    const QString patterns = open >= 0 ? name_filter.mid(open + 1).chopped(name_filter.endsWith(')') ? 1 : 0)
                                       : name_filter;
    const QString first = patterns.section(' ', 0, 0, QString::SectionSkipEmpty);
    if (!first.startsWith("*.")) return {};
    const QString ext = first.mid(2);
    return ext.contains('*') || ext.contains('?') ? QString() : ext;
}

QtFileDialogs::QtFileDialogs(QWidget* parent) : parent_(parent) {}

std::optional<FileChoice> QtFileDialogs::run(const FileDialogRequest& request, bool saving) {
    QFileDialog dialog(parent_, qs(request.title), qs(request.initial_dir.string()));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters = qt_name_filters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        int k = std::clamp(request.filter_index, 1, static_cast<int>(filters.size())) - 1;
        dialog.selectNameFilter(filters[k]);
    }
    if (!request.default_ext.empty()) {
        dialog.setDefaultSuffix(qs(request.default_ext));
        // The default extension follows the filter the user picks ("*.csv"
        // gives "csv"); a filter for any file keeps the last one.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            const QString suffix = filter_suffix(filter);
            if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
        });
    }
    if (!request.file_name.empty()) dialog.selectFile(qs(request.file_name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileChoice choice;
    choice.path = dialog.selectedFiles().first().toStdString();
    choice.filter_index = std::max(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return choice;
}

std::optional<FileChoice> QtFileDialogs::open(const FileDialogRequest& request) { return run(request, false); }
std::optional<FileChoice> QtFileDialogs::save(const FileDialogRequest& request) { return run(request, true); }

std::string QtClipboard::text() const { return QApplication::clipboard()->text().toStdString(); }
void QtClipboard::set_text(const std::string& text) { QApplication::clipboard()->setText(qs(text)); }

QtProgress::QtProgress(QProgressBar* bar, std::function<void(const QString&)> show_status)
    : bar_(bar), show_status_(std::move(show_status)) {}

void QtProgress::set_position(int percent) {
    if (bar_) bar_->setValue(std::clamp(percent, 0, 100));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtProgress::set_status(const std::string& text) {
    if (show_status_) show_status_(qs(text));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace velmora::qt
