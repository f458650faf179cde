#include "launcher/ui/launcher_system.h"

#include "qtcommon/close_channel.h"
#include "qtcommon/http_fetch.h"

#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <stdexcept>

namespace velmora::launcher {
namespace {

void start_detached(const QString& program, const QStringList& args, const QString& working_dir) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setWorkingDirectory(working_dir);
    qint64 pid = 0;
    if (!process.startDetached(&pid)) throw std::runtime_error(process.errorString().toStdString());
}

}  // namespace

QtLauncherSystem::QtLauncherSystem(QWidget* own_window, QString own_caption)
    : own_window_(own_window), own_caption_(std::move(own_caption)) {}

std::string QtLauncherSystem::fetch(const std::string& url) {
    QByteArray data = qt::http_fetch(QString::fromStdString(url));
    return data.toStdString();
}

void start_program(const std::filesystem::path& program) {
    QString path = QString::fromStdString(program.string());
    if (!std::filesystem::exists(program))
        throw std::runtime_error("The system cannot find the file specified: " + program.string());
    start_detached(path, {}, QString::fromStdString(program.parent_path().string()));
}

void QtLauncherSystem::start_elevated(const std::filesystem::path& program) {
    if (!std::filesystem::exists(program))
        throw std::runtime_error("The system cannot find the file specified: " + program.string());
    QString pkexec = QStandardPaths::findExecutable("pkexec");
    QString path = QString::fromStdString(program.string());
    QString dir = QString::fromStdString(program.parent_path().string());
    if (pkexec.isEmpty()) start_detached(path, {}, dir);
    else start_detached(pkexec, {path}, dir);
}

void QtLauncherSystem::close_window(const std::string& caption) {
    QString c = QString::fromStdString(caption);
    if (c == own_caption_) {
        // The launcher's own window closes once this check has finished.
        if (own_window_) QTimer::singleShot(0, own_window_, [w = own_window_] { if (w) w->close(); });
        return;
    }
    qt::request_close(c);
}

bool network_connected() {
    if (QNetworkInformation::loadDefaultBackend() && QNetworkInformation::instance() &&
        QNetworkInformation::instance()->supports(QNetworkInformation::Feature::Reachability)) {
        auto r = QNetworkInformation::instance()->reachability();
        if (r != QNetworkInformation::Reachability::Unknown) return r == QNetworkInformation::Reachability::Online;
    }
    // No backend: a running interface other than loopback with an address.
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        auto f = i.flags();
        if ((f & QNetworkInterface::IsUp) && (f & QNetworkInterface::IsRunning) && !(f & QNetworkInterface::IsLoopBack) &&
            !i.addressEntries().isEmpty())
            return true;
    }
    return false;
}

}  // namespace velmora::launcher
