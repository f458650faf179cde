// Marulet: designs gravity sewer networks.
#include "common/folders.h"
#include "common/provision.h"
#include "marulet/engine/reference_files.h"
#include "marulet/ui/main_window.h"
#include "qtcommon/qt_ports.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Marulet");
    const std::filesystem::path exe_dir = QCoreApplication::applicationDirPath().toStdString();
    const velmora::Folders folders = velmora::Folders::from_environment();
    const std::filesystem::path database = folders.database_dir(velmora::Program::Marulet);
    const std::filesystem::path shipped = velmora::shipped_data_dir("marulet", exe_dir);
    if (!shipped.empty()) {
        velmora::provision_reference_files(shipped, database);
        velmora::provision_reference_files(shipped / "help", database);
    }

    velmora::qt::QtMessages messages(nullptr, "Marulet");
    velmora::qt::QtFileDialogs dialogs(nullptr);
    velmora::qt::QtClipboard clipboard;

    velmora::marulet::Document doc;
    try {
        velmora::marulet::start_up(doc, database);
    } catch (const std::exception& e) {
        messages.error(e.what());
    }

    velmora::marulet::ui::Session session;
    session.messages = &messages;
    session.dialogs = &dialogs;
    session.clipboard = &clipboard;
    session.database_dir = database;
    session.projects_dir = folders.projects_dir(velmora::Program::Marulet);
    session.open_help = [](const QString& file) { QDesktopServices::openUrl(QUrl::fromLocalFile(file)); };

    auto* window = new velmora::marulet::ui::MainWindow(std::move(doc), session);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->showMaximized();
    return app.exec();
}
