// Quenby: replaces the updater program beside it with the newer version from
// the update server, showing the progress, then ends.
#include "common/folders.h"
#include "launcher/engine/launcher.h"
#include "quenby/ui/quenby_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quenby");
    auto folders = velmora::Folders::from_environment();
    std::string host = velmora::launcher::read_host_setting(folders.common_root() / "Velmora" / "update_host");
    std::filesystem::path exe_dir = QCoreApplication::applicationDirPath().toStdString();
    velmora::quenby::QuenbyWindow window(QString::fromStdString(host + velmora::launcher::kUpdaterDownloadPath),
                                         exe_dir / velmora::launcher::kUpdaterPath);
    window.show();
    return app.exec();
}
