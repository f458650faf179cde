// Tosquin, the main pipeline designer.
#include "common/folders.h"
#include "common/provision.h"
#include "qtcommon/close_channel.h"
#include "tosquin/ui/main_window.h"

#include <QApplication>

#include <filesystem>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tosquin");
    const std::filesystem::path exe_dir = QCoreApplication::applicationDirPath().toStdString();
    const auto folders = velmora::Folders::from_environment();
    const auto shipped = velmora::shipped_data_dir("tosquin", exe_dir);
    if (!shipped.empty())
        velmora::provision_reference_files(shipped, folders.database_dir(velmora::Program::Tosquin));

    velmora::tosquin::ui::MainWindow window(folders, shipped / "help" / "Tosquin Help.html");
    velmora::qt::CloseListener listener(&window, velmora::tosquin::ui::kCaption);
    window.showMaximized();
    return QApplication::exec();
}
