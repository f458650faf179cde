// budget: prices a rural water project from the price list, the components
// and their bills of quantities.
#include "budget/ui/main_window.h"
#include "common/folders.h"
#include "common/provision.h"
#include "qtcommon/qt_ports.h"

#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QLocale>
#include <QUrl>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Budget");
    std::filesystem::path exe_dir = QCoreApplication::applicationDirPath().toStdString();
    auto folders = velmora::Folders::from_environment();
    std::filesystem::path shipped = velmora::shipped_data_dir("budget", exe_dir);
    std::filesystem::path files_dir = folders.database_dir(velmora::Program::Budget);
    std::filesystem::path help_dir = velmora::ensure_dir(folders.common_root() / "Velmora" / "Budget" / "Help");
    if (!shipped.empty()) {
        velmora::provision_reference_files(shipped, files_dir);
        velmora::provision_reference_files(shipped / "help", help_dir);
    }

    // Numbers follow the user's separators; other separators than a single
    // character fall back to "." and ",".
    QLocale locale;
    auto single = [](const QString& s, char fallback) {
        return s.size() == 1 && s.at(0).unicode() < 128 ? s.at(0).toLatin1() : fallback;
    };

    velmora::budget::Document doc;
    doc.files_dir = files_dir;
    doc.projects_dir = folders.projects_dir(velmora::Program::Budget);
    doc.decimal_separator = single(locale.decimalPoint(), '.');
    doc.today = locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();

    velmora::qt::QtMessages messages(nullptr, "Budget");
    velmora::qt::QtFileDialogs dialogs(nullptr);
    velmora::budget::Session session;
    session.messages = &messages;
    session.dialogs = &dialogs;
    char group = single(locale.groupSeparator(), ',');
    session.group_separator = group == doc.decimal_separator ? ' ' : group;
    session.open_help = [help_dir] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString((help_dir / "Water Budget Help.html").string())));
    };
    auto* window = new velmora::budget::MainWindow(std::move(doc), session);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->showMaximized();
    return app.exec();
}
