// Kelvaro: designs branched drinking-water distribution networks.
#include "common/folders.h"
#include "common/provision.h"
#include "kelvaro/engine/options.h"
#include "kelvaro/ui/main_window.h"
#include "qtcommon/qt_ports.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kelvaro");
    const std::filesystem::path exe_dir = QCoreApplication::applicationDirPath().toStdString();
    const velmora::Folders folders = velmora::Folders::from_environment();
    const std::filesystem::path database = folders.database_dir(velmora::Program::Kelvaro);
    const std::filesystem::path shipped = velmora::shipped_data_dir("kelvaro", exe_dir);
    if (!shipped.empty()) {
        velmora::provision_reference_files(shipped, database);
        velmora::provision_reference_files(shipped / "help", database);
    }

    velmora::kelvaro::Document doc;
    velmora::kelvaro::set_folders(doc, folders);

    velmora::qt::QtMessages messages(nullptr, "Kelvaro");
    velmora::qt::QtFileDialogs dialogs(nullptr);
    velmora::qt::QtClipboard clipboard;
    velmora::kelvaro::ui::Session session;
    session.messages = &messages;
    session.dialogs = &dialogs;
    session.clipboard = &clipboard;
    session.open_help = [](const QString& file) { QDesktopServices::openUrl(QUrl::fromLocalFile(file)); };

    auto* window = new velmora::kelvaro::ui::MainWindow(std::move(doc), session);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->showMaximized();
    return app.exec();
}
