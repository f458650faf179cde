// Sorvik: the updater the launcher starts after the programs to be updated
// were asked to close.
#include "common/folders.h"
#include "launcher/engine/launcher.h"
#include "launcher/ui/sorvik_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velmora Updater");
    auto folders = velmora::Folders::from_environment();
    std::string host = velmora::launcher::read_host_setting(folders.common_root() / "Velmora" / "update_host");
    velmora::launcher::SorvikWindow window(QCoreApplication::applicationDirPath().toStdString(), host);
    window.show();
    return app.exec();
}
