#pragma once
// The launcher's system operations with Qt: HTTP fetch, starting programs
// (with administrator rights through pkexec where it exists), asking windows
// to close by caption, and the network-connection check.
#include "launcher/engine/launcher.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace velmora::launcher {

class QtLauncherSystem : public LauncherSystem {
public:
    // own_window / own_caption: the launcher's window, closed directly when
    // its own caption is asked to close.
    QtLauncherSystem(QWidget* own_window, QString own_caption);
    std::string fetch(const std::string& url) override;
    void start_elevated(const std::filesystem::path& program) override;
    void close_window(const std::string& caption) override;

private:
    QPointer<QWidget> own_window_;
    QString own_caption_;
};

// Starts a program in a normal window without waiting; throws
// std::runtime_error with the system's text when it cannot start.
void start_program(const std::filesystem::path& program);

// True when the system reports a network connection.
bool network_connected();

}  // namespace velmora::launcher
