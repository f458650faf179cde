// Velmora_Apps: the launcher of the suite.
#include "common/folders.h"
#include "launcher/ui/launcher_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velmora Applications");
    auto folders = velmora::Folders::from_environment();
    std::filesystem::path data_dir = velmora::ensure_dir(folders.common_root() / "Velmora");
    std::filesystem::path exe_dir = QCoreApplication::applicationDirPath().toStdString();
    velmora::launcher::LauncherWindow window(exe_dir, data_dir);
    window.show();
    return app.exec();
}
